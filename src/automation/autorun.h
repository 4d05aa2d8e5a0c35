#pragma once
// The start-up shortcut "<AppName>.lnk" in the user's Startup folder: its presence is the
// program's only record of whether the daily backup is armed.
#include <string>

#include "platform/environment.h"
#include "platform/file_system.h"

namespace qln {

// Startup folder + AppName + ".lnk"; empty when the shell gives no Startup folder.
std::string autorun_link_path(Environment& env, const std::string& app_name);

// True when the shortcut file exists. Without a Startup folder there is no shortcut.
bool IsAppInRun(Environment& env, FileSystem& files, const std::string& app_name);

}  // namespace qln
