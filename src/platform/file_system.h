#pragma once
// Files as the program logic sees them. Paths are UTF-8; on Windows they are full paths with
// backslashes. The Win32 implementation lives in win32/, a POSIX one serves the native tests
// and an in-memory fake serves unit tests of logic that only needs a few files.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qln {

struct DirEntry {
  std::string name;  // without folder
  bool is_directory = false;
  std::uint64_t size = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool file_exists(const std::string& path) = 0;
  virtual bool directory_exists(const std::string& path) = 0;

  // Whole content, or nullopt when the file is missing or unreadable.
  virtual std::optional<std::string> read_file(const std::string& path) = 0;

  // Replaces the file as a whole: the data goes to a new file beside it, reaches the disk,
  // and only then takes the old file's place. Returns false when the platform refuses.
  virtual bool write_file_atomic(const std::string& path, const std::string& data) = 0;

  // Plain create-or-overwrite, for files nobody reads back if a crash cuts them short.
  virtual bool write_file(const std::string& path, const std::string& data) = 0;

  virtual bool delete_file(const std::string& path) = 0;
  // Fails (false) when `to` exists.
  virtual bool move_file(const std::string& from, const std::string& to) = 0;
  virtual bool create_directory(const std::string& path) = 0;
  virtual std::vector<DirEntry> list_directory(const std::string& path) = 0;
};

}  // namespace qln
