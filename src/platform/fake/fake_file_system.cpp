#include "platform/fake/fake_file_system.h"

namespace qln {
namespace {

std::string with_separator(std::string p) {
  if (!p.empty() && p.back() != '\\' && p.back() != '/') p += '\\';
  return p;
}

}  // namespace

bool FakeFileSystem::directory_exists(const std::string& p) {
  std::string dir = with_separator(p);
  if (directories.count(p) || directories.count(dir)) return true;
  for (const auto& [name, _] : files)
    if (name.rfind(dir, 0) == 0) return true;
  return false;
}

std::optional<std::string> FakeFileSystem::read_file(const std::string& p) {
  auto it = files.find(p);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeFileSystem::write_file_atomic(const std::string& p, const std::string& data) {
  return write_file(p, data);
}

bool FakeFileSystem::write_file(const std::string& p, const std::string& data) {
  if (read_only.count(p)) return false;
  files[p] = data;
  return true;
}

bool FakeFileSystem::move_file(const std::string& from, const std::string& to) {
  auto it = files.find(from);
  if (it == files.end() || files.count(to) || read_only.count(to)) return false;
  files[to] = it->second;
  files.erase(it);
  return true;
}

bool FakeFileSystem::create_directory(const std::string& p) {
  if (directory_exists(p)) return false;
  directories.insert(with_separator(p));
  return true;
}

std::vector<DirEntry> FakeFileSystem::list_directory(const std::string& p) {
  std::string dir = with_separator(p);
  std::vector<DirEntry> out;
  std::set<std::string> seen;
  auto add = [&](const std::string& full, bool is_file, std::size_t size) {
    if (full.rfind(dir, 0) != 0 || full.size() == dir.size()) return;
    std::string rest = full.substr(dir.size());
    auto sep = rest.find_first_of("\\/");
    bool nested = sep != std::string::npos;
    std::string name = nested ? rest.substr(0, sep) : rest;
    if (name.empty() || !seen.insert(name).second) return;
    out.push_back({name, nested || !is_file, nested ? 0 : size});
  };
  for (const auto& [name, data] : files) add(name, true, data.size());
  for (const auto& d : directories) add(d, false, 0);
  return out;
}

}  // namespace qln
