// The files IniFile writes must stay readable, and writable, by the platform's own profile
// functions (older versions of the program and other tools use them).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/local_file_system.h"
#include "platform/win32/wide.h"
#include "settings/ini_file.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

struct ProfileFile : ::testing::Test {
  fs::path dir;
  std::string path;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          (std::string("qln_profile_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = win32::narrow((dir / "qln_settings.dat").wstring());
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string profile_read(const char* section, const char* key) {
    wchar_t buf[2048] = {};
    GetPrivateProfileStringW(win32::wide(section).c_str(), win32::wide(key).c_str(), L"<none>", buf,
                             2048, win32::wide(path).c_str());
    return win32::narrow(buf);
  }
  void profile_write(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringW(win32::wide(section).c_str(), win32::wide(key).c_str(),
                                           win32::wide(value).c_str(), win32::wide(path).c_str()));
  }
};

TEST_F(ProfileFile, AnsiAndUnicodeFilesReadTheSameBothWays) {
  const std::string umlaut = "C:\\Sicherung f\xC3\xBCr Mail\\";
  const std::string cyrillic = "D:\\\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0\\";
  IniFile ini(local_file_system(), path);

  ini.write_string("INFOS", "Auto_dir", umlaut);  // an ANSI file
  EXPECT_EQ(profile_read("infos", "auto_dir"), umlaut);

  ini.write_string("BCK", "05_03_2024#18_30_00", cyrillic);  // now UTF-16LE
  EXPECT_EQ(profile_read("BCK", "05_03_2024#18_30_00"), cyrillic);
  EXPECT_EQ(profile_read("INFOS", "Auto_dir"), umlaut);

  profile_write("BCK", "06_03_2024#18_30_00", cyrillic + "2\\");
  EXPECT_EQ(ini.read_string("BCK", "06_03_2024#18_30_00", ""), cyrillic + "2\\");
  EXPECT_EQ(ini.read_string("BCK", "05_03_2024#18_30_00", ""), cyrillic);
  EXPECT_EQ(ini.keys("BCK"),
            (std::vector<std::string>{"05_03_2024#18_30_00", "06_03_2024#18_30_00"}));
}

TEST_F(ProfileFile, FilesOfTheProfileFunctionsReadBack) {
  profile_write("INFOS", "lang", "1");
  profile_write("INFOS", "Variable_dir", "E:\\Plugins f\xC3\xBCr Mail\\");
  profile_write("BCK", "a", "D:\\a\\");
  IniFile ini(local_file_system(), path);
  EXPECT_EQ(ini.read_integer("INFOS", "lang", 0), 1);
  EXPECT_EQ(ini.read_string("INFOS", "Variable_dir", ""), "E:\\Plugins f\xC3\xBCr Mail\\");
  ini.delete_key("BCK", "a");
  EXPECT_EQ(profile_read("BCK", "a"), "<none>");
  EXPECT_EQ(profile_read("INFOS", "lang"), "1");
}

}  // namespace
}  // namespace qln
