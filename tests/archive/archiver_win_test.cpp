// The archive component on Windows under real conditions: paths far beyond MAX_PATH, a file
// that another process holds open, and extraction over read-only files.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "archive/archiver.h"
#include "archive_test_support.h"

namespace qln::archive {
namespace {

using namespace testing;

// The long-path form, so that std::filesystem reaches deep files too.
fs::path long_form(const fs::path& p) { return fs::path(L"\\\\?\\" + fs::absolute(p).wstring()); }

struct ArchiverWin : ::testing::Test {
  TempDir tmp;
  std::unique_ptr<ArchiveFileSystem> fs = make_local_archive_file_system();
  Archiver a{*fs};
  std::string zip = path_utf8(tmp.path / "backup.zip");

  void backup(const fs::path& dir) { backup_with(a, zip, dir); }
  void restore(const fs::path& dir) { restore_with(a, zip, dir); }
};

TEST_F(ArchiverWin, PathsFarBeyondMaxPathAreArchivedAndExtracted) {
  std::string relative;
  for (int i = 0; i < 8; ++i)
    relative += "Mail folder with a long name number " + std::to_string(i) + "\\";
  relative += "messages.tbb";
  ASSERT_GT(relative.size(), 300u);
  const fs::path src = long_form(tmp.path / "src");
  write_file(src / relative, "deep message base");
  write_file(src / "top.txt", "top");

  std::vector<std::string> failures;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation, std::int32_t,
                               std::int32_t, const std::string&,
                               TFailureAction&) { failures.push_back(name); };
  backup(tmp.path / "src");
  ASSERT_EQ(a.Entries().size(), 0u);
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmOpenRead);
  EXPECT_EQ(a.Entries().size(), 10u);  // 8 directories, 2 files
  a.CloseArchive();

  restore(tmp.path / "dst");
  EXPECT_TRUE(failures.empty());
  const fs::path dst = long_form(tmp.path / "dst");
  EXPECT_EQ(read_file(dst / relative), "deep message base");
  EXPECT_EQ(read_file(dst / "top.txt"), "top");
}

TEST_F(ArchiverWin, FileHeldOpenByAnotherProcessStopsTheRunWithNativeError33) {
  write_file(tmp.path / "src/a.txt", "a");
  write_file(tmp.path / "src/held.tbb", "held");
  const fs::path held = (tmp.path / "src/held.tbb").make_preferred();
  const fs::path release = tmp.path / "release";
  std::wstring command = L"\"" + fs::path(QLN_FILE_HOLDER).wstring() + L"\" \"" + held.wstring() +
                         L"\" \"" + release.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  for (int i = 0; i < 400 && !fs::exists(tmp.path / "src/held.tbb.held"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  ASSERT_TRUE(fs::exists(tmp.path / "src/held.tbb.held"));

  std::vector<std::string> messages;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation op,
                               std::int32_t native, std::int32_t, const std::string& message,
                               TFailureAction&) {
    EXPECT_EQ(name, "held.tbb");
    EXPECT_EQ(op, TProcessOperation::poAdd);
    EXPECT_EQ(native, 33);
    messages.push_back(message);
    throw std::runtime_error("abort");
  };
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmCreate);
  a.BaseDir = path_utf8(tmp.path / "src");
  EXPECT_THROW(a.AddFiles("*.*", 0x28BF, ""), std::runtime_error);
  a.CloseArchive();

  write_file(release, "");
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "Archiver: Cannot open file \"" + path_utf8(held) + "\" - Native error: 00033");
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmOpenRead);
  EXPECT_TRUE(a.Entries().empty());  // a fresh archive keeps no entry
  a.CloseArchive();
  EXPECT_TRUE(a.IsValidArchiveFile());
}

TEST_F(ArchiverWin, ExtractionReplacesReadOnlyFilesAndRestoresAttributes) {
  write_file(tmp.path / "src/mail.tbb", "new");
  write_file(tmp.path / "src/ro.txt", "read-only in the backup");
  SetFileAttributesW((tmp.path / "src/ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  write_file(tmp.path / "src/hidden.ini", "hidden");
  SetFileAttributesW((tmp.path / "src/hidden.ini").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  backup(tmp.path / "src");

  const fs::path dst = tmp.path / "dst";
  write_file(dst / "mail.tbb", "old and read-only");
  SetFileAttributesW((dst / "mail.tbb").c_str(), FILE_ATTRIBUTE_READONLY);
  write_file(dst / "other.txt", "left alone");
  restore(dst);
  EXPECT_EQ(read_file(dst / "mail.tbb"), "new");
  EXPECT_EQ(read_file(dst / "other.txt"), "left alone");
  EXPECT_EQ(read_file(dst / "ro.txt"), "read-only in the backup");
  EXPECT_FALSE(GetFileAttributesW((dst / "mail.tbb").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(GetFileAttributesW((dst / "ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(GetFileAttributesW((dst / "hidden.ini").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  // Extracting again replaces the read-only file it made itself.
  restore(dst);
  EXPECT_EQ(read_file(dst / "ro.txt"), "read-only in the backup");
  SetFileAttributesW((dst / "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesW((tmp.path / "src/ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace qln::archive
