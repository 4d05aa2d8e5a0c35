#include "registry/registry_backup.h"

#include <gtest/gtest.h>

#include <functional>

#include "client/scripted_dialogs.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_registry.h"
#include "platform/processes.h"
#include "registry/registry_commands.h"

namespace qln::registry {
namespace {

const client::MessageLookup misc = [](const std::string&, const std::string& key) { return key; };

TEST(RegistryCommands, CommandLinesAsTheToolTakesThem) {
  struct Case {
    Command command;
    Command expected;
  } cases[] = {
      {export_command("C:\\Backups\\2024-01-02 10-00\\TheBat!.reg"),
       {"cmd.exe",
        "/C reg export \"HKEY_CURRENT_USER\\Software\\RIT\" "
        "\"C:\\Backups\\2024-01-02 10-00\\TheBat!.reg\" /y"}},
      {import_command("C:\\Backups\\set\\TheBat!.reg"),
       {"cmd.exe", "/C reg import \"C:\\Backups\\set\\TheBat!.reg\""}},
      // cmd.exe would expand %USERNAME% inside the quotes: the tool gets the path directly.
      {export_command("C:\\100% sicher\\%USERNAME%\\TheBat!.reg"),
       {"reg.exe",
        "export \"HKEY_CURRENT_USER\\Software\\RIT\" \"C:\\100% sicher\\%USERNAME%\\TheBat!.reg\" "
        "/y"}},
      {import_command("C:\\%TEMP%\\TheBat!.reg"),
       {"reg.exe", "import \"C:\\%TEMP%\\TheBat!.reg\""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.command.file, c.expected.file);
    EXPECT_EQ(c.command.parameters, c.expected.parameters);
  }
}

// Runs nothing; `effect` stands for what the tool does to the file system.
class FakeRunner final : public CommandRunner {
 public:
  std::function<void(const std::string& export_path)> effect;
  std::vector<Command> commands;
  int pumps = 0;

  bool run_and_wait(const std::string& file, const std::string& parameters) override {
    commands.push_back({file, parameters});
    // The export target is the second quoted argument.
    std::vector<std::string> quoted;
    for (std::size_t at = parameters.find('"'); at != std::string::npos;) {
      std::size_t end = parameters.find('"', at + 1);
      quoted.push_back(parameters.substr(at + 1, end - at - 1));
      at = parameters.find('"', end + 1);
    }
    if (effect && quoted.size() == 2) effect(quoted[1]);
    return true;
  }
  void process_messages() override { ++pumps; }
};

class RegistryBackup : public ::testing::Test {
 protected:
  RegistryBackup() { registry.add_key("Software\\RIT\\The Bat!"); }

  RegistryBackupResult run() { return RegBckClick(registry, dialogs, runner, files, misc); }
  void export_writes(std::string content) {
    runner.effect = [this, content](const std::string& path) { files.files[path] = content; };
  }

  FakeRegistry registry;
  test::ScriptedDialogs dialogs;
  FakeRunner runner;
  FakeFileSystem files;
  const std::string chosen = "D:\\Sicherung mit Leerzeichen\\TheBat!.reg";
};

TEST_F(RegistryBackup, WithoutTheClientOnlyTellsSo) {
  FakeRegistry nothing_installed;
  nothing_installed.add_key("Software\\RIT");
  EXPECT_EQ(RegBckClick(nothing_installed, dialogs, runner, files, misc),
            RegistryBackupResult::not_installed);
  EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"message"}));
  EXPECT_EQ(dialogs.messages[0], "MSG_32");
  EXPECT_TRUE(runner.commands.empty());
}

TEST_F(RegistryBackup, CancelledDialogRunsNothing) {
  dialogs.save_files = {std::nullopt};
  EXPECT_EQ(run(), RegistryBackupResult::cancelled);
  EXPECT_TRUE(runner.commands.empty());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RegistryBackup, ExportGoesToANewFileThatThenTakesTheChosenName) {
  FileRequest request = registry_save_request();
  EXPECT_EQ(request.file_name, "TheBat!.reg");
  EXPECT_EQ(request.filter, "*.reg|*.reg");
  EXPECT_EQ(request.default_extension, "reg");
  EXPECT_TRUE(request.overwrite_prompt);

  for (bool earlier_file : {false, true}) {
    SCOPED_TRACE(earlier_file ? "replacing an earlier file" : "new file");
    files = {};
    if (earlier_file) files.files[chosen] = "old export";
    dialogs = {};
    dialogs.save_files = {chosen};
    export_writes("new export");
    runner.commands.clear();
    EXPECT_EQ(run(), RegistryBackupResult::backed_up);
    ASSERT_EQ(runner.commands.size(), 1u);
    EXPECT_EQ(runner.commands[0], export_command(chosen + ".new.reg"));
    EXPECT_GE(runner.pumps, 1);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{chosen, "new export"}}));
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Registry successfully backed up."}));
    EXPECT_EQ(dialogs.file_requests.at(0).file_name, "TheBat!.reg");
  }
}

TEST_F(RegistryBackup, FailedExportLeavesTheEarlierFileAndSaysSo) {
  files.files[chosen] = "old export";
  dialogs.save_files = {chosen};
  EXPECT_EQ(run(), RegistryBackupResult::failed);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{chosen, "old export"}}));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Can't backup TheBat!.reg"}));
}

TEST_F(RegistryBackup, RefusedReplacementKeepsTheOldFileAndRemovesTheNewOne) {
  files.files[chosen] = "old export";
  files.read_only.insert(chosen);
  dialogs.save_files = {chosen};
  export_writes("new export");
  EXPECT_EQ(run(), RegistryBackupResult::failed);
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{{chosen, "old export"}}));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Can't backup TheBat!.reg"}));
}

TEST_F(RegistryBackup, ExportNeverWritesOverAFileOfTheUsers) {
  files.files[chosen + ".new.reg"] = "the user's own";
  dialogs.save_files = {chosen};
  export_writes("new export");
  EXPECT_EQ(run(), RegistryBackupResult::backed_up);
  EXPECT_EQ(runner.commands.at(0), export_command(chosen + ".new2.reg"));
  EXPECT_EQ(files.files, (std::map<std::string, std::string>{
                             {chosen, "new export"}, {chosen + ".new.reg", "the user's own"}}));
}

}  // namespace
}  // namespace qln::registry
