#pragma once
// The real file system of the machine the program runs on (Win32 or POSIX).
#include "platform/file_system.h"

namespace qln {

FileSystem& local_file_system();

}  // namespace qln
