// The main window as a user and UI automation see it.
#include <gtest/gtest.h>

#include "app_under_test.h"

namespace qln::e2e {
namespace {

TEST(MainWindow, ShowsItsControlsByTheirCaptions) {
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane", 20000);
  ASSERT_TRUE(main);
  for (const char* text :
       {"Backup starten", "Registry sichern", "Backups verwalten", "Beenden", "X", "_",
        "Pfad zur The Bat! Installation:", "Pfad zum Daten-Verzeichnis:", "Einstellungen"})
    EXPECT_TRUE(find_child(main, text)) << text;
  HWND title = nullptr;
  for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (window_text(c).rfind("Quillane v.", 0) == 0) title = c;
  ASSERT_TRUE(title);
  EXPECT_EQ(window_text(title), "Quillane v.1.0.0.1") << "the file version of the executable";
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right - r.left, 522);
  EXPECT_EQ(r.bottom - r.top, 249);
}

TEST(MainWindow, TheSettingsHandleSlidesThePanelOutAndIn) {
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  HWND panel = nullptr;
  for (HWND h : app.top_level_windows())
    if (window_text(h) == "Einstellungen") panel = h;
  ASSERT_TRUE(panel);
  RECT before;
  GetWindowRect(main, &before);
  click(find_child(main, "Einstellungen"));
  ASSERT_TRUE(wait_until(
      [&] {
        RECT p;
        GetWindowRect(panel, &p);
        return visible(panel) && p.right - p.left == 450;
      },
      5000));
  RECT moved, p;
  GetWindowRect(main, &moved);
  GetWindowRect(panel, &p);
  EXPECT_EQ(moved.left, before.left - 200);
  EXPECT_EQ(p.left, moved.right) << "the panel stands at the main window's right edge";
  EXPECT_EQ(p.top, moved.top + 30);
  click(find_child(main, "Einstellungen"));
  EXPECT_TRUE(wait_until([&] { return !visible(panel); }, 5000));
  GetWindowRect(main, &moved);
  EXPECT_EQ(moved.left, before.left);
}

}  // namespace
}  // namespace qln::e2e
