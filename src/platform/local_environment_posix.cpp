// The native build's environment: enough for tests of logic that asks for variables and time.
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/environment.h"

namespace qln {
namespace {

class PosixEnvironment final : public Environment {
 public:
  std::optional<std::string> variable(const std::string& name) override {
    const char* v = std::getenv(name.c_str());
    if (!v) return std::nullopt;
    return std::string(v);
  }
  std::string temp_directory() override {
    return std::filesystem::temp_directory_path().string() + "/";
  }
  std::string startup_folder() override { return {}; }
  std::string program_folder() override {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("./") : exe.parent_path().string() + "/";
  }
  LocalTime now() override {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

}  // namespace

Environment& local_environment() {
  static PosixEnvironment instance;
  return instance;
}

}  // namespace qln
