#include "ui/window_win.h"

#include <commctrl.h>

#include "platform/win32/wide.h"
#include "ui/controls_win.h"
#include "ui/timer_win.h"

namespace qln::ui {

namespace {

constexpr wchar_t kWindowClass[] = L"QuillaneForm";

void register_class(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kWindowClass, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
}

}  // namespace

Window::Window(WinApplication& app, std::string name, std::string caption)
    : Form(std::move(name), std::move(caption)), app_(app) {}

Window::~Window() {
  timers_.clear();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::create_window(const WindowStyle& style) {
  register_class(app_.instance(), window_proc);
  color_ = style.color;
  brush_.reset(CreateSolidBrush(color_));
  font_ = make_font(style.font);
  const Rect& b = bounds();
  hwnd_ = CreateWindowExW(style.ex_style, kWindowClass, win32::wide(caption()).c_str(),
                          style.style & ~WS_VISIBLE, b.left, b.top, b.width, b.height, style.owner,
                          nullptr, app_.instance(), this);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, app_.instance(), nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, app_.hint_pause());
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, app_.hint_hide_pause());
  for (WinControl* c : controls_) c->create(*this, c->id());
  for (auto& [id, t] : timers_)
    if (t->enabled()) {
      t->set_enabled(false);
      t->set_enabled(true);
    }
}

void Window::attach(WinControl& control) {
  int id = next_id_++;
  controls_.push_back(&control);
  if (hwnd_)
    control.create(*this, id);
  else
    control.assign_id(id);
}

Timer& Window::add_timer(std::string name, unsigned interval_ms) {
  UINT_PTR id = UINT_PTR(next_id_++);
  Timer& t = add<Timer>(*this, std::move(name), interval_ms, id);
  timers_[id] = &t;
  return t;
}

WinControl* Window::control_by_window(HWND child) const {
  for (WinControl* c : controls_)
    if (c->hwnd() == child) return c;
  return nullptr;
}

void Window::show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  set_visible(true);
}

void Window::hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Window::close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::move_to(int left, int top) {
  Rect b = bounds();
  b.left = left;
  b.top = top;
  Control::set_bounds(b);
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::resize(int width, int height) {
  Rect b = bounds();
  b.width = width;
  b.height = height;
  Control::set_bounds(b);
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::window_rect() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return r;
}

void Window::caption_changed() {
  if (hwnd_) SetWindowTextW(hwnd_, win32::wide(caption()).c_str());
}

LRESULT Window::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  return default_handling(msg, wp, lp);
}

LRESULT Window::default_handling(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        if (WinControl* c = control_by_window(reinterpret_cast<HWND>(lp))) {
          c->command(HIWORD(wp));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (WinControl* c = control_by_window(header->hwndFrom)) return c->notify(*header);
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (WinControl* c = control_by_window(item->hwndItem)) {
        c->draw(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (WinControl* c = control_by_window(reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(c->colors(reinterpret_cast<HDC>(wp)));
      break;
    case WM_TIMER:
      if (auto it = timers_.find(wp); it != timers_.end()) {
        it->second->fire();
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, brush_.get());
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // The last line of defence: handlers run through dispatch, but nothing may unwind
  // through the system's code that called this procedure.
  try {
    return self->handle_message(msg, wp, lp);
  } catch (const std::exception& e) {
    self->app_.show_error(e.what());
  } catch (...) {
    self->app_.show_error("Unbekannter Fehler");
  }
  return 0;
}

}  // namespace qln::ui
