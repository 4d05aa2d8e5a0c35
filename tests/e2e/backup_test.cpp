// A backup made through the real main window, checked on disk.
#include <gtest/gtest.h>

#include <map>

#include "app_under_test.h"
#include "archive/archive_file_system.h"
#include "archive/archiver.h"

namespace qln::e2e {
namespace {

constexpr wchar_t kClientKey[] = L"Software\\RIT\\The Bat!";

void make_tree(const std::string& root, const std::map<std::string, std::string>& files) {
  CreateDirectoryW(wide(root).c_str(), nullptr);
  for (const auto& [name, data] : files) {
    std::string path = root + "\\" + name;
    for (std::size_t p = path.find('\\', root.size() + 1); p != std::string::npos;
         p = path.find('\\', p + 1))
      CreateDirectoryW(wide(path.substr(0, p)).c_str(), nullptr);
    write_file(path, data);
  }
}

// Every file below `root` with its content, by path relative to `root`.
std::map<std::string, std::string> read_tree(const std::string& root, const std::string& rel = {}) {
  std::map<std::string, std::string> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(wide(root + "\\" + rel + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = narrow(fd.cFileName);
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      out.merge(read_tree(root, rel + name + "\\"));
    else
      out[rel + name] = read_file(root + "\\" + rel + name);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

std::map<std::string, std::string> extract(const std::string& zip, const std::string& into) {
  auto fs = archive::make_local_archive_file_system();
  archive::Archiver a(*fs);
  a.FileName = zip;
  a.OpenArchive(archive::TOpenMode::fmOpenRead);
  CreateDirectoryW(wide(into).c_str(), nullptr);
  a.BaseDir = into;
  a.ExtractFiles();
  a.CloseArchive();
  return read_tree(into);
}

std::vector<std::string> subfolders(const std::string& root) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(wide(root + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = narrow(fd.cFileName);
    if (name != "." && name != ".." && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      out.push_back(name);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

TEST(Backup, TheButtonWritesACompleteListedSetIntoTheStandardDirectory) {
  AppUnderTest app;
  std::string program = app.folder() + "Prog", mail = app.folder() + "Mail",
              backups = app.folder() + "Backups";
  std::map<std::string, std::string> program_files = {{"thebat64.exe", "MZ placeholder"},
                                                      {"Plugins\\spam.dll", "plugin"}};
  std::map<std::string, std::string> mail_files = {
      {"Account.CFN", "[Account]\r\n"},
      {"Demo\\Inbox\\messages.tbb", std::string(200000, 'm')},
      {"Demo\\Sent\\messages.tbb", "sent"}};
  make_tree(program, program_files);
  make_tree(mail, mail_files);
  CreateDirectoryW(wide(backups).c_str(), nullptr);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kClientKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  for (auto [name, value] : {std::pair{L"ProgramDir", wide(program)},
                             std::pair{L"Working Directory", wide(mail + "\\")}})
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   DWORD((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  write_file(app.folder() + "qln_settings.dat",
             "[INFOS]\r\nSTD_DIR_Checked=1\r\nAuto_dir=" + backups + "\\\r\n");

  app.start();
  HWND main = app.wait_window("Quillane");
  ASSERT_TRUE(main);
  ASSERT_TRUE(wait_until([&] { return find_child(main, program) != nullptr; }, 10000));
  click(find_child(main, "Backup starten"));
  // MSG_1 says the mail client will be closed; OK goes on.
  HWND box = nullptr;
  ASSERT_TRUE(wait_until(
      [&] {
        box = app.find_window_of_class("#32770");
        return box && visible(box);
      },
      20000));
  EXPECT_NE(dialog_message(box).find("geschlossen"), std::string::npos) << dialog_message(box);
  answer(box);

  // The set is listed once it is complete.
  ASSERT_TRUE(wait_until(
      [&] {
        return read_file(app.folder() + "qln_settings.dat").find("[BCK]") != std::string::npos;
      },
      120000))
      << read_file(app.folder() + "qln_settings.dat");
  auto sets = subfolders(backups);
  ASSERT_EQ(sets.size(), 1u);
  std::string set = backups + "\\" + sets[0];
  EXPECT_EQ(sets[0].size(), std::string("DD_MM_YYYY#hh_nn_ss").size()) << sets[0];
  EXPECT_NE(read_file(app.folder() + "qln_settings.dat").find(sets[0] + "=" + set + "\\"),
            std::string::npos);

  EXPECT_EQ(extract(set + "\\TB_Prog.zip", app.folder() + "out-prog"), program_files);
  EXPECT_EQ(extract(set + "\\TB_Mails.zip", app.folder() + "out-mail"), mail_files);
  EXPECT_NE(read_file(set + "\\TheBat!.reg").size(), 0u);
  std::string manifest = read_file(set + "\\bck_info.dat");
  EXPECT_NE(manifest.find(program), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("TB_Reg=TheBat!.reg"), std::string::npos) << manifest;
  RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
}

}  // namespace
}  // namespace qln::e2e
