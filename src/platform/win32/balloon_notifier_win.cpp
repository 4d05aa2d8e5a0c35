#include "platform/win32/balloon_notifier.h"

#include <shellapi.h>

#include <cwchar>
#include <iterator>

#include "platform/win32/wide.h"

namespace qln::win32 {
namespace {

constexpr UINT kCallback = WM_APP + 20;
constexpr UINT kIconId = 1;
constexpr UINT_PTR kTimer = 1;
// A balloon nobody dismisses ends by itself; the icon must not outlive it by much.
constexpr UINT kLongestBalloonMs = 30000;
constexpr wchar_t kClassName[] = L"QuillaneNotification";

template <std::size_t N>
void copy(wchar_t (&to)[N], const std::string& utf8) {
  std::wstring w = wide(utf8);
  wcsncpy(to, w.c_str(), N - 1);
  to[N - 1] = L'\0';
}

}  // namespace

BalloonNotifier::BalloonNotifier(HICON icon) : icon_(icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = window_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when another instance registered it
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                            nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, LONG_PTR(this));
}

BalloonNotifier::~BalloonNotifier() {
  remove_icon();
  if (window_) DestroyWindow(window_);
}

void BalloonNotifier::notify(const std::string& id, const std::string& title,
                             const std::string& body) {
  if (!window_) return;
  remove_icon();
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = window_;
  d.uID = kIconId;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  d.uCallbackMessage = kCallback;
  d.hIcon = icon_;
  copy(d.szTip, id);
  copy(d.szInfoTitle, title);
  copy(d.szInfo, body);
  d.dwInfoFlags = NIIF_INFO;
  if (!Shell_NotifyIconW(NIM_ADD, &d)) return;
  shown_ = true;
  SetTimer(window_, kTimer, kLongestBalloonMs, nullptr);
}

void BalloonNotifier::remove_icon() {
  if (!shown_) return;
  KillTimer(window_, kTimer);
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = window_;
  d.uID = kIconId;
  Shell_NotifyIconW(NIM_DELETE, &d);
  shown_ = false;
}

LRESULT CALLBACK BalloonNotifier::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<BalloonNotifier*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    if (msg == WM_TIMER && wp == kTimer) {
      self->remove_icon();
      return 0;
    }
    if (msg == kCallback) {
      switch (LOWORD(lp)) {
        case NIN_BALLOONTIMEOUT:
        case NIN_BALLOONUSERCLICK:
        case NIN_BALLOONHIDE:
          self->remove_icon();
          break;
        default:
          break;
      }
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace qln::win32
