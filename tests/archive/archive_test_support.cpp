#include "archive_test_support.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "archive/archiver.h"

namespace qln::archive::testing {

void backup_with(Archiver& a, const std::string& zip, const fs::path& dir) {
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmCreate);
  a.BaseDir = path_utf8(dir);
  a.AddFiles("*.*", 0x28BF, "");
  a.CloseArchive();
}

void restore_with(Archiver& a, const std::string& zip, const fs::path& dir) {
  a.FileName = zip;
  a.OpenArchive();
  a.BaseDir = path_utf8(dir);
  a.ExtractFiles("*.*", 0x28BF, "");
  a.CloseArchive();
}

fs::path utf8_path(std::string_view utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string path_utf8(const fs::path& p) {
  const std::u8string s = p.u8string();
  return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path = fs::temp_directory_path() /
         ("qln-archive-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path);
}

TempDir::~TempDir() {
  fs::path root = path;
  std::error_code ec;
#ifdef _WIN32
  // Deep trees need the long-path form, and read-only files resist deletion there.
  root = fs::path(L"\\\\?\\" + fs::absolute(path).wstring());
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
  }
#endif
  fs::remove_all(root, ec);
}

void write_file(const fs::path& p, std::string_view data) {
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> out;
  for (auto& e : fs::recursive_directory_iterator(root)) {
    const std::u8string g = fs::relative(e.path(), root).generic_u8string();
    const std::string rel(reinterpret_cast<const char*>(g.data()), g.size());
    out[rel] = e.is_directory() ? "<dir>" : read_file(e.path());
  }
  return out;
}

::testing::AssertionResult same_tree(const fs::path& expected, const fs::path& actual) {
  const auto a = snapshot(expected), b = snapshot(actual);
  std::string diff;
  for (const auto& [k, v] : a) {
    const auto it = b.find(k);
    if (it == b.end())
      diff += "\n  missing: " + k;
    else if (it->second != v)
      diff += "\n  differs: " + k;
  }
  for (const auto& [k, v] : b) {
    if (!a.count(k)) diff += "\n  extra: " + k;
  }
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << path_utf8(actual) << " against " << path_utf8(expected) << diff;
}

int run(const std::string& command) {
  const int rc = std::system(command.c_str());
#ifdef _WIN32
  return rc;
#else
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
#endif
}

std::string quote(const fs::path& p) { return "'" + path_utf8(p) + "'"; }

}  // namespace qln::archive::testing
