#pragma once
// The notification-area icon. Clicks arrive at the owner window as kCallbackMessage.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/component.h"

namespace qln::ui {

class TrayIcon : public Component {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 1;

  TrayIcon(std::string name, std::string hint);
  ~TrayIcon() override;

  void attach(HWND owner, HICON icon);
  bool visible() const { return visible_; }
  void set_visible(bool visible);

 private:
  NOTIFYICONDATAW data() const;
  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
  std::string hint_;
  bool visible_ = false;
};

}  // namespace qln::ui
