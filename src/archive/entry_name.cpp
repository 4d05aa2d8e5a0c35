#include "archive/entry_name.h"

#include <zlib.h>

#include <algorithm>

#include "archive/zip_format.h"
#include "platform/codepage.h"

namespace qln::archive {

EncodedName encode_entry_name(std::string_view utf8, bool unicode_extra) {
  EncodedName out;
  // Tested against the OEM code page itself: a name that survives the ANSI code page can
  // still lack an OEM form (for example "€") and would reach other tools garbled.
  if (auto oem = utf8_to_oem(utf8)) {
    out.bytes = std::move(*oem);
  } else {
    out.bytes = std::string(utf8);
    out.utf8 = true;
  }
  // Tools that do not know the OEM code page of the writer (Info-ZIP and 7-Zip outside
  // Windows) find the name in the Unicode Path field, which names the bytes it belongs to.
  const bool ascii = std::all_of(utf8.begin(), utf8.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!out.utf8 && !ascii && utf8.size() + 5 <= zip::kMax16) {
    zip::put16(out.extra, zip::kExtraUnicodePath);
    zip::put16(out.extra, static_cast<std::uint32_t>(utf8.size() + 5));
    out.extra.push_back(1);
    zip::put32(out.extra,
               static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(out.bytes.data()),
                                                static_cast<uInt>(out.bytes.size()))));
    out.extra += utf8;
  }
  if (unicode_extra) {
    const std::u16string wide = utf8_to_utf16(utf8);
    std::string data = zip::kUnicodeNameTag;
    zip::put32(data, static_cast<std::uint32_t>(wide.size()));
    for (const char16_t c : wide) zip::put16(data, c);
    if (data.size() <= zip::kMax16) {
      zip::put16(out.extra, zip::kExtraUnicodeName);
      zip::put16(out.extra, static_cast<std::uint32_t>(data.size()));
      out.extra += data;
    }
  }
  return out;
}

std::optional<std::string> decode_unicode_name_extra(std::string_view data) {
  if (data.size() < 8 || data.substr(0, 4) != zip::kUnicodeNameTag) return std::nullopt;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const std::uint64_t units = zip::get32(p + 4);
  if (units * 2 + 8 != data.size() || units == 0) return std::nullopt;
  std::u16string wide;
  wide.reserve(static_cast<std::size_t>(units));
  for (std::size_t i = 0; i < units; ++i) wide.push_back(zip::get16(p + 8 + 2 * i));
  return utf16_to_utf8(wide);
}

std::string sanitise_utf8(std::string_view bytes) { return utf16_to_utf8(utf8_to_utf16(bytes)); }

std::string decode_stored_name(std::string_view bytes, bool utf8) {
  return utf8 ? sanitise_utf8(bytes) : oem_to_utf8(bytes);
}

std::string normalise_separators(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

std::optional<std::vector<std::string>> safe_path_parts(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return std::nullopt;
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= name.size()) {
    std::size_t end = name.find_first_of("/\\", at);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view part = name.substr(at, end - at);
    at = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::nullopt;
    for (const char c : part) {
      if (static_cast<unsigned char>(c) < 0x20 || c == ':') return std::nullopt;
    }
    // Windows drops trailing dots and blanks, so "..." or ".. " would climb as well.
    if (part.find_first_not_of(". ") == std::string_view::npos) return std::nullopt;
    parts.emplace_back(part);
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

std::string display_name(std::string_view name) {
  std::string out(name);
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

}  // namespace qln::archive
