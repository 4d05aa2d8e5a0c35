#include "client/discovery.h"

#include "client/footprint.h"
#include "platform/environment.h"
#include "platform/registry.h"

namespace qln::client {
namespace {

FoundDirectory found(std::string path) { return {path, path, true}; }

FoundDirectory missing(const MessageLookup& misc, const Message& message) {
  return {std::string(kNoDirectory), text(misc, message), false};
}

}  // namespace

std::string expand_first_variable(std::string_view text, Environment& environment) {
  auto open = text.find('%');
  if (open == std::string_view::npos) return std::string(text);
  auto close = text.find('%', open + 1);
  if (close == std::string_view::npos || close == open + 1) return std::string(text);
  std::string name(text.substr(open + 1, close - open - 1));
  std::string reference = "%" + name + "%";
  std::string value = environment.variable(name).value_or("");
  std::string out;
  std::size_t from = 0;
  for (auto at = text.find(reference); at != std::string_view::npos;
       at = text.find(reference, from)) {
    out.append(text.substr(from, at - from));
    out += value;
    from = at + reference.size();
  }
  out.append(text.substr(from));
  return out;
}

FoundDirectory discover_program_directory(Registry& registry, const MessageLookup& misc) {
  auto key = registry.open_current_user(std::string(kClientKey));
  if (key) {
    for (std::string_view name : {kProgramDirValue, kProgramDir64Value}) {
      if (!key->value_exists(std::string(name))) continue;
      return found(read_string(*key, std::string(name)).value_or(""));
    }
  }
  return missing(misc, kMsg17);
}

FoundDirectory discover_mail_directory(Registry& registry, Environment& environment,
                                       const MessageLookup& misc) {
  auto key = registry.open_current_user(std::string(kClientKey));
  std::string name(kWorkingDirectoryValue);
  if (key && key->value_exists(name))
    return found(expand_first_variable(read_string(*key, name).value_or(""), environment));
  return missing(misc, kMsg18);
}

ClientLocations discover_locations(Registry& registry, Environment& environment,
                                   const MessageLookup& misc) {
  ClientLocations out;
  out.program = discover_program_directory(registry, misc);
  out.mail = discover_mail_directory(registry, environment, misc);
  return out;
}

bool ClientInstalled(Registry& registry) {
  return registry.current_user_key_exists(std::string(kClientKey));
}

}  // namespace qln::client
