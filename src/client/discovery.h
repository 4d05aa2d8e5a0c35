#pragma once
// Finds the mail client's program and mail directories in its registry values. Runs at every
// show of the main window; reads only.
#include <string>
#include <string_view>

#include "client/messages.h"

namespace qln {
class Registry;
class Environment;
}  // namespace qln

namespace qln::client {

// A directory as the main window takes it over: `label` is both the caption and the hint of
// its label, `directory` the path the backup uses ("error" when the registry has none).
struct FoundDirectory {
  std::string directory;
  std::string label;
  bool found = false;
  bool operator==(const FoundDirectory&) const = default;
};

struct ClientLocations {
  FoundDirectory program;
  FoundDirectory mail;
};

// "ProgramDir", else "ProgramDir64"; else MSG_17 and "error". A value that is not a string
// raises Error("Ungültiger Datentyp für '<name>'").
FoundDirectory discover_program_directory(Registry& registry, const MessageLookup& misc);

// "Working Directory" with its first %NAME% expanded; else MSG_18 and "error". Raises like
// discover_program_directory.
FoundDirectory discover_mail_directory(Registry& registry, Environment& environment,
                                       const MessageLookup& misc);

// Both, program directory first. The window sets the program label before the mail value is
// read; a caller that wants a failing mail value to leave the program label updated calls the
// two functions above one after the other.
ClientLocations discover_locations(Registry& registry, Environment& environment,
                                   const MessageLookup& misc);

// Replaces every "%NAME%" of the first name in the text (exact case) by the variable's value,
// or by nothing when it is not defined; later names stay. No closing "%" or an empty name
// ("%%") leaves the text as it is.
std::string expand_first_variable(std::string_view text, Environment& environment);

// Whether the mail client is installed for this user: its registry key exists.
bool ClientInstalled(Registry& registry);

}  // namespace qln::client
