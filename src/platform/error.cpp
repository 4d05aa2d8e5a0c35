#include "platform/error.h"

namespace qln {

std::string format_message(std::string_view pattern, std::string_view arg) {
  std::string out(pattern);
  if (auto pos = out.find("%s"); pos != std::string::npos) out.replace(pos, 2, arg);
  return out;
}

}  // namespace qln
