#pragma once
// An INI file on disk: the settings file, the manifests of the backup sets and the language
// files all go through this one implementation.
//
// Every operation reads the file afresh, so hand edits count at once. Section and key names
// compare without regard to case; when a section header or a key occurs twice, the first one
// counts and the lines under a repeated header are ignored. Every write replaces the whole file
// through FileSystem::write_file_atomic before it returns, so a full disk or a crash never
// leaves a truncated file, and raises Error("In <path> kann nicht geschrieben werden") when
// the platform refuses.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace qln {

struct IniEntry {
  std::string name;
  std::string value;
  bool operator==(const IniEntry&) const = default;
};

class IniFile {
 public:
  // Values come back with at most this many characters, as from the platform's own functions.
  static constexpr std::size_t kMaxValueLength = 2047;

  // Opening reads nothing and creates nothing.
  IniFile(FileSystem& fs, std::string path);

  const std::string& path() const { return path_; }

  // The stored text cut to kMaxValueLength, or the default when the key is missing; a key
  // present with an empty value gives the empty text.
  std::string read_string(std::string_view section, std::string_view key,
                          std::string_view default_value) const;
  // Decimal, or hexadecimal after "0x"; anything else (also a missing key) gives the default.
  int read_integer(std::string_view section, std::string_view key, int default_value) const;
  // Read as an integer: nonzero is true.
  bool read_bool(std::string_view section, std::string_view key, bool default_value) const;

  // Whether the section has a line with that key, also one with an empty value.
  bool key_present(std::string_view section, std::string_view key) const;
  // The section's keys in file order, each once.
  std::vector<std::string> keys(std::string_view section) const;
  // The section names in file order, each once.
  std::vector<std::string> sections() const;
  // The section's entries in file order, values whole (no length cut).
  std::vector<IniEntry> entries(std::string_view section) const;
  // The whole stored value, or nullopt when the key is missing.
  std::optional<std::string> find_value(std::string_view section, std::string_view key) const;

  // An existing key is replaced in place, a new one goes to the end of its section, a new
  // section to the end of the file. A key that a later read would not find as written (one
  // with "=" or a line break, one that would read as a comment or a section) and a value with
  // a line break raise Error instead of being written.
  void write_string(std::string_view section, std::string_view key, std::string_view value);
  void write_integer(std::string_view section, std::string_view key, int value);
  void write_bool(std::string_view section, std::string_view key, bool value);
  // Removes every line of that key in the section; a missing key leaves the file untouched.
  void delete_key(std::string_view section, std::string_view key);

 private:
  FileSystem& fs_;
  std::string path_;
};

// "0x" hexadecimal (up to 32 bits) or decimal with an optional sign, nothing else.
std::optional<int> parse_ini_integer(std::string_view text);

}  // namespace qln
