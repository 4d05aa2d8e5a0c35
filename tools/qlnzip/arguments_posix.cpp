#include "arguments.h"

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}
