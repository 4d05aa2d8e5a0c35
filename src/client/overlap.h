#pragma once
// A user-defined directory inside the program directory would be archived twice, once in
// each archive. The main window tests this after each choice of the user-defined directory,
// after each click on either option icon and at every show, and then shows MSG_23 and
// switches the user-defined option off (writing variable_check as "0").
#include <string>

namespace qln::client {

// True when both options are on and the user-defined directory is the program directory or
// lies below it (compared without regard to case, folder by folder). A program directory
// that is empty or "error" overlaps nothing.
bool user_directory_inside_program_directory(const std::string& program_directory, bool program_on,
                                             const std::string& user_directory, bool user_on);

}  // namespace qln::client
