#include "archive/archiver_error.h"

#include <cstdio>

namespace qln::archive {

std::string archiver_message(const NativeErrorText& e, std::string_view file,
                             std::string_view detail) {
  std::string text = format_message(e.text, file);
  if (!detail.empty()) text += " (" + std::string(detail) + ")";
  char number[16];
  std::snprintf(number, sizeof number, "%5d", static_cast<int>(e.number));
  std::string padded = number;
  for (char& c : padded) {
    if (c == ' ') c = '0';
  }
  return "Archiver: " + text + " - Native error: " + padded;
}

}  // namespace qln::archive
