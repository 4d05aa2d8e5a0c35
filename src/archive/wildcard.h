#pragma once
// File masks as the selection uses them: "*" and "?", letters in either case, and "*.*"
// for every name, with or without a dot.
#include <string_view>

namespace qln::archive {

bool matches_mask(std::string_view name, std::string_view mask);

}  // namespace qln::archive
