// The Win32 pieces the backup job reaches through its interfaces, on the real system.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os_version.h"
#include "platform/recycle_bin.h"
#include "platform/win32/balloon_notifier.h"
#include "platform/win32/taskbar_progress.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(RecycleBin, TakesTheWholeSetFolderWithHiddenAndReadOnlyFiles) {
  fs::path set = fs::temp_directory_path() / "qln_bck_recycle" / "01_03_2023#09_05_03";
  fs::remove_all(set.parent_path());
  fs::create_directories(set / "sub");
  std::ofstream(set / "TB_Mails.zip") << "zip";
  std::ofstream(set / "sub" / "hidden.dat") << "x";
  SetFileAttributesW((set / "sub" / "hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::ofstream(set / "bck_info.dat") << "[INFOS]";
  SetFileAttributesW((set / "bck_info.dat").c_str(), FILE_ATTRIBUTE_READONLY);

  EXPECT_TRUE(make_shell_recycle_bin()->move_to_recycle_bin(set.string()));
  EXPECT_FALSE(fs::exists(set));
  EXPECT_TRUE(fs::exists(set.parent_path()));  // the backup root stays
  fs::remove_all(set.parent_path());
}

TEST(RecycleBin, MissingFolderIsNotThere) {
  fs::path gone = fs::temp_directory_path() / "qln_bck_never_made";
  EXPECT_TRUE(make_shell_recycle_bin()->move_to_recycle_bin(gone.string()));
}

TEST(OsVersion, IsTheDeclaredPlatform) { EXPECT_GE(os_major_version(), 6); }

TEST(BalloonNotifier, ShowsItsOwnIconUntilTheBalloonEnds) {
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  win32::BalloonNotifier notifier(icon);
  notifier.notify("Quillane", "Backup done", "Your backup was completed successfully.");
  pump();
  ASSERT_TRUE(notifier.icon_shown());
  // The shell tells the icon's window that the balloon timed out.
  HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"QuillaneNotification", nullptr);
  ASSERT_TRUE(window);
  SendMessageW(window, WM_APP + 20, 0, MAKELPARAM(NIN_BALLOONTIMEOUT, 1));
  EXPECT_FALSE(notifier.icon_shown());
}

TEST(TaskbarProgress, KeepsTheValueInRangeWithOrWithoutATaskbar) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlnTaskbarTest";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"QlnTaskbarTest", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  {
    win32::TaskbarProgress progress;
    progress.attach(window);
    progress.set(150, 100);
    EXPECT_EQ(progress.value(), 100);
    progress.set(-3, 100);
    EXPECT_EQ(progress.value(), 0);
    progress.set(42, 100);
    EXPECT_EQ(progress.value(), 42);
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace qln
