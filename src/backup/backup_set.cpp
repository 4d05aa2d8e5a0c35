#include "backup/backup_set.h"

#include <cstdio>

namespace qln::backup {

std::string set_folder_name(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d_%02d_%04d#%02d_%02d_%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace qln::backup
