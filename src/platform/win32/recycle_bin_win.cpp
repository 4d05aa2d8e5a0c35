#include <windows.h>
#include <shellapi.h>

#include "platform/recycle_bin.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

// One shell delete with undo, so everything lands in the recycle bin; no progress, no
// questions, no error boxes.
bool shell_delete_with_undo(const std::string& path) {
  std::wstring from = win32::wide(path);
  from.push_back(L'\0');  // the list ends with two zeros
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR | FOF_ALLOWUNDO;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

class ShellRecycleBin final : public RecycleBin {
 public:
  bool move_to_recycle_bin(const std::string& folder) override {
    if (shell_delete_with_undo(folder + "\\*.*")) shell_delete_with_undo(folder);
    return GetFileAttributesW(win32::wide(folder).c_str()) == INVALID_FILE_ATTRIBUTES;
  }
};

}  // namespace

std::unique_ptr<RecycleBin> make_shell_recycle_bin() { return std::make_unique<ShellRecycleBin>(); }

}  // namespace qln
