#pragma once
// An environment with exactly the variables a test gives it; names compare exactly.
#include <map>
#include <string>

#include "platform/environment.h"

namespace qln::test {

class FakeEnvironment final : public Environment {
 public:
  std::map<std::string, std::string> variables;

  std::optional<std::string> variable(const std::string& name) override {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }
  std::string temp_directory() override { return "C:\\Temp\\"; }
  std::string startup_folder() override { return "C:\\Startup\\"; }
  std::string program_folder() override { return "C:\\Quillane\\"; }
  LocalTime now() override { return {}; }
};

}  // namespace qln::test
