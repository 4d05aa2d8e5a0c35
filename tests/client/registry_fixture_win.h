#pragma once
// The mail client's registry branch in the test prefix, written through the Win32 API and
// removed again, so each case starts from a branch that does not exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace qln::test {

inline void delete_client_branch() {
  LONG rc = RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\RIT");
  if (rc == ERROR_SUCCESS) rc = RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\RIT");
  ASSERT_TRUE(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) << rc;
}

inline win32::RegKey create_key(const std::string& path) {
  win32::RegKey key;
  LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, win32::wide(path).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
  EXPECT_EQ(rc, ERROR_SUCCESS) << path;
  return key;
}

inline void set_raw(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
  EXPECT_EQ(
      RegSetValueExW(key, win32::wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size),
      ERROR_SUCCESS)
      << name;
}

// A string value with its terminating NUL, as the registry keeps it.
inline void set_text(HKEY key, const std::string& name, const std::string& text,
                     DWORD type = REG_SZ) {
  std::wstring w = win32::wide(text);
  set_raw(key, name, type, w.c_str(), DWORD((w.size() + 1) * sizeof(wchar_t)));
}

}  // namespace qln::test
