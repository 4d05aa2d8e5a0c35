#include "platform/fake/fake_registry.h"

#include "platform/codepage.h"

namespace qln {
namespace {

class FakeRegistryKey final : public RegistryKey {
 public:
  explicit FakeRegistryKey(std::map<std::string, RegistryValue> values)
      : values_(std::move(values)) {}
  bool value_exists(const std::string& name) override { return values_.count(to_lower(name)) > 0; }
  std::optional<RegistryValue> read_value(const std::string& name) override {
    auto it = values_.find(to_lower(name));
    if (it == values_.end()) return std::nullopt;
    RegistryValue v = it->second;
    if (!v.is_string()) v.text.clear();
    return v;
  }

 private:
  std::map<std::string, RegistryValue> values_;
};

}  // namespace

void FakeRegistry::add_key(const std::string& path) { keys_[to_lower(path)]; }

void FakeRegistry::set_value(const std::string& path, const std::string& name,
                             RegistryValue value) {
  keys_[to_lower(path)][to_lower(name)] = std::move(value);
}

std::unique_ptr<RegistryKey> FakeRegistry::open_current_user(const std::string& path) {
  auto it = keys_.find(to_lower(path));
  if (it == keys_.end()) return nullptr;
  return std::make_unique<FakeRegistryKey>(it->second);
}

bool FakeRegistry::current_user_key_exists(const std::string& path) {
  return keys_.count(to_lower(path)) > 0;
}

}  // namespace qln
