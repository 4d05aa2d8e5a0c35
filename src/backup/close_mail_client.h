#pragma once
// Shuts a running mail client down before its directories are archived or rewritten.

namespace qln::backup {

enum class MailClientShutdown {
  not_running,   // no window of the client
  closed,        // the client closed on request and its process has ended
  ended,         // the client kept its window; its process was ended
  still_running  // its process could not be ended, or is still there after the wait
};

struct MailClientShutdownTimes {
  unsigned close_request_ms = 10000;  // how long the close request may take
  unsigned exit_wait_ms = 5000;       // how long the process may take to go away
};

// Asks the first top-level window of class "TMailerForm" to close (not waiting on a hung
// window) and ends its process when the window is still there. In both cases waits until the
// process has really ended, since a process on its way out still holds its files open.
// Windows build only.
MailClientShutdown CloseMailClient(const MailClientShutdownTimes& times = {});

}  // namespace qln::backup
