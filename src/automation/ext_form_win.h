#pragma once
// The settings window: a borderless panel that slides out beside the main window.
#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace qln {

class Text_form : public ui::Window {
 public:
  explicit Text_form(ui::WinApplication& app);

  // Creates the window, owned by `owner`, sized to its background picture.
  void FormCreate(HWND owner);

  ui::SpeedButton& auto_button;
  ui::TimePicker& auto_bck_time;
  ui::Label& JvLabel3;
  ui::LinkLabel& autoDir_label;
  ui::Picture& bg_image;
  ui::CheckBox& std_dir_checked;
  ui::CheckBox& no_msg_check;
  ui::CheckBox& close_tb_bck_check;
  ui::Label& titel_label;
};

}  // namespace qln
