#include "client/paths.h"

namespace qln::client {

std::string CheckPfadEnd(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

std::string_view name_of(std::string_view path) {
  auto cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string folder_of(std::string_view file_path) {
  auto cut = file_path.find_last_of("\\/:");
  if (cut == std::string_view::npos) return {};
  std::string_view folder = file_path.substr(0, cut + 1);
  bool drive_root = folder.size() >= 2 && folder[folder.size() - 2] == ':';
  if (!drive_root && (folder.back() == '\\' || folder.back() == '/') && folder.size() > 1)
    folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace qln::client
