#pragma once
// The three option icons that decide which directories a backup includes: their settings
// keys (section INFOS) and the states they have before anything is stored.
#include <string_view>

namespace qln::client {

struct OptionIcon {
  std::string_view key;  // also the icon's component name
  bool default_on;
};

inline constexpr OptionIcon kProgramDirOption = {"ProgramDir_check", true};
inline constexpr OptionIcon kMailDirOption = {"WorkingDirectory_Check", true};
inline constexpr OptionIcon kUserDirOption = {"variable_check", false};

// How an icon's state is written: "1" or "0".
inline constexpr std::string_view option_value(bool on) { return on ? "1" : "0"; }

}  // namespace qln::client
