#include "app/file_version.h"

#include <windows.h>

#include <vector>

namespace qln {

std::string OwnFileVersion() {
  wchar_t path[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (!size) return {};
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path, 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
    return {};
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionLS));
}

}  // namespace qln
