#include "platform/registry.h"

#include "platform/error.h"

namespace qln {

std::optional<std::string> read_string(RegistryKey& key, const std::string& name) {
  std::optional<RegistryValue> value = key.read_value(name);
  if (!value) return std::nullopt;
  if (!value->is_string()) throw Error(format_message("Ungültiger Datentyp für '%s'", name));
  return std::move(value->text);
}

}  // namespace qln
