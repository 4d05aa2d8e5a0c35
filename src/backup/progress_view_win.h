#pragma once
// The progress view of the real program: the progress window, the main window and the
// taskbar button of the main window.
#include <functional>

#include "backup/progress_form_win.h"
#include "backup/progress_view.h"
#include "platform/win32/taskbar_progress.h"
#include "ui/window_win.h"

namespace qln::backup {

class WinProgressView final : public ProgressView {
 public:
  // `process_messages` is the application's message pump.
  WinProgressView(TfrmProgress& form, ui::Window& main_window, win32::TaskbarProgress& taskbar,
                  std::function<void()> process_messages)
      : form_(form),
        main_(main_window),
        taskbar_(taskbar),
        process_messages_(std::move(process_messages)) {}

  void set_entry_bar(int position) override { form_.gFile.set_position(position); }
  void set_overall_bar(int position) override { form_.gOverall.set_position(position); }
  int overall_bar() const override { return form_.gOverall.position(); }
  void set_entry_label(const std::string& caption, const std::string& hint) override;
  int entry_label_text_width(const std::string& text) const override {
    return form_.lbFile.text_width(text);
  }
  void show_progress_window() override { form_.show(); }
  void hide_progress_window() override { form_.hide(); }
  void show_main_window() override { main_.show(); }
  void hide_main_window() override { main_.hide(); }
  void set_taskbar_progress(int value, int maximum) override { taskbar_.set(value, maximum); }
  bool cancel_requested() const override { return form_.bCancel; }
  void process_messages() override {
    if (process_messages_) process_messages_();
  }

 private:
  TfrmProgress& form_;
  ui::Window& main_;
  win32::TaskbarProgress& taskbar_;
  std::function<void()> process_messages_;
};

}  // namespace qln::backup
