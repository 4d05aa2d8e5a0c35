#include "backup/progress_form_win.h"

namespace qln {

using ui::Rect;

TfrmProgress::TfrmProgress(ui::WinApplication& app)
    : ui::Window(app, "frmProgress", "  Quillane-Backup-Status"),
      bg_image(add_control<ui::Picture>("bg_image", Rect{0, 0, 312, 128})),
      titel_label(add_control<ui::Label>("titel_label", "Status", Rect{6, -1})),
      lbFile(add_control<ui::Label>("lbFile", "none", Rect{8, 24})),
      gOverall(add_control<ui::ProgressBar>("gOverall", Rect{8, 50, 297, 17})),
      gFile(add_control<ui::ProgressBar>("gFile", Rect{8, 89, 297, 17})),
      // In the free corner above the bars, where a close box would sit.
      JvSpeedButton4(add_control<ui::SpeedButton>("JvSpeedButton4", "X", Rect{289, 3, 18, 16})) {
  titel_label.set_font({"Georgia", 12, true, true});
  JvSpeedButton4.set_hint("Cancel");
  JvSpeedButton4.on_click = [this] { JvSpeedButton4Click(); };
}

void TfrmProgress::FormCreate() {
  const Rect& bg = bg_image.bounds();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  set_bounds({work.left + (work.right - work.left - bg.width) / 2,
              work.top + (work.bottom - work.top - bg.height) / 2, bg.width, bg.height});
  ui::WindowStyle style;
  style.ex_style = WS_EX_TOOLWINDOW;
  style.color = RGB(255, 255, 255);
  create_window(style);
  bg_image.send_to_back();
  // The system owns a region once it is set.
  SetWindowRgn(hwnd(), CreateRoundRectRgn(0, 0, bg.width + 1, bg.height + 1, 5, 5), TRUE);
}

void TfrmProgress::FormShow() { bCancel = false; }

void TfrmProgress::JvSpeedButton4Click() { bCancel = true; }

LRESULT TfrmProgress::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) dispatch([this] { FormShow(); });
      break;
    default:
      break;
  }
  return default_handling(msg, wp, lp);
}

}  // namespace qln
