#pragma once
// Answers a message box or dialog of this process with its default button, as the Enter key
// would. Another program's dialogs are never touched and no global input is synthesised.
#include <windows.h>

namespace qln::ui {

// Returns the dialog that was answered, or nullptr when this process shows none.
HWND ConfirmDialog();

}  // namespace qln::ui
