// Holds a file open without sharing, as another program holding a mail base would, until a
// release file appears. Usage: qln_archive_file_holder FILE RELEASE; writes FILE.held once
// the file is held.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  const std::string ready = std::string(argv[1]) + ".held";
  HANDLE marker = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  for (int i = 0; i < 1200 && GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(50);
  }
  CloseHandle(held);
  return 0;
}
