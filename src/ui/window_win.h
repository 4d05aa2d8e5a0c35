#pragma once
// A top-level window of the application. It owns its controls and timers, routes their
// notifications to their handlers through the application's dispatch (so no error crosses
// the window procedure) and calls the form's own handlers from a short message switch.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "platform/win32/handle.h"
#include "ui/application_win.h"
#include "ui/component.h"
#include "ui/font_win.h"

namespace qln::ui {

class WinControl;
class Timer;

struct WindowStyle {
  DWORD style = WS_POPUP;
  DWORD ex_style = 0;
  HWND owner = nullptr;
  COLORREF color = RGB(243, 243, 243);
  FontSpec font;
};

class Window : public Form {
 public:
  Window(WinApplication& app, std::string name, std::string caption);
  ~Window() override;

  HWND hwnd() const { return hwnd_; }
  WinApplication& app() const { return app_; }

  // Creates the window (hidden) and the windows of the controls added so far.
  void create_window(const WindowStyle& style);

  // Adds a control; its window is created at once when this window exists.
  template <typename T, typename... Args>
  T& add_control(Args&&... args) {
    T& c = add<T>(std::forward<Args>(args)...);
    attach(c);
    return c;
  }
  Timer& add_timer(std::string name, unsigned interval_ms);

  void show();  // shows normally and brings to the front
  void hide();
  bool showing() const { return hwnd_ && IsWindowVisible(hwnd_); }
  void close();  // as the close box would: runs the form's close handling
  void move_to(int left, int top);
  void resize(int width, int height);
  RECT window_rect() const;

  COLORREF color() const { return color_; }
  HFONT font() const { return font_.get(); }
  HWND tooltip() const { return tooltip_; }

  // Runs a handler at the dispatch boundary: an escaping error is shown and the loop goes on.
  void dispatch(const std::function<void()>& handler) { app_.dispatch(handler); }

 protected:
  // The form's own message switch. The default handles control notifications and timers.
  virtual LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT default_handling(UINT msg, WPARAM wp, LPARAM lp);

  void caption_changed() override;

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void attach(WinControl& control);
  WinControl* control_by_window(HWND child) const;

  WinApplication& app_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  COLORREF color_ = RGB(243, 243, 243);
  win32::GdiObject<HBRUSH> brush_;
  win32::GdiObject<HFONT> font_;
  std::vector<WinControl*> controls_;
  std::map<UINT_PTR, Timer*> timers_;
  int next_id_ = 1000;
};

}  // namespace qln::ui
