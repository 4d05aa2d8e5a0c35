// Encodings against real files: what the program writes must read back unchanged, and files
// of older versions and of other editors must stay readable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/local_file_system.h"
#include "settings/ini_file.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

std::string utf16le(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(char(c & 0xFF));
    out.push_back(char(c >> 8));
  }
  return out;
}

struct RealFile : ::testing::Test {
  fs::path dir;
  std::string path;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qln_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = (dir / "qln_settings.dat").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string bytes() {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void given(const std::string& b) { std::ofstream(path, std::ios::binary) << b; }
};

TEST_F(RealFile, PathOutsideTheAnsiCodePageSurvivesAWriteAndARead) {
  const std::string cyrillic = "D:\\\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0\\";  // D:\Почта\ .
  const std::string chinese = "E:\\\xE9\x82\xAE\xE4\xBB\xB6\\";                   // E:\邮件\ .
  IniFile ini(local_file_system(), path);
  ini.write_string("INFOS", "Auto_dir", "C:\\Sicherung f\xC3\xBCr Mail\\");
  ini.write_string("INFOS", "Variable_dir", cyrillic);
  ini.write_string("BCK", "05_03_2024#18_30_00", chinese);

  IniFile reopened(local_file_system(), path);
  EXPECT_EQ(reopened.read_string("INFOS", "Variable_dir", ""), cyrillic);
  EXPECT_EQ(reopened.read_string("BCK", "05_03_2024#18_30_00", ""), chinese);
  EXPECT_EQ(reopened.read_string("INFOS", "Auto_dir", ""), "C:\\Sicherung f\xC3\xBCr Mail\\");
  EXPECT_EQ(bytes().substr(0, 20), utf16le(u"\uFEFF[INFOS]\r\n"))
      << "the profile functions' own Unicode form";
}

TEST_F(RealFile, AnsiTextIsWrittenAsAnsiAndReturnsToItWhenTheLastForeignValueGoes) {
  IniFile ini(local_file_system(), path);
  ini.write_string("INFOS", "Auto_dir", "C:\\Sicherung f\xC3\xBCr Mail\\");
  EXPECT_EQ(bytes(), "[INFOS]\r\nAuto_dir=C:\\Sicherung f\xFCr Mail\\\r\n");
  ini.write_string("INFOS", "Variable_dir", "D:\\\xD0\x9F\\");
  EXPECT_EQ(bytes().substr(0, 2), "\xFF\xFE");
  ini.delete_key("INFOS", "Variable_dir");
  EXPECT_EQ(bytes(), "[INFOS]\r\nAuto_dir=C:\\Sicherung f\xFCr Mail\\\r\n");
}

TEST_F(RealFile, ReadsAnsiUtf8AndUtf16FilesOfOtherWriters) {
  const struct {
    const char* what;
    std::string bytes;
  } files[] = {
      {"ANSI", "[INFOS]\r\nAuto_dir=C:\\Gr\xF6\xDF\x65\\\r\n"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[INFOS]\nAuto_dir=C:\\Gr\xC3\xB6\xC3\x9F\x65\\\n"},
      {"UTF-16LE with BOM", utf16le(u"\uFEFF[INFOS]\r\nAuto_dir=C:\\Gr\u00F6\u00DFe\\")},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    given(f.bytes);
    IniFile ini(local_file_system(), path);
    EXPECT_EQ(ini.read_string("infos", "auto_dir", ""),
              "C:\\Gr\xC3\xB6\xC3\x9F"
              "e\\");
  }
}

}  // namespace
}  // namespace qln
