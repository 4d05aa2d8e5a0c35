#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/registry.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(win32::RegKey key) : key_(std::move(key)) {}

  bool value_exists(const std::string& name) override {
    return RegQueryValueExW(key_.get(), win32::wide(name).c_str(), nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
  }

  std::optional<RegistryValue> read_value(const std::string& name) override {
    std::wstring wname = win32::wide(name);
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value;
    value.type = type;
    if (!value.is_string()) return value;
    std::vector<BYTE> data;
    do {  // the value may grow between the two calls
      data.resize(size + sizeof(wchar_t));
      size = DWORD(data.size());
      rc = RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, data.data(), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    value.type = type;
    if (!value.is_string()) return value;
    // Stored strings need not end in a NUL; read up to the first one, as every API would.
    std::wstring text(size / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
    value.text = win32::narrow(text);
    return value;
  }

 private:
  win32::RegKey key_;
};

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> open_current_user(const std::string& path) override {
    win32::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, win32::wide(path).c_str(), 0, KEY_READ, key.out()) !=
        ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<Win32RegistryKey>(std::move(key));
  }

  bool current_user_key_exists(const std::string& path) override {
    win32::RegKey key;
    LONG rc =
        RegOpenKeyExW(HKEY_CURRENT_USER, win32::wide(path).c_str(), 0, KEY_QUERY_VALUE, key.out());
    return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;
  }
};

}  // namespace

Registry& local_registry() {
  static Win32Registry instance;
  return instance;
}

}  // namespace qln
