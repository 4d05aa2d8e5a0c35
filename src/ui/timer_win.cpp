#include "ui/timer_win.h"

#include "ui/window_win.h"

namespace qln::ui {

Timer::Timer(Window& owner, std::string name, unsigned interval_ms, UINT_PTR id)
    : Component(std::move(name)), owner_(owner), interval_(interval_ms), id_(id) {
  publish_other("Enabled");
  publish_other("Interval");
}

Timer::~Timer() {
  if (enabled_ && owner_.hwnd()) KillTimer(owner_.hwnd(), id_);
}

void Timer::set_enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  apply();
}

void Timer::set_interval(unsigned interval_ms) {
  interval_ = interval_ms;
  if (enabled_) apply();
}

void Timer::apply() {
  if (!owner_.hwnd()) return;
  if (enabled_)
    SetTimer(owner_.hwnd(), id_, interval_, nullptr);
  else
    KillTimer(owner_.hwnd(), id_);
}

void Timer::fire() {
  if (enabled_ && on_timer) owner_.dispatch(on_timer);
}

}  // namespace qln::ui
