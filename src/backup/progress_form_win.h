#pragma once
// The small borderless window that shows an archive run in place of the main window.
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

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace qln
