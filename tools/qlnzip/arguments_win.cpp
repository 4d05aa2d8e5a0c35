// Windows passes main() its arguments in the ANSI code page; the wide command line holds
// every name exactly.
#include <windows.h>
#include <shellapi.h>

#include "arguments.h"
#include "platform/win32/wide.h"

std::vector<std::string> command_line_arguments(int, char**) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 1; args && i < count; ++i) out.push_back(qln::win32::narrow(args[i]));
  if (args) LocalFree(args);
  return out;
}
