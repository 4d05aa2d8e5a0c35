#pragma once
// Starting external programs and waiting for them while the program's windows stay alive.
// The Win32 implementation runs them through the shell; tests of the logic use a fake.
#include <functional>
#include <memory>
#include <string>

namespace qln {

class Dialogs;

class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  // Starts `file` with `parameters` without a visible window and returns when it has ended.
  // When it cannot be started, the system's error text has been shown and false comes back.
  // The exit code is not read: callers judge a command by its effect.
  virtual bool run_and_wait(const std::string& file, const std::string& parameters) = 0;
  // Handles the program's pending window messages once.
  virtual void process_messages() = 0;
};

// Starts the program through ShellExecuteExW hidden and waits for it in 50 ms steps, handling
// the window messages in between (Windows build only). Returns false when it could not start,
// after showing the system's error text.
bool RunAndWait(Dialogs& dialogs, const std::function<void()>& process_messages,
                const std::string& file, const std::string& parameters);

// The shell-based runner (Windows build only). `process_messages` is the window framework's
// own message pump; when empty, a plain PeekMessage loop is used.
std::unique_ptr<CommandRunner> make_command_runner(Dialogs& dialogs,
                                                   std::function<void()> process_messages = {});

}  // namespace qln
