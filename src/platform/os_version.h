#pragma once
// The platform's major version as the program sees it (10 on Windows 10 and later, since the
// manifest declares the program compatible with them). Windows build only.
namespace qln {

int os_major_version();

}  // namespace qln
