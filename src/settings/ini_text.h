#pragma once
// The text layer of the INI files: bytes on disk to lines and back. Files are read in the ANSI
// code page unless a byte-order mark says UTF-8 or UTF-16LE, so files of older versions and
// hand-edited ones stay readable.
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// The file's bytes as UTF-8 text (ANSI, or UTF-8 / UTF-16LE after their byte-order marks).
std::string decode_ini_bytes(std::string_view bytes);

// The bytes to store: ANSI when every character has an exact ANSI form, so the platform's own
// profile functions and older versions read it unchanged; otherwise UTF-16LE with byte-order
// mark, which keeps paths the ANSI code page cannot hold.
std::string encode_ini_text(std::string_view utf8);

// Characters up to and including the space count as blanks.
std::string_view trim_blanks(std::string_view text);

struct IniLine {
  enum class Kind { kOther, kSection, kEntry };  // other: empty, ";" comment or stray text
  Kind kind = Kind::kOther;
  std::string text;   // the line as read; written back unchanged
  std::string name;   // section name or key, without blanks at its ends
  std::string value;  // entry: everything after the first "=", without blanks at its ends
};

// One line, classified: "[name]" opens a section, "name=value" is an entry (split at the first
// "="), a line that begins with ";" is a comment.
IniLine parse_ini_line(std::string_view line);

// Lines end at CR LF, LF or CR.
std::vector<IniLine> parse_ini_lines(std::string_view utf8);

}  // namespace qln
