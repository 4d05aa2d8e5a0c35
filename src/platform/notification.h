#pragma once
// A short desktop notification of the program.
#include <string>

namespace qln {

class Notifier {
 public:
  virtual ~Notifier() = default;
  // Shows the notification and returns at once; failures are silent, since nothing depends
  // on the notice being seen.
  virtual void notify(const std::string& id, const std::string& title, const std::string& body) = 0;
};

}  // namespace qln
