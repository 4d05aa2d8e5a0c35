#include "backup/progress_view_win.h"

namespace qln::backup {

void WinProgressView::set_entry_label(const std::string& caption, const std::string& hint) {
  form_.lbFile.set_caption(caption);
  form_.lbFile.set_hint(hint);
}

}  // namespace qln::backup
