#pragma once
// Registry contents of the mail client's key and what discovery makes of them: one table for
// the in-memory registry and for the real one under Wine.
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qln::test {

struct StoredValue {
  std::string name;
  RegistryValue value;  // a non-string type is stored as the DWORD 1
};

struct DiscoveryCase {
  const char* title;
  bool key_exists;
  std::vector<StoredValue> values;
  // Expected directories ("error" when missing), or the error text when discovery raises.
  std::string program;
  std::string mail;
  std::optional<std::string> error;
};

// Variables of the environment the table expects: APPDATA, A and B are defined.
inline const char* const kAppData = "C:\\users\\me\\AppData\\Roaming";

inline std::vector<DiscoveryCase> discovery_cases() {
  const std::string app = kAppData;
  return {
      {"both program values: ProgramDir wins",
       true,
       {{"ProgramDir", {kRegSz, "C:\\Program Files\\The Bat!"}},
        {"ProgramDir64", {kRegSz, "D:\\TheBat64"}},
        {"Working Directory", {kRegSz, "D:\\Posteingänge\\"}}},
       "C:\\Program Files\\The Bat!",
       "D:\\Posteingänge\\",
       {}},
      {"only ProgramDir64",
       true,
       {{"ProgramDir64", {kRegSz, "D:\\TheBat64\\"}}},
       "D:\\TheBat64\\",
       "error",
       {}},
      {"empty ProgramDir is a directory, not missing",
       true,
       {{"ProgramDir", {kRegSz, ""}}, {"ProgramDir64", {kRegSz, "D:\\TheBat64"}}},
       "",
       "error",
       {}},
      {"%APPDATA% expanded",
       true,
       {{"Working Directory", {kRegSz, "%APPDATA%\\The Bat!\\"}}},
       "error",
       app + "\\The Bat!\\",
       {}},
      {"REG_EXPAND_SZ is a string and expanded by the same rule",
       true,
       {{"Working Directory", {kRegExpandSz, "%APPDATA%\\The Bat!\\"}}},
       "error",
       app + "\\The Bat!\\",
       {}},
      {"two references: only the first name",
       true,
       {{"Working Directory", {kRegSz, "%A%\\%B%\\mail"}}},
       "error",
       "alpha\\%B%\\mail",
       {}},
      {"first name everywhere, exact case only",
       true,
       {{"Working Directory", {kRegSz, "%A%\\%a%\\%A%"}}},
       "error",
       "alpha\\%a%\\alpha",
       {}},
      {"undefined variable expands to nothing",
       true,
       {{"Working Directory", {kRegSz, "%NOT_DEFINED_QLN%\\The Bat!\\"}}},
       "error",
       "\\The Bat!\\",
       {}},
      {"no closing percent sign",
       true,
       {{"Working Directory", {kRegSz, "D:\\100%\\Mail"}}},
       "error",
       "D:\\100%\\Mail",
       {}},
      {"non-string program value",
       true,
       {{"ProgramDir", {kRegDword, ""}}, {"Working Directory", {kRegSz, "D:\\Mail\\"}}},
       "",
       "",
       "Ungültiger Datentyp für 'ProgramDir'"},
      {"non-string mail value",
       true,
       {{"ProgramDir", {kRegSz, "C:\\TheBat"}}, {"Working Directory", {kRegBinary, ""}}},
       "",
       "",
       "Ungültiger Datentyp für 'Working Directory'"},
      {"key without values", true, {}, "error", "error", {}},
      {"no key at all", false, {}, "error", "error", {}},
  };
}

}  // namespace qln::test
