#pragma once
// Removing a whole folder so that the user can still get it back.
#include <memory>
#include <string>

namespace qln {

class RecycleBin {
 public:
  virtual ~RecycleBin() = default;
  // Moves `folder` (no trailing backslash) with everything in it to the recycle bin, without
  // questions or progress. False when something stayed behind.
  virtual bool move_to_recycle_bin(const std::string& folder) = 0;
};

// The shell's recycle bin (Windows build only).
std::unique_ptr<RecycleBin> make_shell_recycle_bin();

}  // namespace qln
