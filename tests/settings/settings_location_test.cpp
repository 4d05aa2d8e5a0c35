#include "settings/settings_location.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_file_system.h"

namespace qln {
namespace {

constexpr char kOld[] = "C:\\Users\\Ann\\AppData\\Roaming\\qln_settings.dat";
constexpr char kNew[] = "C:\\Tools\\Quillane\\qln_settings.dat";

TEST(SettingsMigration, MovesTheOldFileBesideTheProgram) {
  FakeFileSystem fs;
  fs.files[kOld] = "[INFOS]\r\nlang=1\r\n";
  EXPECT_TRUE(
      migrate_settings_file(fs, "C:\\Users\\Ann\\AppData\\Roaming", "C:\\Tools\\Quillane\\"));
  EXPECT_EQ(fs.files.count(kOld), 0u);
  EXPECT_EQ(fs.files[kNew], "[INFOS]\r\nlang=1\r\n");
}

TEST(SettingsMigration, LeavesBothFilesWhenOneIsBesideTheProgramAlready) {
  FakeFileSystem fs;
  fs.files[kOld] = "old";
  fs.files[kNew] = "current";
  EXPECT_FALSE(
      migrate_settings_file(fs, "C:\\Users\\Ann\\AppData\\Roaming\\", "C:\\Tools\\Quillane\\"));
  EXPECT_EQ(fs.files[kOld], "old");
  EXPECT_EQ(fs.files[kNew], "current");
}

TEST(SettingsMigration, UnsetAppdataDoesNotReachForTheDriveRoot) {
  FakeFileSystem fs;
  fs.files["\\qln_settings.dat"] = "someone else's";
  for (const auto& appdata : {std::optional<std::string>(), std::optional<std::string>("")})
    EXPECT_FALSE(migrate_settings_file(fs, appdata, "C:\\Tools\\Quillane\\"));
  EXPECT_EQ(fs.files.count(kNew), 0u);
  EXPECT_EQ(settings_file_path("C:\\Tools\\Quillane"), kNew);
}

}  // namespace
}  // namespace qln
