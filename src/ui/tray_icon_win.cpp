#include "ui/tray_icon_win.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace qln::ui {

TrayIcon::TrayIcon(std::string name, std::string hint)
    : Component(std::move(name)), hint_(std::move(hint)) {
  publish_other("Visible");
}

TrayIcon::~TrayIcon() { set_visible(false); }

void TrayIcon::attach(HWND owner, HICON icon) {
  owner_ = owner;
  icon_ = icon;
}

NOTIFYICONDATAW TrayIcon::data() const {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = owner_;
  d.uID = 1;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  d.uCallbackMessage = kCallbackMessage;
  d.hIcon = icon_;
  std::wstring tip = win32::wide(hint_);
  wcsncpy(d.szTip, tip.c_str(), std::size(d.szTip) - 1);
  return d;
}

void TrayIcon::set_visible(bool visible) {
  if (visible == visible_ || !owner_) return;
  NOTIFYICONDATAW d = data();
  Shell_NotifyIconW(visible ? NIM_ADD : NIM_DELETE, &d);
  visible_ = visible;
}

}  // namespace qln::ui
