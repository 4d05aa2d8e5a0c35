#pragma once
// The windows an archive run drives: the progress window, the main window and the taskbar
// button. The Win32 side is WinProgressView; tests record the calls.
#include <string>

namespace qln::backup {

class ProgressView {
 public:
  virtual ~ProgressView() = default;

  virtual void set_entry_bar(int position) = 0;    // gFile, 0 to 100
  virtual void set_overall_bar(int position) = 0;  // gOverall, 0 to 100
  // gOverall's position as the bar holds it.
  virtual int overall_bar() const = 0;
  // lbFile: the text shown and its hint.
  virtual void set_entry_label(const std::string& caption, const std::string& hint) = 0;
  // Width in pixels of a text in lbFile's font.
  virtual int entry_label_text_width(const std::string& text) const = 0;

  virtual void show_progress_window() = 0;  // clears the cancel request (FormShow)
  virtual void hide_progress_window() = 0;
  // Showing the main window runs its show step, which may raise.
  virtual void show_main_window() = 0;
  virtual void hide_main_window() = 0;

  // Taskbar-button progress, kept between 0 and the maximum.
  virtual void set_taskbar_progress(int value, int maximum) = 0;

  // bCancel: the user asked to stop the running job.
  virtual bool cancel_requested() const = 0;
  // Handles the pending window messages.
  virtual void process_messages() = 0;
};

}  // namespace qln::backup
