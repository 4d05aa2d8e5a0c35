#include "lang/apply_language.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/fake/fake_file_system.h"

namespace qln::lang {
namespace {

constexpr char kFolder[] = "C:\\Temp\\";
constexpr char kSettings[] = "C:\\Quillane\\qln_settings.dat";

struct Switch : ::testing::Test {
  FakeFileSystem fs;
  ui::Application app{"Quillane"};
  ui::Form& main = app.add<ui::Form>("tb_form");
  ui::Control& bck_save = main.add<ui::Control>("bck_save", "Backup starten");
  Tlang_system& lang = main.add<Tlang_system>(app, fs);
  IniFile settings{fs, kSettings};
  std::vector<ListColumnCaptions> columns;

  void SetUp() override {
    fs.files["C:\\Temp\\english.lng"] =
        "[tb_form]\r\nbck_save.Caption=Start Backup\r\n[misc]\r\nLIST_1=Date:\r\nLIST_2=Size KB:";
    fs.files["C:\\Temp\\german.lng"] =
        "[tb_form]\r\nbck_save.Caption=Backup starten\r\n[misc]\r\nLIST_1=Vom:\r\n"
        "LIST_2=Gr\xF6\xDF\x65 kb:";
  }
  void apply(int n) {
    load_language(n, kFolder, lang, settings,
                  [this](const ListColumnCaptions& c) { columns.push_back(c); });
  }
};

TEST_F(Switch, EnglishThenGermanAreAppliedAndRecorded) {
  apply(1);
  EXPECT_EQ(bck_save.caption(), "Start Backup");
  EXPECT_EQ(columns.back(), (ListColumnCaptions{"Date:", "Size KB:"}));
  EXPECT_EQ(settings.read_integer("INFOS", "lang", -1), 1);
  apply(0);
  EXPECT_EQ(bck_save.caption(), "Backup starten");
  EXPECT_EQ(columns.back(), (ListColumnCaptions{"Vom:", "Gr\xC3\xB6\xC3\x9F\x65 kb:"}));
  EXPECT_EQ(settings.read_integer("INFOS", "lang", -1), 0);
}

TEST_F(Switch, OtherNumbersLoadNothingAndWriteNothing) {
  fs.files[kSettings] = "[INFOS]\r\nlang=7\r\n";
  apply(7);
  EXPECT_TRUE(columns.empty());
  EXPECT_EQ(fs.files[kSettings], "[INFOS]\r\nlang=7\r\n");
  EXPECT_EQ(lang.lang_file(), "");
  EXPECT_EQ(language_file_for(-1, kFolder), std::nullopt);
  EXPECT_EQ(language_file_for(1, kFolder), "C:\\Temp\\english.lng");
}

TEST_F(Switch, DeletedFileGivesBuiltInTextsButTheNumberIsRecorded) {
  fs.files.erase("C:\\Temp\\english.lng");
  apply(1);
  EXPECT_EQ(bck_save.caption(), "Backup starten");
  EXPECT_EQ(columns.back(), (ListColumnCaptions{"Vom:", "Gr\xC3\xB6\xC3\x9F\x65 kb:"}));
  EXPECT_EQ(settings.read_integer("INFOS", "lang", -1), 1);
}

TEST_F(Switch, ReadOnlySettingsStopTheSwitchAfterTheColumns) {
  fs.read_only.insert(kSettings);
  EXPECT_THROW(apply(1), Error);
  EXPECT_EQ(bck_save.caption(), "Start Backup");
  EXPECT_EQ(columns.size(), 1u);
}

TEST(LanguageFiles, AreWrittenOverOldCopiesAndDeletedAgain) {
  FakeFileSystem fs;
  fs.files["C:\\Temp\\english.lng"] = "stale";
  extract_language_files(fs, kFolder, "EN", "DE");
  EXPECT_EQ(fs.files["C:\\Temp\\english.lng"], "EN");
  EXPECT_EQ(fs.files["C:\\Temp\\german.lng"], "DE");
  delete_language_files(fs, kFolder);
  EXPECT_TRUE(fs.files.empty());
  EXPECT_NO_THROW(delete_language_files(fs, kFolder));
}

TEST(LanguageFiles, UnwritableFolderRaisesTheFileCreationError) {
  FakeFileSystem fs;
  fs.read_only.insert("C:\\Temp\\german.lng");
  try {
    extract_language_files(fs, kFolder, "EN", "DE");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Datei C:\\Temp\\german.lng kann nicht erstellt werden");
  }
  EXPECT_EQ(fs.files["C:\\Temp\\english.lng"], "EN") << "English comes first";
}

struct FixedEnvironment final : Environment {
  std::optional<std::string> temp;
  std::optional<std::string> variable(const std::string& name) override {
    return name == "TEMP" ? temp : std::nullopt;
  }
  std::string temp_directory() override { return "C:\\Windows\\Temp\\"; }
  std::string startup_folder() override { return {}; }
  std::string program_folder() override { return {}; }
  LocalTime now() override { return {}; }
};

TEST(LanguageFolder, IsTempWithBackslashOrTheSystemTemporaryFolder) {
  FixedEnvironment env;
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {"C:\\Users\\Ann\\AppData\\Local\\Temp", "C:\\Users\\Ann\\AppData\\Local\\Temp\\"},
      {"D:\\Tmp\\", "D:\\Tmp\\"},
      {"", "C:\\Windows\\Temp\\"},
      {std::nullopt, "C:\\Windows\\Temp\\"},
  };
  for (const auto& [temp, folder] : cases) {
    env.temp = temp;
    EXPECT_EQ(language_folder(env), folder) << temp.value_or("(unset)");
  }
}

}  // namespace
}  // namespace qln::lang
