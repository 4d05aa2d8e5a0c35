#pragma once
// A font as the designs name it (face, pixel height, style), realised once as an HFONT.
#include <windows.h>

#include <string>

#include "platform/win32/handle.h"

namespace qln::ui {

struct FontSpec {
  std::string face = "Georgia";
  int height = 11;  // character height in pixels
  bool bold = false, italic = false, underline = false;
  int escapement = 0;  // tenths of a degree; 900 turns the text upwards
};

win32::GdiObject<HFONT> make_font(const FontSpec& spec);

}  // namespace qln::ui
