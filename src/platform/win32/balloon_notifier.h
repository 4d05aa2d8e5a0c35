#pragma once
// Desktop notifications as a balloon of a notification-area icon of their own, which Windows
// 10 and later show as a toast of the program; no installer or registered app identity is
// needed. The icon goes away when the balloon does, so the program's own tray icon keeps its
// visibility rules.
#include <windows.h>

#include "platform/notification.h"

namespace qln::win32 {

class BalloonNotifier final : public Notifier {
 public:
  // `icon` stays the caller's; it must outlive this object.
  explicit BalloonNotifier(HICON icon);
  BalloonNotifier(const BalloonNotifier&) = delete;
  BalloonNotifier& operator=(const BalloonNotifier&) = delete;
  ~BalloonNotifier() override;

  void notify(const std::string& id, const std::string& title, const std::string& body) override;
  // Whether the notification icon is there now.
  bool icon_shown() const { return shown_; }

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void remove_icon();

  HICON icon_;
  HWND window_ = nullptr;  // message-only window that receives the balloon's end
  bool shown_ = false;
};

}  // namespace qln::win32
