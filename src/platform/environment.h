#pragma once
// Process environment, special folders and time: the small facts the logic asks the system.
#include <optional>
#include <string>

namespace qln {

// A time of day, as the daily backup and its picker hold it.
struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
  bool operator==(const TimeOfDay&) const = default;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // nullopt when the variable is not defined.
  virtual std::optional<std::string> variable(const std::string& name) = 0;
  // The system's temporary directory, with trailing backslash.
  virtual std::string temp_directory() = 0;
  // The user's Startup folder, with trailing backslash.
  virtual std::string startup_folder() = 0;
  // Folder of the program's own executable, with trailing backslash.
  virtual std::string program_folder() = 0;
  virtual LocalTime now() = 0;
  // The locale's time separator (":" in German and English locales).
  virtual std::string time_separator() { return ":"; }
};

}  // namespace qln

namespace qln {

// The environment of the running process.
Environment& local_environment();

}  // namespace qln
