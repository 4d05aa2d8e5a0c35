// Language switching on the real windows, with the shipped language files.
#include <gtest/gtest.h>

#include "app_under_test.h"

namespace qln::e2e {
namespace {

TEST(Language, EnglishFlagAppliesTheShippedFileAndIsRememberedForTheNextStart) {
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  EXPECT_TRUE(find_child(main, "Backup starten"));
  std::string settings = read_file(app.folder() + "qln_settings.dat");
  EXPECT_NE(settings.find("lang=0"), std::string::npos) << settings;
  EXPECT_NE(settings.find("Auto_Time="), std::string::npos) << settings;

  click(find_child(main, "Change language to english"));
  // The language is recorded once the whole file has been applied.
  ASSERT_TRUE(wait_until(
      [&] {
        return read_file(app.folder() + "qln_settings.dat").find("lang=1") != std::string::npos;
      },
      10000));
  EXPECT_TRUE(find_child(main, "Start Backup"));
  EXPECT_TRUE(find_child(main, "Settings")) << "menu_img's hint";
  EXPECT_TRUE(find_child(main, "Manage Backups"));
  EXPECT_TRUE(find_child(main, "Close"));
  // The file's lines for controls this window lacks raise nothing.
  EXPECT_FALSE(app.find_window_of_class("#32770"));

  click(find_child(main, "X"));
  ASSERT_TRUE(app.wait_exit(0, 10000));
  int next = app.start();
  HWND again = app.wait_window("Quillane", 20000, next);
  ASSERT_TRUE(again);
  EXPECT_TRUE(find_child(again, "Start Backup"));
}

}  // namespace
}  // namespace qln::e2e
