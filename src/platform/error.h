#pragma once
// The program's one error type: failures are raised, caught at the event-dispatch boundary
// and shown with their message.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qln {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the first "%s" of a message pattern with `arg` ("In %s kann nicht geschrieben werden").
std::string format_message(std::string_view pattern, std::string_view arg);

}  // namespace qln
