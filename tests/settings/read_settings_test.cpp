#include "settings/read_settings.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/error.h"
#include "platform/fake/fake_file_system.h"

namespace qln {
namespace {

constexpr char kPath[] = "C:\\Quillane\\qln_settings.dat";

struct Read : ::testing::Test {
  FakeFileSystem fs;
  IniFile ini{fs, kPath};
  std::set<std::string> existing;
  std::vector<std::string> looked_up;
  LocalTime now{2024, 3, 5, 7, 8, 9};

  SettingsRead read(std::string_view separator = ":") {
    return ReadSettings(
        ini,
        [this](const std::string& val, const std::string& key) {
          looked_up.push_back(key);
          return key == "MSG_21" ? std::string("Please choose Directory") : val;
        },
        now, [this](const std::string& p) { return existing.count(p) > 0; }, separator);
  }
};

TEST_F(Read, FirstRunGivesTheDefaultsAndWritesTheStartTime) {
  SettingsRead r = read();
  EXPECT_EQ(r.auto_time, std::nullopt) << "the picker keeps its value";
  EXPECT_EQ(r.auto_time_error, std::nullopt);
  EXPECT_EQ(r.auto_dir_caption, "Please choose Directory");
  EXPECT_EQ(r.auto_dir, "Please choose Directory");
  EXPECT_FALSE(r.variable_check);
  EXPECT_EQ(r.variable_dir, std::nullopt);
  EXPECT_TRUE(r.program_dir_check);
  EXPECT_TRUE(r.working_directory_check);
  EXPECT_FALSE(r.std_dir_checked);
  EXPECT_FALSE(r.no_msg_check);
  EXPECT_FALSE(r.close_tb_bck_check);
  EXPECT_EQ(fs.files[kPath], "[INFOS]\r\nAuto_Time=07:08:09\r\n");
  EXPECT_EQ(looked_up, std::vector<std::string>{"MSG_21"});

  EXPECT_EQ(read().auto_time, (TimeOfDay{7, 8, 9})) << "the next show reads it";
}

TEST_F(Read, StoredValuesReachTheResult) {
  fs.files[kPath] =
      "[INFOS]\r\nAuto_Time=23:59:58\r\nAuto_dir=\r\nvariable_check=0x1\r\n"
      "Variable_dir=D:\\Plugins\\\r\nProgramDir_check=yes\r\nWorkingDirectory_Check=0\r\n"
      "STD_DIR_Checked=1\r\nno_msg_check=1\r\nclose_tb_bck_check=2\r\n";
  existing.insert("D:\\Plugins\\");
  SettingsRead r = read();
  EXPECT_EQ(r.auto_time, (TimeOfDay{23, 59, 58}));
  EXPECT_EQ(r.auto_dir, "") << "an empty Auto_dir is not the MSG_21 text";
  EXPECT_EQ(r.auto_dir_caption, "");
  EXPECT_TRUE(r.variable_check);
  EXPECT_EQ(r.variable_dir, "D:\\Plugins\\");
  EXPECT_TRUE(r.program_dir_check) << "a non-integer reads as the default";
  EXPECT_FALSE(r.working_directory_check);
  EXPECT_TRUE(r.std_dir_checked);
  EXPECT_TRUE(r.no_msg_check);
  EXPECT_TRUE(r.close_tb_bck_check);
}

TEST_F(Read, UserDefinedDirectoryIsTakenOnlyWhenItExists) {
  fs.files[kPath] = "[INFOS]\r\nAuto_Time=10:00:00\r\nVariable_dir=D:\\Deleted\\\r\n";
  EXPECT_EQ(read().variable_dir, std::nullopt);
  existing.insert("D:\\Deleted\\");
  EXPECT_EQ(read().variable_dir, "D:\\Deleted\\");
}

TEST_F(Read, BadAutoTimeIsReportedAndTheOtherSettingsStillCount) {
  fs.files[kPath] = "[INFOS]\r\nAuto_Time=25:00:00\r\nAuto_dir=E:\\Sets\\\r\nno_msg_check=1\r\n";
  SettingsRead r = read();
  EXPECT_EQ(r.auto_time, std::nullopt);
  EXPECT_EQ(r.auto_time_error, "'25:00:00' ist keine g\xC3\xBCltige Uhrzeit");
  EXPECT_EQ(r.auto_dir, "E:\\Sets\\");
  EXPECT_TRUE(r.no_msg_check);
  EXPECT_EQ(fs.files[kPath].find("07:08:09"), std::string::npos) << "the bad value stays";
}

TEST_F(Read, RefusedAutoTimeWriteEndsTheRead) {
  fs.read_only.insert(kPath);
  EXPECT_THROW(read(), Error);
  EXPECT_TRUE(looked_up.empty());
}

TEST(TimeOfDayText, ParsesTheLocaleSeparatorAndTheColon) {
  const struct {
    const char* text;
    const char* separator;
    std::optional<TimeOfDay> time;
  } cases[] = {
      {"07:08:09", ":", TimeOfDay{7, 8, 9}}, {"7:8", ":", TimeOfDay{7, 8, 0}},
      {"07.08.09", ".", TimeOfDay{7, 8, 9}}, {"07:08:09", ".", TimeOfDay{7, 8, 9}},
      {"00:00:00", ":", TimeOfDay{0, 0, 0}}, {"07.08.09", ":", std::nullopt},
      {"24:00:00", ":", std::nullopt},       {"12:60:00", ":", std::nullopt},
      {"12:00:60", ":", std::nullopt},       {"12", ":", std::nullopt},
      {"12:00:00:00", ":", std::nullopt},    {"123:00", ":", std::nullopt},
      {"12::00", ":", std::nullopt},         {"", ":", std::nullopt},
      {"zwölf", ":", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_time_of_day(c.text, c.separator), c.time) << c.text;
  EXPECT_EQ(format_time_of_day({7, 8, 9}), "07:08:09");
}

}  // namespace
}  // namespace qln
