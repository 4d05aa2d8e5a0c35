#pragma once
#include <string>

namespace qln {

// The file version of the program's own executable as "major.minor.release.build"; empty when
// the executable carries no version resource.
std::string OwnFileVersion();

}  // namespace qln
