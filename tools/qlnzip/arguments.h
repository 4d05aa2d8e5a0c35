#pragma once
// The command line as UTF-8 strings, the program name left out.
#include <string>
#include <vector>

std::vector<std::string> command_line_arguments(int argc, char** argv);
