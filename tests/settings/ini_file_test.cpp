#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/fake/fake_file_system.h"

namespace qln {
namespace {

constexpr char kPath[] = "C:\\Quillane\\qln_settings.dat";

struct Ini : ::testing::Test {
  FakeFileSystem fs;
  IniFile ini{fs, kPath};
  void given(const std::string& text) { fs.files[kPath] = text; }
  const std::string& stored() { return fs.files[kPath]; }
};

TEST_F(Ini, ReadsValuesAsTheSettingsNeedThem) {
  given(
      "[INFOS]\r\n"
      "ProgramDir_check=yes\r\n"
      "WorkingDirectory_Check=0\r\n"
      "variable_check=0x1\r\n"
      "Auto_dir=\r\n"
      "  spaced  =  C:\\Backups\\  \r\n"
      "negative=-7\r\n"
      "hex_all=0xFFFFFFFF\r\n"
      "too_big=99999999999\r\n"
      "half=12abc\r\n"
      "message=a=b\r\n");
  struct Case {
    const char* key;
    bool present;
    const char* text;  // read with default "dflt"
    int integer;       // read with default 42
    bool boolean;      // read with default true
  } cases[] = {
      {"ProgramDir_check", true, "yes", 42, true}, {"WorkingDirectory_Check", true, "0", 0, false},
      {"variable_check", true, "0x1", 1, true},    {"Auto_dir", true, "", 42, true},
      {"spaced", true, "C:\\Backups\\", 42, true}, {"negative", true, "-7", -7, true},
      {"hex_all", true, "0xFFFFFFFF", -1, true},   {"too_big", true, "99999999999", 42, true},
      {"half", true, "12abc", 42, true},           {"message", true, "a=b", 42, true},
      {"missing", false, "dflt", 42, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.key_present("INFOS", c.key), c.present);
    EXPECT_EQ(ini.read_string("INFOS", c.key, "dflt"), c.text);
    EXPECT_EQ(ini.read_integer("INFOS", c.key, 42), c.integer);
    EXPECT_EQ(ini.read_bool("INFOS", c.key, true), c.boolean);
  }
  EXPECT_FALSE(ini.read_bool("INFOS", "variable_check_missing", false));
  EXPECT_FALSE(ini.read_bool("INFOS", "Auto_dir", false)) << "empty value gives the default";
}

TEST_F(Ini, NamesMatchWithoutCaseAndTheFirstOccurrenceCounts) {
  given(
      "stray=before any section\r\n"
      "[Infos]\r\n"
      "; Auto_dir=commented out\r\n"
      "AUTO_DIR=first\r\n"
      "auto_dir=second\r\n"
      "no equals sign\r\n"
      "[BCK]\r\n"
      "a=1\r\n"
      "[infos]\r\n"
      "later=ignored\r\n");
  EXPECT_EQ(ini.read_string("INFOS", "Auto_dir", "x"), "first");
  EXPECT_EQ(ini.keys("infos"), (std::vector<std::string>{"AUTO_DIR"}));
  EXPECT_FALSE(ini.key_present("INFOS", "later"));
  EXPECT_FALSE(ini.key_present("INFOS", "stray"));
  EXPECT_FALSE(ini.key_present("INFOS", "no equals sign"));
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Infos", "BCK"}));
}

TEST_F(Ini, MissingFileReadsDefaultsAndOpeningCreatesNothing) {
  EXPECT_EQ(ini.read_string("INFOS", "lang", "d"), "d");
  EXPECT_EQ(ini.read_integer("INFOS", "lang", 0), 0);
  EXPECT_TRUE(ini.keys("BCK").empty());
  ini.delete_key("BCK", "x");
  EXPECT_TRUE(fs.files.empty());
}

TEST_F(Ini, LongValuesAreCutAt2047Characters) {
  std::string umlauts;
  for (int i = 0; i < 2100; ++i) umlauts += "\xC3\xA4";  // two bytes, one character each
  given("\xEF\xBB\xBF[BCK]\r\nlong=" + umlauts + "\r\nexact=" + std::string(2047, 'x') + "\r\n");
  std::string cut = ini.read_string("BCK", "long", "");
  EXPECT_EQ(cut.size(), 2047u * 2);
  EXPECT_TRUE(cut == umlauts.substr(0, 2047 * 2));
  EXPECT_EQ(ini.read_string("BCK", "exact", "").size(), 2047u);
  EXPECT_TRUE(ini.find_value("BCK", "long") == umlauts) << "only read_string cuts";
}

TEST_F(Ini, KeysKeepFileOrderThroughAppendReplaceAndDelete) {
  ini.write_string("BCK", "01_01_2024#10_00_00", "D:\\Sets\\01_01_2024#10_00_00\\");
  ini.write_string("INFOS", "lang", "0");
  ini.write_string("BCK", "02_01_2024#10_00_00", "D:\\Sets\\02_01_2024#10_00_00\\");
  ini.write_string("BCK", "03_01_2024#10_00_00", "D:\\Sets\\03_01_2024#10_00_00\\");
  ini.write_string("bck", "01_01_2024#10_00_00", "E:\\Moved\\");  // replaced in place
  ini.delete_key("BCK", "02_01_2024#10_00_00");
  ini.write_string("BCK", "04_01_2024#10_00_00", "D:\\Sets\\04\\");
  EXPECT_EQ(ini.keys("BCK"), (std::vector<std::string>{"01_01_2024#10_00_00", "03_01_2024#10_00_00",
                                                       "04_01_2024#10_00_00"}));
  EXPECT_EQ(stored(),
            "[BCK]\r\n"
            "01_01_2024#10_00_00=E:\\Moved\\\r\n"
            "03_01_2024#10_00_00=D:\\Sets\\03_01_2024#10_00_00\\\r\n"
            "04_01_2024#10_00_00=D:\\Sets\\04\\\r\n"
            "[INFOS]\r\n"
            "lang=0\r\n");
}

TEST_F(Ini, WritesLeaveForeignLinesAndTheStoredSpellingAlone) {
  given(
      "; written by hand\n"
      "[INFOS]\n"
      "Lang=1\n"
      "; keep me\n"
      "\n"
      "[BCK]\n"
      "x=1\n"
      "x=2\n");
  ini.write_integer("INFOS", "LANG", 0);
  ini.write_bool("INFOS", "no_msg_check", true);
  ini.delete_key("BCK", "X");
  EXPECT_EQ(stored(),
            "; written by hand\r\n"
            "[INFOS]\r\n"
            "Lang=0\r\n"
            "; keep me\r\n"
            "no_msg_check=1\r\n"
            "\r\n"
            "[BCK]\r\n");
  EXPECT_FALSE(ini.key_present("BCK", "x")) << "a duplicate must not resurface";
}

TEST_F(Ini, RefusedWriteRaisesWithTheFullPath) {
  fs.read_only.insert(kPath);
  try {
    ini.write_string("INFOS", "lang", "0");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "In C:\\Quillane\\qln_settings.dat kann nicht geschrieben werden");
  }
}

// A file that exists but cannot be read (locked, no rights) must not be replaced by one that
// holds only the new key: that would lose the whole backup list.
TEST(IniUnreadable, WriteRefusesInsteadOfReplacingTheFile) {
  class Locked final : public FileSystem {
   public:
    FakeFileSystem inner;
    bool file_exists(const std::string& p) override { return inner.file_exists(p); }
    bool directory_exists(const std::string& p) override { return inner.directory_exists(p); }
    std::optional<std::string> read_file(const std::string&) override { return std::nullopt; }
    bool write_file_atomic(const std::string& p, const std::string& d) override {
      return inner.write_file_atomic(p, d);
    }
    bool write_file(const std::string& p, const std::string& d) override {
      return inner.write_file(p, d);
    }
    bool delete_file(const std::string& p) override { return inner.delete_file(p); }
    bool move_file(const std::string& f, const std::string& t) override {
      return inner.move_file(f, t);
    }
    bool create_directory(const std::string& p) override { return inner.create_directory(p); }
    std::vector<DirEntry> list_directory(const std::string& p) override {
      return inner.list_directory(p);
    }
  } fs;
  fs.inner.files[kPath] = "[BCK]\r\na=D:\\a\\\r\n";
  IniFile ini(fs, kPath);
  EXPECT_THROW(ini.write_string("BCK", "b", "D:\\b\\"), Error);
  EXPECT_THROW(ini.delete_key("BCK", "a"), Error);
  EXPECT_EQ(fs.inner.files[kPath], "[BCK]\r\na=D:\\a\\\r\n");
}

TEST_F(Ini, KeysAndValuesThatWouldNotReadBackAreRefused) {
  given("[BCK]\r\na=1\r\n");
  const std::pair<const char*, const char*> bad[] = {
      {"set=one", "D:\\x\\"},     // would read back as key "set"
      {";set", "D:\\x\\"},        // would read as a comment
      {"[set", "D:\\x]"},         // the line would open a section
      {"", "D:\\x\\"},            // no key at all
      {"two\r\nlines", "x"},      //
      {"set", "D:\\x\r\n[BCK]"},  // a value must not add lines
  };
  for (const auto& [key, value] : bad) {
    SCOPED_TRACE(key);
    EXPECT_THROW(ini.write_string("BCK", key, value), Error);
  }
  EXPECT_EQ(stored(), "[BCK]\r\na=1\r\n");
  ini.write_string("BCK", "[set]x", "D:\\[set]x\\");  // brackets inside are fine
  EXPECT_EQ(ini.read_string("BCK", "[set]x", ""), "D:\\[set]x\\");
}

TEST(IniInteger, ParsesDecimalAndHexOnly) {
  EXPECT_EQ(parse_ini_integer("0x1F"), 31);
  EXPECT_EQ(parse_ini_integer("0X1f"), 31);
  EXPECT_EQ(parse_ini_integer("+5"), 5);
  EXPECT_EQ(parse_ini_integer("-0"), 0);
  for (const char* bad : {"", "0x", "0x100000000", "1.5", "1 2", "$10", "true", "--1", " 1"})
    EXPECT_EQ(parse_ini_integer(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace qln
