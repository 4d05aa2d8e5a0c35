#pragma once
// An in-memory registry for unit tests: keys below HKEY_CURRENT_USER by path, names compared
// without regard to case as the registry does.
#include <map>
#include <string>

#include "platform/registry.h"

namespace qln {

class FakeRegistry final : public Registry {
 public:
  // Creates the key (and nothing above it: a key exists only when added or given a value).
  void add_key(const std::string& path);
  void set_value(const std::string& path, const std::string& name, RegistryValue value);
  void set_string(const std::string& path, const std::string& name, const std::string& text) {
    set_value(path, name, {kRegSz, text});
  }

  std::unique_ptr<RegistryKey> open_current_user(const std::string& path) override;
  bool current_user_key_exists(const std::string& path) override;

 private:
  using Values = std::map<std::string, RegistryValue>;  // by lower-case name
  std::map<std::string, Values> keys_;                  // by lower-case path
};

}  // namespace qln
