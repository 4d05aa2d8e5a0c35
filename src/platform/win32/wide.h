#pragma once
// UTF-16 exists only at the Win32 call: these two adapt the portable conversions to wchar_t.
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace qln::win32 {

inline std::wstring wide(std::string_view utf8) {
  std::u16string w = utf8_to_utf16(utf8);
  return std::wstring(w.begin(), w.end());
}

inline std::string narrow(std::wstring_view w) {
  return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(w.data()), w.size()));
}

}  // namespace qln::win32
