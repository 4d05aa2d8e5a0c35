#pragma once
// Entry names: how a stored path is encoded in an archive and read back, and which names are
// safe to extract.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln::archive {

struct EncodedName {
  std::string bytes;  // as written to the archive
  bool utf8 = false;  // general-purpose flag bit 11
  std::string extra;  // the 0x554E field, header included
};

// The OEM code page when the name has an exact form there (bit 11 clear), else UTF-8
// (bit 11 set). An OEM name with non-ASCII characters also carries the Unicode Path field
// (0x7075); with `unicode_extra` every name also goes into a 0x554E field.
EncodedName encode_entry_name(std::string_view utf8, bool unicode_extra);

// The data of a 0x554E field: "NUCX", the UTF-16 length, the UTF-16LE name. nullopt unless
// the field is exactly that.
std::optional<std::string> decode_unicode_name_extra(std::string_view data);

std::string decode_stored_name(std::string_view bytes, bool utf8);
std::string sanitise_utf8(std::string_view bytes);
// "\" is a separator too; done after decoding, because in some code pages 0x5C is the second
// byte of a character.
std::string normalise_separators(std::string name);

// The parts of a name that is safe to write below a base directory: not absolute, no drive
// letter or other colon, no "..", no control characters. Empty and "." parts are dropped.
// nullopt when the name is unsafe.
std::optional<std::vector<std::string>> safe_path_parts(std::string_view name);

// The name as the events show it: every "/" turned into "\".
std::string display_name(std::string_view name);

}  // namespace qln::archive
