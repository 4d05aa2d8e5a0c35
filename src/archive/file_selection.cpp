#include "archive/file_selection.h"

#include <algorithm>

#include "archive/wildcard.h"

namespace qln::archive {
namespace {

constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchiveRoHiddenSystem = 0x20 | 0x01 | 0x02 | 0x04;

bool excluded(ArchiveFileSystem& fs, const SelectionRules& rules, const std::string& path,
              const std::string& name, const std::string& relative) {
  for (const auto& p : rules.excluded_paths) {
    if (fs.same_path(p, path)) return true;
  }
  if (rules.exclusion_mask.empty()) return false;
  return matches_mask(name, rules.exclusion_mask) || matches_mask(relative, rules.exclusion_mask);
}

bool attributes_selected(std::uint32_t attributes, std::uint32_t mask) {
  const std::uint32_t own = attributes & ~kDirectory;
  if (own == 0) return (mask & kArchiveRoHiddenSystem) == kArchiveRoHiddenSystem;
  return (own & mask) != 0;
}

void walk(ArchiveFileSystem& fs, const std::string& dir, const std::string& prefix,
          const SelectionRules& rules, std::vector<SelectedItem>& out) {
  auto listing = fs.list(dir);
  std::sort(listing.begin(), listing.end(),
            [](const FileInfo& a, const FileInfo& b) { return a.name < b.name; });
  for (const FileInfo& info : listing) {
    if (info.is_link) continue;
    const std::string path = fs.join(dir, info.name);
    const std::string relative = prefix + info.name;
    if (excluded(fs, rules, path, info.name, relative)) continue;
    if (info.is_directory) {
      if (rules.search_attr & kDirectory) {
        out.push_back({path, relative + "/", true, info.attributes | kDirectory, 0, info.dos_time});
      }
      if (rules.recurse) walk(fs, path, relative + "/", rules, out);
    } else if (matches_mask(info.name, rules.file_mask) &&
               attributes_selected(info.attributes, rules.search_attr)) {
      out.push_back({path, relative, false, info.attributes, info.size, info.dos_time});
    }
  }
}

}  // namespace

std::vector<SelectedItem> select_files(ArchiveFileSystem& fs, const std::string& base,
                                       const SelectionRules& rules) {
  std::vector<SelectedItem> out;
  walk(fs, base, "", rules, out);
  return out;
}

}  // namespace qln::archive
