// The two language files as shipped: their bytes, and what they do to the windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "lang/lang_system.h"
#include "platform/local_file_system.h"

namespace qln::lang {
namespace {

const std::string kGerman = QLN_SOURCE_DIR "/res/lang/german.lng";
const std::string kEnglish = QLN_SOURCE_DIR "/res/lang/english.lng";

std::string bytes_of(const std::string& path) {
  auto b = local_file_system().read_file(path);
  return b.value_or("");
}

TEST(ShippedFiles, AreWindows1252WithCrLfAndNoFinalLineEnd) {
  for (const auto& path : {kGerman, kEnglish}) {
    SCOPED_TRACE(path);
    std::string b = bytes_of(path);
    ASSERT_FALSE(b.empty());
    EXPECT_TRUE(b.starts_with("[tb_form]\r\nclose_label.Hint="));
    EXPECT_FALSE(b.starts_with("\xEF\xBB\xBF"));
    EXPECT_FALSE(b.ends_with("\n"));
    for (std::size_t i = 0; i < b.size(); ++i) {
      if (b[i] == '\n') {
        EXPECT_EQ(b[i - 1], '\r') << "at " << i;
      }
      if (b[i] == '\r') {
        EXPECT_EQ(b[i + 1], '\n') << "at " << i;
      }
    }
    EXPECT_EQ(std::count(b.begin(), b.end(), '\n'), 65);
    EXPECT_NE(b.find("\r\n[frmProgress]\r\n[misc]\r\n"), std::string::npos);
  }
  std::string de = bytes_of(kGerman), en = bytes_of(kEnglish);
  EXPECT_TRUE(de.ends_with("\r\nLIST_2=Gr\xF6\xDF\x65 kb:"));
  EXPECT_TRUE(en.ends_with("\r\nLIST_2=Size KB:"));
  EXPECT_NE(en.find("\r\nno_msg_check.Caption=Create manual Backups without Status Message \r\n"),
            std::string::npos);
  EXPECT_NE(en.find("\r\nMSG_29=Backup failed! \r\n"), std::string::npos);
}

// The main and settings windows with the controls the language files name (less the two
// that the main window does not have).
struct Windows : ::testing::Test {
  ui::Application app{"Quillane"};
  ui::Form& tb_form = app.add<ui::Form>("tb_form");
  ui::Form& ext_form = app.add<ui::Form>("ext_form");
  ui::Form& progress = app.add<ui::Form>("frmProgress");
  Tlang_system& lang = tb_form.add<Tlang_system>(app, local_file_system());
  ui::Control& bck_save = tb_form.add<ui::Control>("bck_save", "Backup starten");
  ui::Control& menu_img = tb_form.add<ui::Control>("menu_img");
  ui::Control& variable_dir_label = tb_form.add<ui::Control>("variable_dir_label", "none");
  ui::Control& title = tb_form.add<ui::Control>("titel_label", "Quillane v.1.0.0.1");
  ui::Control& no_msg_check = ext_form.add<ui::Control>("no_msg_check");
  ui::Control& auto_dir_label = ext_form.add<ui::Control>("autoDir_label");

  void SetUp() override {
    for (const char* name :
         {"close_label", "CloseButton", "mini_label", "bck_restore", "ProgramDir_titel",
          "WorkingDirectory_titel", "variable_titel", "JvLabel1", "restore_bck_button",
          "restore_bck_label", "del_backup_button", "del_backup_label", "search_backup",
          "search_backup_label", "RegBckButton", "RegBck"})
      tb_form.add<ui::Control>(name);
    for (const char* name :
         {"JvLabel3", "auto_button", "titel_label", "std_dir_checked", "close_tb_bck_check"})
      ext_form.add<ui::Control>(name);
  }
};

TEST_F(Windows, EnglishFileSetsTheNamedTextsAndRaisesNothing) {
  ASSERT_NO_THROW(lang.LoadLanguage(kEnglish));
  EXPECT_EQ(bck_save.caption(), "Start Backup");
  EXPECT_EQ(menu_img.hint(), "Settings");
  EXPECT_EQ(variable_dir_label.caption(), "Choose Directory...");
  EXPECT_EQ(no_msg_check.caption(), "Create manual Backups without Status Message")
      << "the trailing blank is dropped";
  EXPECT_EQ(auto_dir_label.caption(), "Choose Directory");
  EXPECT_EQ(title.caption(), "Quillane v.1.0.0.1") << "titel_label of ext_form only";
  EXPECT_EQ(bck_save.hint(), "") << "not named by the file";
  EXPECT_EQ(tb_form.find_control("update_label"), nullptr);
}

TEST_F(Windows, GermanFileBringsTheUmlautsBack) {
  lang.LoadLanguage(kEnglish);
  lang.LoadLanguage(kGerman);
  EXPECT_EQ(bck_save.caption(), "Backup starten");
  EXPECT_EQ(variable_dir_label.caption(), "Bitte Verzeichnis w\xC3\xA4hlen");
  EXPECT_EQ(tb_form.find_control("del_backup_label")->caption(),
            "Markiertes Backup l\xC3\xB6schen");
}

TEST_F(Windows, MessagesOfBothFiles) {
  const std::string built_in_17 =
      "Kein The Bat! Verzeichnis gefunden!\rEventuell manuell w\xC3\xA4hlen...";
  const struct {
    const std::string* file;
    const char* key;
    std::string val;
    std::string expected;
  } cases[] = {
      {&kGerman, "LIST_1", "Vom:", "Vom:"},
      {&kEnglish, "LIST_1", "Vom:", "Date:"},
      {&kGerman, "LIST_2", "Gr\xC3\xB6\xC3\x9F\x65 kb:", "Gr\xC3\xB6\xC3\x9F\x65 kb:"},
      {&kEnglish, "LIST_2", "Gr\xC3\xB6\xC3\x9F\x65 kb:", "Size KB:"},
      {&kGerman, "MSG_17", built_in_17,
       "Kein The Bat! Verzeichnis gefunden!\r\nEventuell manuell w\xC3\xA4hlen..."},
      {&kEnglish, "MSG_29", "Backup ist fehlgeschlagen!", "Backup failed!"},
      {&kEnglish, "MSG_19", "Autobackup beenden", "Deactivate Auto-Backup"},
      {&kGerman, "MSG_28", "The Bat! Registrydaten in die Registry eintragen?",
       "\"The Bat! RegistryDaten\" in die Registry eintragen?"},
  };
  for (const auto& c : cases) {
    lang.LoadLanguage(*c.file);
    EXPECT_EQ(lang.misc(c.val, c.key), c.expected) << *c.file << " " << c.key;
  }
}

}  // namespace
}  // namespace qln::lang
