#include "ui/font_win.h"

#include "platform/win32/wide.h"

namespace qln::ui {

win32::GdiObject<HFONT> make_font(const FontSpec& spec) {
  LOGFONTW lf{};
  lf.lfHeight = -spec.height;
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = spec.italic;
  lf.lfUnderline = spec.underline;
  lf.lfEscapement = lf.lfOrientation = spec.escapement;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  std::wstring face = win32::wide(spec.face);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return win32::GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

}  // namespace qln::ui
