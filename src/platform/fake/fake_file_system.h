#pragma once
// An in-memory file system for unit tests: paths are compared exactly, folders are implied by
// the files in them or created explicitly, and a path can be made to refuse writes.
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace qln {

class FakeFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> read_only;  // writes to these paths fail

  bool file_exists(const std::string& p) override { return files.count(p) > 0; }
  bool directory_exists(const std::string& p) override;
  std::optional<std::string> read_file(const std::string& p) override;
  bool write_file_atomic(const std::string& p, const std::string& data) override;
  bool write_file(const std::string& p, const std::string& data) override;
  bool delete_file(const std::string& p) override { return files.erase(p) > 0; }
  bool move_file(const std::string& from, const std::string& to) override;
  bool create_directory(const std::string& p) override;
  std::vector<DirEntry> list_directory(const std::string& p) override;
};

}  // namespace qln
