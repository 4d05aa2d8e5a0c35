#include <windows.h>

#include "platform/os_version.h"

namespace qln {

int os_major_version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  // The manifest declares Windows 10, so the answer is not capped at 6.2.
  if (!GetVersionExW(&info)) return 0;
  return int(info.dwMajorVersion);
}

}  // namespace qln
