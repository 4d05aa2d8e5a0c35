#include "client/manual_choice.h"

#include <gtest/gtest.h>

#include "client/overlap.h"
#include "client/paths.h"
#include "platform/fake/fake_file_system.h"
#include "scripted_dialogs.h"

namespace qln::client {
namespace {

const MessageLookup misc = [](const std::string&, const std::string& key) { return key; };

using Calls = std::vector<std::string>;

TEST(ProgramDirectoryChoice, AcceptsOnlyTheClientsExecutableInAnyCase) {
  struct Case {
    const char* file;
    std::optional<std::string> folder;
  } cases[] = {
      {"C:\\Program Files\\The Bat!\\TheBat64.EXE", "C:\\Program Files\\The Bat!"},
      {"D:\\tb\\thebat.exe", "D:\\tb"},
      {"D:\\tb\\THEBAT32.exe", "D:\\tb"},
      {"E:\\thebat.exe", "E:\\"},  // a drive root keeps its backslash
      {"D:\\tb\\tb.exe", std::nullopt},
      {"D:\\tb\\TheBatX.exe", std::nullopt},
      {"D:\\thebat.exe\\other.exe", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    test::ScriptedDialogs dialogs;
    dialogs.open_files = {c.file, std::nullopt};
    auto chosen = choose_program_directory(dialogs, misc);
    EXPECT_EQ(chosen, c.folder);
    if (c.folder)
      EXPECT_EQ(dialogs.calls, (Calls{"open"}));
    else
      EXPECT_EQ(dialogs.messages, (Calls{"MSG_30"}));
  }
}

TEST(ProgramDirectoryChoice, RejectedFileReopensTheDialogUntilAcceptedOrCancelled) {
  test::ScriptedDialogs dialogs;
  dialogs.open_files = {"C:\\x\\tb.exe", "C:\\x\\setup.exe", "C:\\TB\\TheBat.exe"};
  EXPECT_EQ(choose_program_directory(dialogs, misc), "C:\\TB");
  EXPECT_EQ(dialogs.calls, (Calls{"open", "message", "open", "message", "open"}));
  EXPECT_EQ(dialogs.file_requests[0].filter, "TheBat*.exe|TheBat*.exe");

  test::ScriptedDialogs cancelled;
  cancelled.open_files = {std::nullopt};
  EXPECT_EQ(choose_program_directory(cancelled, misc), std::nullopt);
  EXPECT_TRUE(cancelled.messages.empty());
}

TEST(MailDirectoryChoice, NeedsAMarkerFileDirectlyInTheFolder) {
  FakeFileSystem files;
  files.files["D:\\only-order\\AccOrder.CFG"] = "";
  files.files["D:\\config\\CONFIG.CDB"] = "";
  files.directories.insert("D:\\folder-named-marker\\Account.CFN\\");  // a folder does not count
  files.files["D:\\deeper\\sub\\Account.CFN"] = "";                    // nor does a subfolder
  files.files["D:\\root-only\\x.txt"] = "";

  struct Case {
    const char* folder;
    bool accepted;
  } cases[] = {{"D:\\only-order", true},
               {"D:\\config", true},
               {"D:\\folder-named-marker", false},
               {"D:\\deeper", false},
               {"D:\\root-only", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    test::ScriptedDialogs dialogs;
    dialogs.folders = {c.folder, std::nullopt};
    auto chosen = choose_mail_directory(dialogs, files, misc);
    if (c.accepted) {
      EXPECT_EQ(chosen, std::string(c.folder) + "\\");
      EXPECT_EQ(dialogs.calls, (Calls{"folder"}));
    } else {
      EXPECT_EQ(chosen, std::nullopt);
      EXPECT_EQ(dialogs.calls, (Calls{"folder", "message", "folder"}));
      EXPECT_EQ(dialogs.messages, (Calls{"MSG_31"}));
    }
  }
}

TEST(MailDirectoryChoice, LeavesTheFolderDialogAsItsLastUseLeftIt) {
  FakeFileSystem files;
  files.files["D:\\Mail\\Account.CFN"] = "";
  test::ScriptedDialogs dialogs;
  dialogs.folders = {"D:\\Mail\\"};  // a dialog answer that already ends with a backslash
  EXPECT_EQ(choose_mail_directory(dialogs, files, misc), "D:\\Mail\\");
  ASSERT_EQ(dialogs.folder_requests.size(), 1u);
  EXPECT_EQ(dialogs.folder_requests[0].start_folder, "");
  EXPECT_EQ(dialogs.folder_requests[0].status_text, "");
}

TEST(UserDirectoryChoice, WarnsBeforeEveryDialogAndRetriesAMissingFolder) {
  FakeFileSystem files;
  files.directories = {"D:\\Old\\", "D:\\New\\"};
  test::ScriptedDialogs dialogs;
  dialogs.folders = {"D:\\Gone", "D:\\New"};
  EXPECT_EQ(choose_user_directory(dialogs, files, misc, "D:\\Old\\"), "D:\\New\\");
  EXPECT_EQ(dialogs.calls, (Calls{"message", "folder", "message", "folder"}));
  EXPECT_EQ(dialogs.messages, (Calls{"MSG_12", "MSG_12"}));
  EXPECT_EQ(dialogs.folder_requests[0].start_folder, "D:\\Old\\");
  EXPECT_EQ(dialogs.folder_requests[1].start_folder, "D:\\Old\\");
}

TEST(UserDirectoryChoice, StartsWhereverTheDialogWasWhenTheLabelNamesNoFolder) {
  FakeFileSystem files;
  for (const char* label : {"", "C:\\...\\Shortened\\", "D:\\Missing\\"}) {
    SCOPED_TRACE(label);
    test::ScriptedDialogs dialogs;
    dialogs.folders = {std::nullopt};
    EXPECT_EQ(choose_user_directory(dialogs, files, misc, label), std::nullopt);
    EXPECT_EQ(dialogs.calls, (Calls{"message", "folder"}));
    EXPECT_EQ(dialogs.folder_requests[0].start_folder, "");
  }
}

TEST(Paths, CheckPfadEndAddsOneBackslash) {
  EXPECT_EQ(CheckPfadEnd(""), "\\");
  EXPECT_EQ(CheckPfadEnd("C:\\Mail"), "C:\\Mail\\");
  EXPECT_EQ(CheckPfadEnd("C:\\Mail\\"), "C:\\Mail\\");
  EXPECT_EQ(CheckPfadEnd("error"), "error\\");
}

TEST(Overlap, UserDirectoryInsideProgramDirectoryWhileBothAreOn) {
  struct Case {
    const char* program;
    bool program_on;
    const char* user;
    bool user_on;
    bool overlaps;
  } cases[] = {
      {"C:\\Program Files\\The Bat!", true, "C:\\Program Files\\The Bat!\\Extras\\", true, true},
      {"C:\\Program Files\\The Bat!\\", true, "c:\\program files\\the bat!\\", true, true},
      {"C:\\Program Files\\The Bat!", true, "C:\\Program Files\\The Bat! Backup\\", true, false},
      {"C:\\Program Files\\The Bat!\\Extras", true, "C:\\Program Files\\The Bat!\\", true, false},
      {"C:\\Program Files\\The Bat!", false, "C:\\Program Files\\The Bat!\\Extras\\", true, false},
      {"C:\\Program Files\\The Bat!", true, "C:\\Program Files\\The Bat!\\Extras\\", false, false},
      {"error", true, "error\\x\\", true, false},
      {"", true, "\\\\server\\share\\", true, false},
      {"C:\\TB", true, "", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " / " + c.user);
    EXPECT_EQ(user_directory_inside_program_directory(c.program, c.program_on, c.user, c.user_on),
              c.overlaps);
  }
}

}  // namespace
}  // namespace qln::client
