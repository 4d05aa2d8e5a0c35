#include "lang/lang_system.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/fake/fake_file_system.h"

namespace qln::lang {
namespace {

constexpr char kFile[] = "C:\\Temp\\test.lng";
constexpr char kCr[] = "\r";

struct Lang : ::testing::Test {
  FakeFileSystem fs;
  ui::Application app{"Quillane"};
  ui::Form& main = app.add<ui::Form>("tb_form");
  ui::Form& settings = app.add<ui::Form>("ext_form");
  ui::Control& bck_save = main.add<ui::Control>("bck_save", "Backup starten");
  ui::Control& menu_img = main.add<ui::Control>("menu_img");
  ui::Control& auto_button = settings.add<ui::Control>("auto_button", "Autobackup starten");
  Tlang_system& lang = main.add<Tlang_system>(app, fs);

  void given(const std::string& text) { fs.files[kFile] = text; }
};

TEST_F(Lang, MiscLookupCases) {
  given(
      "; comment=ignored\r\n"
      "[tb_form]\r\n"
      "MSG_1=not in misc\r\n"
      "  [ MISC ]  \r\n"
      "  LIST_1  =  Date:  \r\n"
      "msg_13=ab\r\n"
      "MSG_14=abc\r\n"
      "MSG_15=\r\n"
      "MSG_16=~~\r\n"
      "MSG_17=one~~two\r\n"
      "MSG_18=A*|*B\r\n"
      "MSG_19=*|*B\r\n"
      "MSG_20=*|**|*A*|**|*B*|*C\r\n"
      "MSG_22=x = y\r\n"
      "MSG_23=\xE4\xF6\r\n"
      "MSG_24=\xE4\xF6\xFC\r\n"
      "MSG_25=  a  \r\n"
      "MSG_26=first\r\n"
      "MSG_26=second\r\n"
      "[misc]\r\n"
      "MSG_27=under a repeated header\r\n");
  lang.LoadLanguage(kFile);
  const struct {
    const char* key;
    std::string val;
    std::string expected;
  } cases[] = {
      {"LIST_1", "Vom:", "Date:"},  // blanks around name and value
      {"list_1", "Vom:", "Date:"},  // key case
      {"MSG_13", "Kein Backup-Verzeichnis", "Kein Backup-Verzeichnis"},        // two characters
      {"MSG_14", "built-in", "abc"},                                           // three characters
      {"MSG_15", "built-in", "built-in"},                                      // empty entry
      {"MSG_16", std::string("a") + kCr + "b", std::string("a") + kCr + "b"},  // VAL untouched
      {"MSG_17", "x", "one\r\ntwo"},
      {"MSG_18", "x", "A\r\nB"},
      {"MSG_19", "x", "\r\nB"},
      {"MSG_20", "x", "A\r\n\r\nB\r\nC"},
      {"MSG_22", "x", "x = y"},            // a message may hold "="
      {"MSG_23", "built-in", "built-in"},  // two characters, four bytes
      {"MSG_24", "x", "\xC3\xA4\xC3\xB6\xC3\xBC"},
      {"MSG_25", "built-in", "built-in"},  // one character after trimming
      {"MSG_26", "x", "first"},
      {"MSG_27", "Backup steht schon", "Backup steht schon"},
      {"MSG_1", "Sollte", "Sollte"},                                // other sections do not count
      {"MSG_99", "Kein~~Ersatz*|*hier", "Kein\r\nErsatz\r\nhier"},  // missing: VAL, replaced
  };
  for (const auto& c : cases) EXPECT_EQ(lang.misc(c.val, c.key), c.expected) << c.key;
}

TEST_F(Lang, WithoutAFileTheBuiltInTextsCome) {
  const std::string msg_17 = std::string("Kein The Bat! Verzeichnis gefunden!") + kCr +
                             "Eventuell manuell w\xC3\xA4hlen...";
  EXPECT_EQ(lang.misc(msg_17, "MSG_17"), msg_17);
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Vom:");
  EXPECT_EQ(lang.lang_file(), "");
}

TEST_F(Lang, MiscReadsTheFileAfreshAtEveryCall) {
  given("[misc]\r\nLIST_1=Date:\r\n");
  lang.LoadLanguage(kFile);
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Date:");
  given("[misc]\r\nLIST_1=Datum:\r\n");
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Datum:");
  fs.files.clear();
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Vom:");
}

TEST_F(Lang, LoadAppliesCaptionSectionsByComponentAndPropertyName) {
  given(
      "[TB_FORM]\r\n"
      "BCK_SAVE.caption=Start Backup\r\n"
      "bck_save.Hint=Line one~~line two\r\n"
      "update_label.Caption=Update Check\r\n"
      "menu_img.Hint=Settings\r\n"
      "menu_img.Hint=Settings (later wins)\r\n"
      "bck_save.Width=200\r\n"
      "bck_saveCaption=no point\r\n"
      "bck_save.Caption.x=two points\r\n"
      "bck_save.Caption=a=b\r\n"
      "lang_system.Name=renamed\r\n"
      "[INFOS]\r\n"
      "lang=1\r\n"
      "[ext_form]\r\n"
      "auto_button.Caption=Activate\r\n"
      "[frmProgress]\r\n"
      "[misc]\r\n"
      "bck_save.Caption=from misc\r\n");
  lang.LoadLanguage(kFile);
  EXPECT_EQ(bck_save.caption(), "Start Backup");
  EXPECT_EQ(bck_save.hint(), "Line one\r\nline two");
  EXPECT_EQ(menu_img.hint(), "Settings (later wins)");
  EXPECT_EQ(auto_button.caption(), "Activate");
  EXPECT_EQ(lang.name(), "lang_system");
  EXPECT_EQ(lang.lang_file(), kFile);
}

TEST_F(Lang, InfosIsNeverAppliedButOtherCaseIsAnyName) {
  ui::Form& infos = app.add<ui::Form>("INFOS");
  ui::Control& label = infos.add<ui::Control>("label", "old");
  given("[ INFOS ]\r\nlabel.Caption=applied\r\n");
  lang.LoadLanguage(kFile);
  EXPECT_EQ(label.caption(), "old");
  given("[infos]\r\nlabel.Caption=applied\r\n");
  lang.LoadLanguage(kFile);
  EXPECT_EQ(label.caption(), "applied");
}

TEST_F(Lang, UnpublishedPropertyStopsTheLoadThere) {
  given(
      "[tb_form]\r\n"
      "bck_save.Caption=Start Backup\r\n"
      "bck_save.Captoin=typo\r\n"
      "menu_img.Hint=Settings\r\n"
      "[ext_form]\r\n"
      "auto_button.Caption=Activate\r\n");
  try {
    lang.LoadLanguage(kFile);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Eigenschaft Captoin existiert nicht");
  }
  EXPECT_EQ(bck_save.caption(), "Start Backup");
  EXPECT_EQ(menu_img.hint(), "");
  EXPECT_EQ(auto_button.caption(), "Autobackup starten");
}

TEST_F(Lang, MissingFileChangesNothingButIsRemembered) {
  given("[misc]\r\nLIST_1=Date:\r\n");
  lang.LoadLanguage(kFile);
  lang.LoadLanguage("C:\\Temp\\english.lng");
  EXPECT_EQ(lang.lang_file(), "C:\\Temp\\english.lng");
  EXPECT_EQ(bck_save.caption(), "Backup starten");
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Vom:");
}

TEST_F(Lang, ReadsFilesWithByteOrderMarks) {
  given("\xEF\xBB\xBF[tb_form]\r\nbck_save.Caption=\xD0\x9F\xD1\x83\xD1\x81\xD0\xBA\r\n");
  lang.LoadLanguage(kFile);
  EXPECT_EQ(bck_save.caption(), "\xD0\x9F\xD1\x83\xD1\x81\xD0\xBA");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[misc]\r\nLIST_1=Date:")) utf16 += std::string{c, '\0'};
  given(utf16);
  EXPECT_EQ(lang.misc("Vom:", "LIST_1"), "Date:");
}

}  // namespace
}  // namespace qln::lang
