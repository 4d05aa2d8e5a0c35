// The command runner with the real registry tool, and the registry backup over the real file
// system, in the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "client/registry_fixture_win.h"
#include "client/scripted_dialogs.h"
#include "platform/local_file_system.h"
#include "platform/processes.h"
#include "registry/registry_backup.h"
#include "registry/registry_commands.h"

namespace qln::registry {
namespace {

using test::create_key;
using test::set_raw;
using test::set_text;

// Every value below HKEY_CURRENT_USER\Software\RIT: "subkey\name" -> type and raw bytes.
using Snapshot = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;

void collect(HKEY key, const std::wstring& path, Snapshot& out) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD name_len = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &name_len, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    std::vector<BYTE> data(size);
    name_len = 16384;
    RegEnumValueW(key, i, name, &name_len, nullptr, &type, data.data(), &size);
    out[path + L"|" + name] = {type, data};
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_len = 256;
    if (RegEnumKeyExW(key, i, name, &name_len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    win32::RegKey sub;
    ASSERT_EQ(RegOpenKeyExW(key, name, 0, KEY_READ, sub.out()), ERROR_SUCCESS);
    out[path + L"\\" + name];  // keys without values count too
    collect(sub.get(), path + L"\\" + name, out);
  }
}

Snapshot snapshot() {
  Snapshot out;
  win32::RegKey root;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\RIT", 0, KEY_READ, root.out()) == ERROR_SUCCESS)
    collect(root.get(), L"", out);
  return out;
}

void fill_branch() {
  win32::RegKey client = create_key("Software\\RIT\\The Bat!");
  set_text(client.get(), "ProgramDir", "C:\\Programme\\The Bat!");
  set_text(client.get(), "Working Directory", "%APPDATA%\\The Bat!\\", REG_EXPAND_SZ);
  DWORD count = 42;
  set_raw(client.get(), "Zähler", REG_DWORD, &count, sizeof count);
  const BYTE blob[] = {0, 1, 2, 0x7f, 0xff};
  set_raw(client.get(), "Blob", REG_BINARY, blob, sizeof blob);
  const wchar_t list[] = L"eins\0zwei drei\0";
  set_raw(client.get(), "Liste", REG_MULTI_SZ, list, sizeof list);
  win32::RegKey account = create_key("Software\\RIT\\The Bat!\\Accounts\\Privat");
  set_text(account.get(), "Name", "Grüße, € und \"Anführung\" \\ 100%");
  create_key("Software\\RIT\\The Bat!\\Leer");
  win32::RegKey other = create_key("Software\\RIT\\Anderes Programm");
  set_text(other.get(), "Version", "1.0");
}

class RegistryTool : public ::testing::Test {
 protected:
  void SetUp() override {
    test::delete_client_branch();
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    root_ = std::filesystem::path(temp) / ("qln-loc-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  void TearDown() override {
    test::delete_client_branch();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  // A new folder below the test folder; its path in the program's UTF-8 form.
  std::string folder(const std::string& name) {
    std::filesystem::path p = root_ / win32::wide(name);
    std::filesystem::create_directories(p);
    return win32::narrow(p.wstring());
  }

  test::ScriptedDialogs dialogs;
  std::unique_ptr<CommandRunner> runner = make_command_runner(dialogs);
  FileSystem& files = local_file_system();

 private:
  std::filesystem::path root_;
};

TEST_F(RegistryTool, ExportThenImportIntoACleanedBranchGivesBackEveryValue) {
  for (const char* name : {"Sicherung mit Leerzeichen", "Sicherung 100% %TEMP% und %PATH%"}) {
    SCOPED_TRACE(name);
    fill_branch();
    Snapshot before = snapshot();
    ASSERT_GE(before.size(), 9u);
    std::string file = folder(name) + "\\Export mit Leerzeichen.reg";

    Command out = export_command(file);
    EXPECT_EQ(out.file, cmd_would_change(file) ? "reg.exe" : "cmd.exe");
    EXPECT_TRUE(runner->run_and_wait(out.file, out.parameters));
    ASSERT_TRUE(files.file_exists(file));

    test::delete_client_branch();
    ASSERT_TRUE(snapshot().empty());
    Command in = import_command(file);
    EXPECT_TRUE(runner->run_and_wait(in.file, in.parameters));
    EXPECT_EQ(snapshot(), before);
    test::delete_client_branch();
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

// Why a path with percent signs bypasses cmd.exe: through it, the tool gets another path.
TEST_F(RegistryTool, CmdExeChangesAPathWithPercentSigns) {
  fill_branch();
  std::string file = folder("Pfad %TEMP%") + "\\TheBat!.reg";
  runner->run_and_wait("cmd.exe",
                       "/C reg export \"HKEY_CURRENT_USER\\Software\\RIT\" \"" + file + "\" /y");
  EXPECT_FALSE(files.file_exists(file));
}

TEST_F(RegistryTool, StartFailureShowsTheSystemsErrorText) {
  int pumps = 0;
  EXPECT_FALSE(RunAndWait(
      dialogs, [&] { ++pumps; }, "qln-no-such-tool.exe", ""));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_FALSE(dialogs.messages[0].empty());
  EXPECT_EQ(pumps, 0);
}

TEST_F(RegistryTool, WindowMessagesAreHandledWhileWaiting) {
  int pumps = 0;
  // Wine's and Windows' ping both pause a second between two echoes.
  EXPECT_TRUE(RunAndWait(
      dialogs, [&] { ++pumps; }, "cmd.exe", "/C ping -n 2 127.0.0.1"));
  EXPECT_GE(pumps, 5);
  std::cout << "message rounds during a 1 s command: " << pumps << "\n";
}

// Runs every command as a program that does not exist, as when cmd.exe cannot start.
class UnstartableRunner final : public CommandRunner {
 public:
  explicit UnstartableRunner(Dialogs& dialogs) : dialogs_(dialogs) {}
  bool run_and_wait(const std::string&, const std::string& parameters) override {
    return RunAndWait(dialogs_, {}, "qln-no-such-shell.exe", parameters);
  }
  void process_messages() override {}

 private:
  Dialogs& dialogs_;
};

TEST_F(RegistryTool, RegistryBackupReplacesAnEarlierFileOnlyWithAWrittenExport) {
  fill_branch();
  const client::MessageLookup misc = [](const std::string& b, const std::string&) { return b; };
  std::string chosen = folder("Meine Sicherung 50% %USERNAME%") + "\\Registry vom Montag.reg";
  ASSERT_TRUE(files.write_file(chosen, "earlier export"));

  UnstartableRunner broken(dialogs);
  dialogs.save_files = {chosen};
  EXPECT_EQ(RegBckClick(local_registry(), dialogs, broken, files, misc),
            RegistryBackupResult::failed);
  ASSERT_EQ(dialogs.messages.size(), 2u);  // the system's error text, then the result
  EXPECT_EQ(dialogs.messages[1], "Can't backup TheBat!.reg");
  EXPECT_EQ(files.read_file(chosen), "earlier export");

  dialogs = {};
  dialogs.save_files = {chosen};
  EXPECT_EQ(RegBckClick(local_registry(), dialogs, *runner, files, misc),
            RegistryBackupResult::backed_up);
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Registry successfully backed up."}));
  std::optional<std::string> data = files.read_file(chosen);
  ASSERT_TRUE(data && data->size() > 2);
  std::u16string text(reinterpret_cast<const char16_t*>(data->data()), data->size() / 2);
  EXPECT_NE(utf16_to_utf8(text).find("[HKEY_CURRENT_USER\\Software\\RIT\\Anderes Programm]"),
            std::string::npos);
  EXPECT_FALSE(files.file_exists(chosen + ".new.reg"));
}

}  // namespace
}  // namespace qln::registry
