// Start-up, single instance, "/auto" and the close decision of the real program.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "app_under_test.h"

namespace qln::e2e {
namespace {

constexpr DWORD kStartTimeout = 20000;

bool file_exists(const std::string& path) {
  DWORD a = GetFileAttributesW(wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// An empty "Quillane.lnk" in the Startup folder arms the daily backup for as long as it exists.
class StartupShortcut {
 public:
  StartupShortcut() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, folder);
    path_ = std::wstring(folder) + L"\\Quillane.lnk";
    HANDLE h = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
  }
  ~StartupShortcut() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

std::string describe_windows(const AppUnderTest& app) {
  std::string all;
  for (HWND h : app.top_level_windows())
    all +=
        class_name(h) + " '" + window_text(h) + "' " + (visible(h) ? "visible" : "hidden") + "; ";
  return all;
}

TEST(SingleInstance, SecondStartEndsSilentlyWhileTheFirstRuns) {
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  for (const char* args : {"", "/auto"}) {
    int second = app.start(args);
    auto code = app.wait_exit(second, 10000);
    ASSERT_TRUE(code) << "second instance (" << args << ") still runs";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(app.top_level_windows(second).empty());
  }
  EXPECT_TRUE(app.running(0));
  EXPECT_TRUE(visible(main));
}

TEST(SingleInstance, AStartAfterTheFirstWasKilledRunsNormally) {
  AppUnderTest app;
  app.start();
  ASSERT_TRUE(app.wait_window("Quillane", kStartTimeout));
  app.kill(0);
  int next = app.start();
  HWND main = app.wait_window("Quillane", kStartTimeout, next);
  ASSERT_TRUE(main);
  EXPECT_TRUE(visible(main));
}

struct AutoCase {
  const char* argument;
  bool hides;
};

class AutoSwitch : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutoSwitch, OnlyTheExactSwitchHidesTheWindowAfterAboutASecond) {
  AppUnderTest app;
  app.start(GetParam().argument);
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  if (GetParam().hides) {
    EXPECT_TRUE(wait_until([&] { return !visible(main); }, 10000));
    EXPECT_TRUE(IsWindow(main)) << "the window only hides";
    EXPECT_TRUE(app.running());
  } else {
    Sleep(2500);
    EXPECT_TRUE(visible(main));
  }
}

INSTANTIATE_TEST_SUITE_P(Arguments, AutoSwitch,
                         ::testing::Values(AutoCase{"/auto", true}, AutoCase{"/AUTO", false},
                                           AutoCase{"auto", false}, AutoCase{"/autox", false}));

class CloseControl : public ::testing::TestWithParam<const char*> {};

TEST_P(CloseControl, WithoutTheShortcutEndsTheProgramAndRemovesTheLanguageFiles) {
  AppUnderTest app;
  std::string temp = *app.environment["TEMP"] + "\\";
  app.start();
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  EXPECT_TRUE(file_exists(temp + "german.lng"));
  EXPECT_TRUE(file_exists(temp + "english.lng"));
  HWND control = find_child(main, GetParam());
  ASSERT_TRUE(control) << GetParam();
  click(control);
  auto code = app.wait_exit(0, 10000);
  ASSERT_TRUE(code) << "still running";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(file_exists(temp + "german.lng"));
  EXPECT_FALSE(file_exists(temp + "english.lng"));
}

INSTANTIATE_TEST_SUITE_P(Controls, CloseControl, ::testing::Values("X", "Beenden"));

TEST(CloseDecision, WithTheShortcutTheCloseControlOnlyHides) {
  StartupShortcut shortcut;
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  click(find_child(main, "Beenden"));
  EXPECT_TRUE(wait_until([&] { return !visible(main); }, 10000));
  Sleep(500);
  EXPECT_TRUE(app.running());
}

TEST(ErrorBox, AnErrorInTheCreationStepIsShownAndTheProgramGoesOn) {
  AppUnderTest app;
  app.environment["TEMP"] = app.folder() + "no such folder";
  app.start();
  HWND box = nullptr;
  ASSERT_TRUE(wait_until(
      [&] {
        box = app.find_window_of_class("#32770");
        return box && visible(box);
      },
      kStartTimeout));
  EXPECT_EQ(window_text(box), "Quillane");
  EXPECT_NE(dialog_message(box).find("kann nicht erstellt werden"), std::string::npos)
      << dialog_message(box);
  answer(box);
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  EXPECT_TRUE(wait_until([&] { return visible(main); }, 10000)) << describe_windows(app);
  // The message loop goes on: the close control still works.
  click(find_child(main, "X"));
  EXPECT_TRUE(app.wait_exit(0, 10000)) << describe_windows(app);
}

TEST(TempFolder, AnUnsetTempFallsBackToTheSystemTemporaryFolder) {
  AppUnderTest app;
  app.environment["TEMP"] = std::nullopt;
  app.start();
  HWND main = app.wait_window("Quillane", kStartTimeout);
  ASSERT_TRUE(main);
  Sleep(500);
  EXPECT_FALSE(app.find_window_of_class("#32770")) << "no error box";
  EXPECT_FALSE(file_exists("C:\\german.lng"));
  click(find_child(main, "X"));
  EXPECT_TRUE(app.wait_exit(0, 10000));
}

}  // namespace
}  // namespace qln::e2e
