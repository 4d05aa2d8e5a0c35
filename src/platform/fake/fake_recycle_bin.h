#pragma once
// A recycle bin that only records what it was given.
#include <string>
#include <vector>

#include "platform/recycle_bin.h"

namespace qln {

class FakeRecycleBin final : public RecycleBin {
 public:
  std::vector<std::string> recycled;
  bool result = true;
  bool move_to_recycle_bin(const std::string& folder) override;
};

}  // namespace qln
