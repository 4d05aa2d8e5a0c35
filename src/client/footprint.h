#pragma once
// What the program relies on of the mail client The Bat!, which lies outside this program.
#include <array>
#include <string_view>

namespace qln::client {

// Below HKEY_CURRENT_USER; exists when the client is installed for this user.
inline constexpr std::string_view kClientKey = "Software\\RIT\\The Bat!";
inline constexpr std::string_view kProgramDirValue = "ProgramDir";
inline constexpr std::string_view kProgramDir64Value = "ProgramDir64";
inline constexpr std::string_view kWorkingDirectoryValue = "Working Directory";

// The whole branch that holds the client's settings, as the registry tool names it.
inline constexpr std::string_view kClientBranch = "HKEY_CURRENT_USER\\Software\\RIT";

// Names of the client's executable, compared in lower case.
inline constexpr std::array<std::string_view, 3> kProgramFiles = {"thebat64.exe", "thebat.exe",
                                                                  "thebat32.exe"};
// A mail directory holds at least one of these, tested in this order.
inline constexpr std::array<std::string_view, 3> kMarkerFiles = {"Account.CFN", "CONFIG.CDB",
                                                                 "AccOrder.CFG"};

inline constexpr std::string_view kMainWindowClass = "TMailerForm";

// Held in place of a directory the registry has no value for.
inline constexpr std::string_view kNoDirectory = "error";

}  // namespace qln::client
