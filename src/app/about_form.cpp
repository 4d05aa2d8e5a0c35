#include "app/about_form.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace qln {

using ui::Rect;

namespace {

constexpr char kFlagIcons[] = "https://flagicons.lipis.dev/";
constexpr char kOtherIcons[] = "https://tabler.io/icons";

}  // namespace

void OpenWebPage(const std::string& address) {
  ShellExecuteW(nullptr, L"open", win32::wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Tabout::Tabout(ui::WinApplication& app)
    : ui::Window(app, "about", "About"),
      lab_1(add_control<ui::Label>("lab_1", "Herausgeber:", Rect{8, 8})),
      lab_2(add_control<ui::Label>("lab_2", "Quillane", Rect{8, 24})),
      lab_3(add_control<ui::Label>("lab_3", "Postfach 1", Rect{8, 39})),
      lab_4(add_control<ui::Label>("lab_4", "10115 Berlin", Rect{8, 54})),
      Label1(add_control<ui::Label>("Label1", "Icons by: ", Rect{8, 91})),
      Label2(add_control<ui::LinkLabel>("Label2", kFlagIcons, Rect{8, 112})),
      Label3(add_control<ui::LinkLabel>("Label3", kOtherIcons, Rect{8, 133})),
      close_button(
          add_control<ui::SpeedButton>("close_button", "Schliessen", Rect{80, 197, 103, 20})) {
  ui::FontSpec heading{"Georgia", 12, true, false, true};
  lab_1.set_font(heading);
  Label1.set_font(heading);
  close_button.on_click = [this] { close_buttonClick(); };
  Label2.on_click = [this] { Label2Click(); };
  Label3.on_click = [this] { Label3Click(); };
}

void Tabout::FormCreate() {
  RECT r{0, 0, 281, 222};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST);
  set_bounds({0, 0, r.right - r.left, r.bottom - r.top});
  ui::WindowStyle ws{
      style, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, nullptr, RGB(255, 255, 255), {"Georgia", 12}};
  create_window(ws);
}

void Tabout::ShowModal(ui::Window& owner) {
  RECT o = owner.window_rect();
  const Rect& b = bounds();
  move_to(o.left + (o.right - o.left - b.width) / 2, o.top + (o.bottom - o.top - b.height) / 2);
  modal_ = true;
  EnableWindow(owner.hwnd(), FALSE);
  show();
  MSG msg;
  while (modal_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Key preview: the window sees key presses before its controls.
    if (msg.message == WM_KEYDOWN && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
      WPARAM key = msg.wParam;
      dispatch([this, key] { FormKeyDown(key); });
      if (!modal_) break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
  }
  EnableWindow(owner.hwnd(), TRUE);
  hide();
  SetForegroundWindow(owner.hwnd());
}

void Tabout::close_buttonClick() { modal_ = false; }

void Tabout::FormKeyDown(WPARAM key) {
  if (key == VK_ESCAPE) modal_ = false;
}

void Tabout::Label2Click() { OpenWebPage(kFlagIcons); }

void Tabout::Label3Click() { OpenWebPage(kOtherIcons); }

LRESULT Tabout::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:  // the close box ends the modal loop; the window lives on
      modal_ = false;
      return 0;
    default:
      break;
  }
  return default_handling(msg, wp, lp);
}

}  // namespace qln
