#include "ui/application_win.h"

#include <commctrl.h>

#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"

namespace qln::ui {

WinApplication::WinApplication(HINSTANCE instance, std::string title)
    : Application(std::move(title)), instance_(instance) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_DATE_CLASSES |
                                            ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                            ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  report_error = [this](const std::string& m) { show_error(m); };
}

int WinApplication::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

void WinApplication::process_messages() { win32::pump_pending_messages(); }

void WinApplication::set_hint_timing(int pause_ms, int hide_pause_ms) {
  hint_pause_ = pause_ms;
  hint_hide_pause_ = hide_pause_ms;
}

void WinApplication::show_error(const std::string& message) {
  MessageBoxW(GetActiveWindow(), win32::wide(message).c_str(), win32::wide(title()).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace qln::ui
