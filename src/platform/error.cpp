#include "platform/error.h"

namespace qln {

std::string format_message(std::string_view pattern, std::string_view arg) {
  auto pos = pattern.find("%s");
  if (pos == std::string_view::npos) return std::string(pattern);
  std::string out;
  out.reserve(pattern.size() + arg.size());
  out.append(pattern.substr(0, pos)).append(arg).append(pattern.substr(pos + 2));
  return out;
}

}  // namespace qln
