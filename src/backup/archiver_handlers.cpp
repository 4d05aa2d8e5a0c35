#include "backup/archiver_handlers.h"

#include <cmath>

#include "backup/job_errors.h"
#include "ui/shorten_path.h"

namespace qln::backup {

int round_half_even(double value) {
  // Done by hand: the result must not depend on the floating-point rounding mode.
  double whole = std::floor(value);
  double rest = value - whole;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return static_cast<int>(whole);
}

void ArchiverHandlers::check_cancel(bool& cancel) {
  if (!view_.cancel_requested()) return;
  cancel = true;
  throw Cancelled();
}

void ArchiverHandlers::ArchiverFileProgress(const std::string& file_name, double progress,
                                            ProgressPhase, bool& cancel) {
  view_.set_entry_bar(round_half_even(progress));
  auto measure = [this](const std::string& text) { return view_.entry_label_text_width(text); };
  view_.set_entry_label(ui::ShortenPath(file_name, measure, kEntryLabelWidth), file_name);
  check_cancel(cancel);
  view_.process_messages();
}

void ArchiverHandlers::ArchiverOverallProgress(double progress, ProgressPhase phase, bool& cancel) {
  if (auto_bck_active_) return;
  if (phase == ProgressPhase::ppStart) {
    view_.show_progress_window();
    view_.hide_main_window();
  } else if (phase == ProgressPhase::ppEnd) {
    view_.hide_progress_window();
    show_main_window();
  }
  view_.set_overall_bar(round_half_even(progress));
  view_.set_taskbar_progress(view_.overall_bar(), 100);
  check_cancel(cancel);
  view_.process_messages();
}

void ArchiverHandlers::ArchiverDiskFull(int, const std::string&, bool&) {
  dialogs_.message("Disk full!");
  return_to_main_window();
  throw Aborted();
}

void ArchiverHandlers::ArchiverProcessFileFailure(const std::string&,
                                                  const std::string& error_message) {
  dialogs_.message(error_message);
  return_to_main_window();
  throw Aborted();
}

void ArchiverHandlers::return_to_main_window() {
  if (auto_bck_active_) return;
  view_.hide_progress_window();
  show_main_window();
}

void ArchiverHandlers::show_main_window() {
  try {
    view_.show_main_window();
  } catch (const std::exception& e) {
    dialogs_.message(e.what());
  }
}

}  // namespace qln::backup
