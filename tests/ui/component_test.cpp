#include "ui/component.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace qln::ui {
namespace {

struct Forms : ::testing::Test {
  Application app{"Quillane"};
  Form& main = app.add<Form>("tb_form");
  Form& settings = app.add<Form>("ext_form");
  Control& button = main.add<Control>("bck_save", "Backup starten");
};

TEST_F(Forms, LookupIgnoresCase) {
  EXPECT_EQ(app.find_form("TB_FORM"), &main);
  EXPECT_EQ(app.find_form("Ext_Form"), &settings);
  EXPECT_EQ(app.find_form("misc"), nullptr);
  EXPECT_EQ(main.find_control("BCK_SAVE"), &button);
  EXPECT_EQ(main.find_control("update_label"), nullptr);
  EXPECT_EQ(settings.find_control("bck_save"), nullptr) << "lookup stays inside one form";
}

TEST_F(Forms, StringPropertyTakesTheValue) {
  button.set_property("caption", "Start Backup");
  button.set_property("HINT", "Starts a backup");
  EXPECT_EQ(button.caption(), "Start Backup");
  EXPECT_EQ(button.hint(), "Starts a backup");
}

TEST_F(Forms, OtherTypedPropertyIsLeftAloneSilently) {
  for (const char* p : {"Width", "Visible", "Name", "Tag"})
    EXPECT_NO_THROW(button.set_property(p, "Start Backup")) << p;
  EXPECT_EQ(button.caption(), "Backup starten");
  EXPECT_EQ(button.name(), "bck_save");
  EXPECT_TRUE(button.visible());
}

TEST_F(Forms, UnpublishedPropertyRaisesTheFrameworkError) {
  try {
    button.set_property("Captoin", "x");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Eigenschaft Captoin existiert nicht");
  }
  EXPECT_EQ(button.caption(), "Backup starten");
}

TEST_F(Forms, DispatchReportsAnEscapingErrorAndGoesOn) {
  std::vector<std::string> shown;
  app.report_error = [&](const std::string& m) { shown.push_back(m); };
  EXPECT_FALSE(app.dispatch([] { throw Error("In C:\\x kann nicht geschrieben werden"); }));
  bool ran = false;
  EXPECT_TRUE(app.dispatch([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(shown, std::vector<std::string>{"In C:\\x kann nicht geschrieben werden"});
}

}  // namespace
}  // namespace qln::ui
