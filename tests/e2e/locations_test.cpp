// The mail client's directories as the real main window finds and shows them.
#include <gtest/gtest.h>

#include "app_under_test.h"

namespace qln::e2e {
namespace {

constexpr wchar_t kClientKey[] = L"Software\\RIT\\The Bat!";

// The mail client's registry key with the given string values, removed again afterwards.
class ClientKey {
 public:
  using Values = std::vector<std::pair<std::wstring, std::wstring>>;
  explicit ClientKey(const Values& values) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kClientKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    for (const auto& [name, value] : values)
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~ClientKey() { RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey); }
};

HWND wait_box(AppUnderTest& app) {
  HWND box = nullptr;
  wait_until(
      [&] {
        box = app.find_window_of_class("#32770");
        return box && visible(box);
      },
      20000);
  return box;
}

TEST(Locations, EveryShowTakesTheDirectoriesFromTheRegistry) {
  ClientKey key({{L"ProgramDir", L"C:\\Mail\\Prog"},
                 {L"ProgramDir64", L"C:\\Mail\\Prog64"},
                 {L"Working Directory", L"%QLN_MAIL%\\The Bat!\\"}});
  AppUnderTest app;
  app.environment["QLN_MAIL"] = "C:\\Data";
  app.start();
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  EXPECT_TRUE(wait_until([&] { return find_child(main, "C:\\Mail\\Prog") != nullptr; }, 5000));
  EXPECT_TRUE(
      wait_until([&] { return find_child(main, "C:\\Data\\The Bat!\\") != nullptr; }, 5000));
}

TEST(Locations, WithoutTheKeyTheLabelsAskForAManualChoice) {
  RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
  AppUnderTest app;
  app.start();
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  EXPECT_TRUE(wait_until(
      [&] {
        return find_child(main,
                          "Kein The Bat! Verzeichnis gefunden!\r\nEventuell manuell "
                          "wählen...") != nullptr;
      },
      5000));
  EXPECT_TRUE(wait_until(
      [&] {
        return find_child(main,
                          "Kein The Bat!-Mail Verzeichnis gefunden!\r\nEventuell manuell "
                          "wählen...") != nullptr;
      },
      5000));
}

TEST(Locations, AnUnwritableSettingsFileStopsTheShowBeforeTheDirectoriesAreRead) {
  ClientKey key(ClientKey::Values{{L"ProgramDir", L"C:\\Mail\\Prog"}});
  AppUnderTest app;
  // A folder in the settings file's place: no write can replace it.
  CreateDirectoryW(wide(app.folder() + "qln_settings.dat").c_str(), nullptr);
  app.start();
  HWND box = wait_box(app);
  ASSERT_TRUE(box);
  EXPECT_NE(dialog_message(box).find("qln_settings.dat kann nicht geschrieben werden"),
            std::string::npos)
      << dialog_message(box);
  answer(box);
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  EXPECT_FALSE(find_child(main, "C:\\Mail\\Prog"));
  EXPECT_TRUE(find_child(main, "none"));
}

TEST(Locations, AUserDirectoryInsideTheProgramDirectoryIsSwitchedOffWithANotice) {
  AppUnderTest app;
  std::string program = app.folder() + "Prog";
  std::string inside = program + "\\Plugins";
  CreateDirectoryW(wide(program).c_str(), nullptr);
  CreateDirectoryW(wide(inside).c_str(), nullptr);
  ClientKey key(ClientKey::Values{{L"ProgramDir", wide(program)}});
  write_file(app.folder() + "qln_settings.dat",
             "[INFOS]\r\nvariable_check=1\r\nVariable_dir=" + inside + "\\\r\n");
  app.start();
  HWND box = wait_box(app);
  ASSERT_TRUE(box);
  EXPECT_NE(dialog_message(box).find("Option wird deaktiviert"), std::string::npos)
      << dialog_message(box);
  answer(box);
  ASSERT_TRUE(app.wait_window("Quillane"));
  EXPECT_TRUE(wait_until(
      [&] {
        return read_file(app.folder() + "qln_settings.dat").find("variable_check=0") !=
               std::string::npos;
      },
      5000))
      << read_file(app.folder() + "qln_settings.dat");
}

}  // namespace
}  // namespace qln::e2e
