#pragma once
// The application object of the Win32 build: the forms, the message loop and the default error
// box that shows an error escaping an event handler.
#include <windows.h>

#include <string>

#include "ui/component.h"

namespace qln::ui {

class WinApplication : public Application {
 public:
  WinApplication(HINSTANCE instance, std::string title);

  HINSTANCE instance() const { return instance_; }

  // Runs the message loop until the main form's window is destroyed; returns the exit code.
  int run();

  // Hint timing for every form's tooltips: delay before a hint shows, and how long it stays.
  void set_hint_timing(int pause_ms, int hide_pause_ms);
  int hint_pause() const { return hint_pause_; }
  int hint_hide_pause() const { return hint_hide_pause_; }

  // Handles every pending window message and returns (long jobs keep the windows alive).
  void process_messages();

  // The default error box: the message, the application title as caption, OK.
  void show_error(const std::string& message);

 private:
  HINSTANCE instance_;
  int hint_pause_ = 500, hint_hide_pause_ = 2500;
};

}  // namespace qln::ui
