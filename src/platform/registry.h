#pragma once
// Read access to the current user's registry, as far as the mail client's values need it.
// The Win32 implementation reads the real registry; FakeRegistry serves unit tests.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qln {

// Registry type codes the logic tells apart.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
  std::uint32_t type = kRegSz;
  std::string text;  // string types: UTF-8 up to the first NUL; other types: empty
  bool is_string() const { return type == kRegSz || type == kRegExpandSz; }
};

// An open key; closed when the object goes.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool value_exists(const std::string& name) = 0;
  // The value with its type; nullopt when it does not exist.
  virtual std::optional<RegistryValue> read_value(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens a key below HKEY_CURRENT_USER for reading; nullptr when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> open_current_user(const std::string& path) = 0;
  // Whether the key below HKEY_CURRENT_USER exists (also when it could not be opened).
  virtual bool current_user_key_exists(const std::string& path) = 0;
};

// Reads a string value (REG_SZ or REG_EXPAND_SZ, not expanded); nullopt when it does not
// exist. Any other type raises Error("Ungültiger Datentyp für '<name>'").
std::optional<std::string> read_string(RegistryKey& key, const std::string& name);

// The registry of the running user (Windows build only).
Registry& local_registry();

}  // namespace qln
