#include "settings/ini_text.h"

#include "platform/codepage.h"

namespace qln {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::string decode_utf16le(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    units.push_back(char16_t(static_cast<unsigned char>(bytes[i]) |
                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return utf16_to_utf8(units);
}

std::string encode_utf16le(std::string_view utf8) {
  std::string out(kUtf16LeBom);
  for (char16_t c : utf8_to_utf16(utf8)) {
    out.push_back(char(c & 0xFF));
    out.push_back(char(c >> 8));
  }
  return out;
}

}  // namespace

std::string decode_ini_bytes(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) {
    // Through UTF-16 so that malformed bytes become U+FFFD here, not somewhere later.
    return utf16_to_utf8(utf8_to_utf16(bytes.substr(kUtf8Bom.size())));
  }
  if (bytes.starts_with(kUtf16LeBom)) return decode_utf16le(bytes.substr(kUtf16LeBom.size()));
  return ansi_to_utf8(bytes);
}

std::string encode_ini_text(std::string_view utf8) {
  if (auto ansi = utf8_to_ansi(utf8)) return *ansi;
  return encode_utf16le(utf8);
}

std::string_view trim_blanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

IniLine parse_ini_line(std::string_view line) {
  IniLine out;
  out.text = std::string(line);
  std::string_view t = trim_blanks(line);
  if (t.empty() || t.front() == ';') return out;
  if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
    out.kind = IniLine::Kind::kSection;
    out.name = std::string(trim_blanks(t.substr(1, t.size() - 2)));
    return out;
  }
  auto eq = t.find('=');
  if (eq == std::string_view::npos) return out;
  std::string_view name = trim_blanks(t.substr(0, eq));
  if (name.empty()) return out;
  out.kind = IniLine::Kind::kEntry;
  out.name = std::string(name);
  out.value = std::string(trim_blanks(t.substr(eq + 1)));
  return out;
}

std::vector<IniLine> parse_ini_lines(std::string_view utf8) {
  std::vector<IniLine> lines;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = utf8.size();
    lines.push_back(parse_ini_line(utf8.substr(start, end - start)));
    start = end;
    if (start < utf8.size() && utf8[start] == '\r') ++start;
    if (start < utf8.size() && utf8[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace qln
