#pragma once
// Handles every pending window message of the calling thread and returns. A WM_QUIT is put
// back for the main loop, so a long job that keeps its windows alive never swallows the end.
namespace qln::win32 {

void pump_pending_messages();

}  // namespace qln::win32
