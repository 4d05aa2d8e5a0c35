#pragma once
// A notifier that records every notification.
#include <string>
#include <vector>

#include "platform/notification.h"

namespace qln {

struct Notification {
  std::string id, title, body;
  bool operator==(const Notification&) const = default;
};

class FakeNotifier final : public Notifier {
 public:
  std::vector<Notification> sent;
  void notify(const std::string& id, const std::string& title, const std::string& body) override {
    sent.push_back({id, title, body});
  }
};

}  // namespace qln
