#pragma once
// Path helpers for the directories of the mail client.
#include <string>
#include <string_view>

namespace qln::client {

// The path with one backslash appended when it does not end with one; "" gives "\".
std::string CheckPfadEnd(std::string_view path);

// The folder of a file path without trailing backslash; a drive root keeps its backslash
// ("C:\x.exe" gives "C:\"), since "C:" alone names the drive's current folder.
std::string folder_of(std::string_view file_path);

// The name part of a path: everything after the last "\", "/" or ":".
std::string_view name_of(std::string_view path);

}  // namespace qln::client
