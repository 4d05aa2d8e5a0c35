#pragma once
// The small borderless window that shows an archive run in place of the main window, with a
// cancel control that stops the running job.
#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace qln {

class TfrmProgress : public ui::Window {
 public:
  explicit TfrmProgress(ui::WinApplication& app);

  void FormCreate();
  void FormShow();
  void JvSpeedButton4Click();

  bool bCancel = false;  // the cancel request of the running archive

  ui::Picture& bg_image;
  ui::Label& titel_label;
  ui::Label& lbFile;
  ui::ProgressBar& gOverall;
  ui::ProgressBar& gFile;
  ui::SpeedButton& JvSpeedButton4;  // cancel

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace qln
