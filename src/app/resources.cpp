#include "app/resources.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace qln {

std::optional<std::string> EmbeddedData(const std::string& name) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(self, win32::wide(name).c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) return std::nullopt;
  HGLOBAL loaded = LoadResource(self, res);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), SizeofResource(self, res));
}

}  // namespace qln
