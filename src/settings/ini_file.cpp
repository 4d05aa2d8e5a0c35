#include "settings/ini_file.h"

#include <algorithm>
#include <charconv>

#include "platform/codepage.h"
#include "platform/error.h"
#include "settings/ini_text.h"

namespace qln {
namespace {

using Kind = IniLine::Kind;

struct SectionRange {
  std::size_t header = 0;  // index of the "[name]" line
  std::size_t end = 0;     // one past its last line
};

// The first occurrence of the section; the lines under a repeated header belong to nobody.
std::optional<SectionRange> find_section(const std::vector<IniLine>& lines,
                                         std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != Kind::kSection || !equals_ignore_case(lines[i].name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != Kind::kSection) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

const IniLine* find_entry(const std::vector<IniLine>& lines, std::string_view section,
                          std::string_view key) {
  auto range = find_section(lines, section);
  if (!range) return nullptr;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (lines[i].kind == Kind::kEntry && equals_ignore_case(lines[i].name, key)) return &lines[i];
  return nullptr;
}

std::string cut_to_max_length(std::string value) {
  if (value.size() <= IniFile::kMaxValueLength) return value;  // bytes >= UTF-16 units
  std::u16string units = utf8_to_utf16(value);
  if (units.size() <= IniFile::kMaxValueLength) return value;
  std::size_t n = IniFile::kMaxValueLength;
  if (units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;  // never half a surrogate pair
  units.resize(n);
  return utf16_to_utf8(units);
}

bool has_line_break(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::optional<int> parse_ini_integer(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits = text.substr(2);
    unsigned long long v = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || end != digits.data() + digits.size() || v > 0xFFFFFFFFull)
      return std::nullopt;
    return static_cast<int>(static_cast<unsigned int>(v));  // 0xFFFFFFFF reads as -1
  }
  if (text.starts_with('+')) text.remove_prefix(1);
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

IniFile::IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

namespace {

std::vector<IniLine> load(FileSystem& fs, const std::string& path) {
  auto bytes = fs.read_file(path);
  if (!bytes) return {};
  return parse_ini_lines(decode_ini_bytes(*bytes));
}

// For a write: a file that exists but cannot be read must not be replaced by one that holds
// only the new key.
std::vector<IniLine> load_for_change(FileSystem& fs, const std::string& path) {
  auto bytes = fs.read_file(path);
  if (!bytes) {
    if (fs.file_exists(path))
      throw Error(format_message("In %s kann nicht geschrieben werden", path));
    return {};
  }
  return parse_ini_lines(decode_ini_bytes(*bytes));
}

void store(FileSystem& fs, const std::string& path, const std::vector<IniLine>& lines) {
  std::string text;
  for (const auto& l : lines) {
    text += l.text;
    text += "\r\n";
  }
  if (!fs.write_file_atomic(path, encode_ini_text(text)))
    throw Error(format_message("In %s kann nicht geschrieben werden", path));
}

}  // namespace

std::optional<std::string> IniFile::find_value(std::string_view section,
                                               std::string_view key) const {
  auto lines = load(fs_, path_);
  const IniLine* e = find_entry(lines, section, key);
  if (!e) return std::nullopt;
  return e->value;
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  auto v = find_value(section, key);
  return v ? cut_to_max_length(std::move(*v)) : std::string(default_value);
}

int IniFile::read_integer(std::string_view section, std::string_view key, int default_value) const {
  auto v = find_value(section, key);
  if (!v) return default_value;
  return parse_ini_integer(cut_to_max_length(std::move(*v))).value_or(default_value);
}

bool IniFile::read_bool(std::string_view section, std::string_view key, bool default_value) const {
  return read_integer(section, key, default_value ? 1 : 0) != 0;
}

bool IniFile::key_present(std::string_view section, std::string_view key) const {
  auto lines = load(fs_, path_);
  return find_entry(lines, section, key) != nullptr;
}

std::vector<IniEntry> IniFile::entries(std::string_view section) const {
  auto lines = load(fs_, path_);
  std::vector<IniEntry> out;
  auto range = find_section(lines, section);
  if (!range) return out;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (lines[i].kind == Kind::kEntry) out.push_back({lines[i].name, lines[i].value});
  return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> out;
  for (auto& e : entries(section)) {
    bool seen = std::any_of(out.begin(), out.end(),
                            [&](const std::string& k) { return equals_ignore_case(k, e.name); });
    if (!seen) out.push_back(std::move(e.name));
  }
  return out;
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> out;
  for (auto& l : load(fs_, path_)) {
    if (l.kind != Kind::kSection) continue;
    bool seen = std::any_of(out.begin(), out.end(),
                            [&](const std::string& s) { return equals_ignore_case(s, l.name); });
    if (!seen) out.push_back(std::move(l.name));
  }
  return out;
}

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(trim_blanks(value));
  IniLine parsed = parse_ini_line(line);
  if (has_line_break(key) || key.find('=') != std::string_view::npos ||
      parsed.kind != Kind::kEntry || parsed.name != trim_blanks(key))
    throw Error(format_message("Ungültiger Schlüssel %s", key));
  if (has_line_break(value)) throw Error(format_message("Ungültiger Wert für %s", key));
  std::string_view section_name = trim_blanks(section);
  if (section_name.empty() || has_line_break(section) ||
      parse_ini_line("[" + std::string(section_name) + "]").name != section_name)
    throw Error(format_message("Ungültiger Abschnitt %s", section));

  auto lines = load_for_change(fs_, path_);
  auto range = find_section(lines, section_name);
  if (!range) {
    lines.push_back(parse_ini_line("[" + std::string(section_name) + "]"));
    lines.push_back(std::move(parsed));
    store(fs_, path_, lines);
    return;
  }
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (lines[i].kind == Kind::kEntry && equals_ignore_case(lines[i].name, parsed.name)) {
      // Replaced in place; the key keeps the spelling the file has.
      lines[i] = parse_ini_line(lines[i].name + "=" + parsed.value);
      store(fs_, path_, lines);
      return;
    }
  }
  // After the section's last non-empty line, so blank lines before the next header stay there.
  std::size_t at = range->end;
  while (at > range->header + 1 && trim_blanks(lines[at - 1].text).empty()) --at;
  lines.insert(lines.begin() + std::ptrdiff_t(at), std::move(parsed));
  store(fs_, path_, lines);
}

void IniFile::write_integer(std::string_view section, std::string_view key, int value) {
  write_string(section, key, std::to_string(value));
}

void IniFile::write_bool(std::string_view section, std::string_view key, bool value) {
  write_string(section, key, value ? "1" : "0");
}

void IniFile::delete_key(std::string_view section, std::string_view key) {
  auto lines = load_for_change(fs_, path_);
  auto range = find_section(lines, section);
  if (!range) return;
  auto first = lines.begin() + std::ptrdiff_t(range->header + 1);
  auto last = lines.begin() + std::ptrdiff_t(range->end);
  auto kept = std::remove_if(first, last, [&](const IniLine& l) {
    return l.kind == Kind::kEntry && equals_ignore_case(l.name, key);
  });
  if (kept == last) return;
  lines.erase(kept, last);
  store(fs_, path_, lines);
}

}  // namespace qln
