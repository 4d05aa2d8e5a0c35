#pragma once
#include <optional>
#include <string>

namespace qln {

// The bytes of an embedded RCDATA resource (names match without regard to case).
std::optional<std::string> EmbeddedData(const std::string& name);

}  // namespace qln
