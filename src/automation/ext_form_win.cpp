#include "automation/ext_form_win.h"

namespace qln {

using ui::Rect;

Text_form::Text_form(ui::WinApplication& app)
    : ui::Window(app, "ext_form", "Einstellungen"),
      auto_button(add_control<ui::SpeedButton>("auto_button", "Autobackup starten",
                                               Rect{128, 48, 172, 25})),
      auto_bck_time(
          add_control<ui::TimePicker>("auto_bck_time", Rect{32, 48, 90, 25}, TimeOfDay{9, 11, 12})),
      JvLabel3(add_control<ui::Label>("JvLabel3", "Auto-Backup jeden Tag um:", Rect{40, 28})),
      autoDir_label(
          add_control<ui::LinkLabel>("autoDir_label", "Bitte Verzeichnis wählen", Rect{49, 108})),
      bg_image(add_control<ui::Picture>("bg_image", Rect{0, 0, 450, 202})),
      std_dir_checked(add_control<ui::CheckBox>(
          "std_dir_checked", "Standard-Verzeichnis für Backups verwenden", Rect{32, 93, 295, 17})),
      no_msg_check(add_control<ui::CheckBox>("no_msg_check", "Manuelle Backups ohne Statusmeldung",
                                             Rect{32, 133, 295, 17})),
      close_tb_bck_check(add_control<ui::CheckBox>(
          "close_tb_bck_check", "Quillane nach manuell erstelltem Backup schließen",
          Rect{32, 173, 353, 17})),
      titel_label(add_control<ui::Label>("titel_label", "Einstellungen", Rect{16, 3})) {
  titel_label.set_font({"Georgia", 12, true, true});
  bg_image.paint = [](HDC dc, const RECT& r) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, r.left, r.top + 20, nullptr);
    LineTo(dc, r.right, r.top + 20);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
}

void Text_form::FormCreate(HWND owner) {
  set_bounds({0, 0, bg_image.bounds().width, bg_image.bounds().height});
  ui::WindowStyle style;
  style.ex_style = WS_EX_TOOLWINDOW;
  style.owner = owner;
  create_window(style);
  bg_image.send_to_back();
}

}  // namespace qln
