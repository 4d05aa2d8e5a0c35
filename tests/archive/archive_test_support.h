#pragma once
// Real files in temporary folders for the archive tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace qln::archive {
class Archiver;
}

namespace qln::archive::testing {

namespace fs = std::filesystem;

fs::path utf8_path(std::string_view utf8);
std::string path_utf8(const fs::path& p);

struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  fs::path path;
  std::string str() const { return path_utf8(path); }
  fs::path operator/(std::string_view utf8) const { return path / utf8_path(utf8); }
};

void write_file(const fs::path& p, std::string_view data);
std::string read_file(const fs::path& p);

// Relative path ("/" between parts) to the content, or "<dir>" for a directory.
std::map<std::string, std::string> snapshot(const fs::path& root);

// The two trees hold the same paths with the same contents; names the paths that differ.
::testing::AssertionResult same_tree(const fs::path& expected, const fs::path& actual);

// The backup job's calling order: a new archive `zip` of everything below `dir`.
void backup_with(Archiver& a, const std::string& zip, const fs::path& dir);
// The restore job's calling order: everything in `zip` extracted below `dir`.
void restore_with(Archiver& a, const std::string& zip, const fs::path& dir);

// Runs a shell command and returns its exit code.
int run(const std::string& command);
std::string quote(const fs::path& p);

}  // namespace qln::archive::testing
