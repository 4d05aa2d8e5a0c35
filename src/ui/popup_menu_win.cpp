#include "ui/popup_menu_win.h"

#include "platform/win32/wide.h"
#include "ui/window_win.h"

namespace qln::ui {

void PopupMenu::popup(Window& owner, int x, int y) {
  HMENU menu = CreatePopupMenu();
  for (std::size_t i = 0; i < items.size(); ++i)
    AppendMenuW(menu, MF_STRING | (items[i]->enabled() ? 0 : MF_GRAYED), i + 1,
                win32::wide(items[i]->caption()).c_str());
  SetForegroundWindow(owner.hwnd());
  UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0,
                                    owner.hwnd(), nullptr));
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= items.size()) items[chosen - 1]->click();
}

}  // namespace qln::ui
