#include <gtest/gtest.h>

#include "backup/backup_set.h"

namespace qln::backup {
namespace {

TEST(SetFolderName, IsDayMonthYearHashTimeWithLeadingZeros) {
  struct Case {
    LocalTime t;
    const char* name;
  };
  const Case cases[] = {{{2023, 3, 1, 9, 5, 3}, "01_03_2023#09_05_03"},
                        {{2023, 12, 31, 23, 59, 59}, "31_12_2023#23_59_59"},
                        {{2024, 7, 7, 0, 0, 5}, "07_07_2024#00_00_05"}};
  for (const Case& c : cases) EXPECT_EQ(set_folder_name(c.t), c.name);
}

}  // namespace
}  // namespace qln::backup
