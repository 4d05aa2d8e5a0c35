#pragma once
// Every conversion between the program's UTF-8 strings and other encodings happens here.
// ANSI and OEM are the system's code pages (on the native build, Windows-1252 and 850).
#include <optional>
#include <string>
#include <string_view>

namespace qln {

std::u16string utf8_to_utf16(std::string_view utf8);   // invalid bytes become U+FFFD
std::string utf16_to_utf8(std::u16string_view utf16);  // lone surrogates become U+FFFD

std::string ansi_to_utf8(std::string_view bytes);
// nullopt when a character has no exact form in the ANSI code page.
std::optional<std::string> utf8_to_ansi(std::string_view utf8);

std::string oem_to_utf8(std::string_view bytes);
// nullopt when a character has no exact form in the OEM code page.
std::optional<std::string> utf8_to_oem(std::string_view utf8);

// Case-insensitive comparison as names of sections, keys and components need it: ASCII
// letters and the Latin-1 letters fold, everything else compares exactly.
bool equals_ignore_case(std::string_view a, std::string_view b);
std::string to_lower(std::string_view utf8);

}  // namespace qln
