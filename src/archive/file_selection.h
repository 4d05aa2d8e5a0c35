#pragma once
// Which files and directories below a base directory an add run takes in.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_file_system.h"

namespace qln::archive {

struct SelectedItem {
  std::string path;      // full path
  std::string relative;  // below the base, "/" between parts, directories end with "/"
  bool is_directory = false;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::optional<std::uint32_t> dos_time;
};

struct SelectionRules {
  std::string file_mask = "*.*";
  std::uint32_t search_attr = 0x28BF;
  std::string exclusion_mask;
  std::vector<std::string> excluded_paths;  // full paths never taken in (the archive itself)
  bool recurse = true;
};

// Depth first, names in byte order within a directory, each directory before its contents.
// Links and junctions are neither taken in nor entered.
std::vector<SelectedItem> select_files(ArchiveFileSystem& fs, const std::string& base,
                                       const SelectionRules& rules);

}  // namespace qln::archive
