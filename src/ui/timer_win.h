#pragma once
// A window-message timer: it fires only while window messages are handled.
#include <windows.h>

#include <functional>

#include "ui/component.h"

namespace qln::ui {

class Window;

class Timer : public Component {
 public:
  Timer(Window& owner, std::string name, unsigned interval_ms, UINT_PTR id);
  ~Timer() override;

  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled);
  unsigned interval() const { return interval_; }
  void set_interval(unsigned interval_ms);

  std::function<void()> on_timer;
  void fire();  // called by the owning window on WM_TIMER

 private:
  void apply();
  Window& owner_;
  unsigned interval_;
  UINT_PTR id_;
  bool enabled_ = false;
};

}  // namespace qln::ui
