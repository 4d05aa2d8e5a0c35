#pragma once
// The About window: publisher and icon credits, shown modally from the main window's footer.
#include "ui/controls_win.h"
#include "ui/window_win.h"

namespace qln {

class Tabout : public ui::Window {
 public:
  explicit Tabout(ui::WinApplication& app);

  void FormCreate();
  // Shows the window modally over `owner` and returns when it closes.
  void ShowModal(ui::Window& owner);

  void close_buttonClick();
  void FormKeyDown(WPARAM key);
  void Label2Click();
  void Label3Click();

  ui::Label& lab_1;
  ui::Label& lab_2;
  ui::Label& lab_3;
  ui::Label& lab_4;
  ui::Label& Label1;
  ui::LinkLabel& Label2;
  ui::LinkLabel& Label3;
  ui::SpeedButton& close_button;

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool modal_ = false;
};

// Opens a web page in the default browser; the outcome is not reported.
void OpenWebPage(const std::string& address);

}  // namespace qln
