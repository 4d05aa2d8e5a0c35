#pragma once
// The four windows of the program, created once at start and alive until the end.

namespace qln {

class Ttb_form;
class Text_form;
class TfrmProgress;
class Tabout;

struct AppWindows {
  Ttb_form* tb_form = nullptr;
  Text_form* ext_form = nullptr;
  TfrmProgress* frmProgress = nullptr;
  Tabout* about = nullptr;
};

}  // namespace qln
