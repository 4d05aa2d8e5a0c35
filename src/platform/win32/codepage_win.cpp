// The system's own ANSI and OEM code pages (a German Windows: 1252 and 850).
#include <windows.h>

#include "platform/codepage.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

std::string decode(UINT cp, std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(cp, 0, bytes.data(), int(bytes.size()), w.data(), n);
  return win32::narrow(w);
}

std::optional<std::string> encode(UINT cp, std::string_view utf8) {
  if (cp == CP_UTF8) return std::string(utf8);
  std::wstring w = win32::wide(utf8);
  if (w.empty()) return std::string();
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), nullptr, 0,
                              nullptr, &lossy);
  std::string out(n, '\0');
  WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), out.data(), n, nullptr,
                      &lossy);
  if (lossy) return std::nullopt;
  return out;
}

}  // namespace

std::string ansi_to_utf8(std::string_view bytes) { return decode(GetACP(), bytes); }
std::optional<std::string> utf8_to_ansi(std::string_view utf8) { return encode(GetACP(), utf8); }
std::string oem_to_utf8(std::string_view bytes) { return decode(GetOEMCP(), bytes); }
std::optional<std::string> utf8_to_oem(std::string_view utf8) { return encode(GetOEMCP(), utf8); }

}  // namespace qln
