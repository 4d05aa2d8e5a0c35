#include "client/overlap.h"

#include "client/footprint.h"
#include "client/paths.h"
#include "platform/codepage.h"

namespace qln::client {

bool user_directory_inside_program_directory(const std::string& program_directory, bool program_on,
                                             const std::string& user_directory, bool user_on) {
  if (!program_on || !user_on) return false;
  if (program_directory.empty() || program_directory == kNoDirectory || user_directory.empty())
    return false;
  std::string program = CheckPfadEnd(program_directory);
  std::string user = CheckPfadEnd(user_directory);
  return user.size() >= program.size() &&
         equals_ignore_case(std::string_view(user).substr(0, program.size()), program);
}

}  // namespace qln::client
