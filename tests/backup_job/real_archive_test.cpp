// The backup job with the real archive component: what a set holds must extract to exactly
// the directories it came from, and an archive whose data does not read back is not listed.
#include <gtest/gtest.h>

#include <cstdlib>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#endif
#include <map>

#include "archive/archiver.h"
#include "backup/archiver_engine.h"
#include "backup/backup_messages.h"
#include "job_fixture.h"

namespace qln::backup {
namespace {

// The job's paths joined with "\" reach the component as the platform spells them.
class NativePathEngine final : public ArchiveEngine {
 public:
  explicit NativePathEngine(ArchiveEngine& inner) : inner_(inner) {}
  std::function<void(const fs::path& archive)> after_create;

  void create_archive(const std::string& a, const std::string& base, ArchiveEvents& e) override {
    inner_.create_archive(native(a), native(base), e);
    if (after_create) after_create(to_path(a));
  }
  bool test_archive(const std::string& a, ArchiveEvents& e) override {
    return inner_.test_archive(native(a), e);
  }

 private:
  ArchiveEngine& inner_;
};

// Relative path to content ("/" for a directory).
std::map<std::string, std::string> tree(const fs::path& root) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    out[utf8(fs::relative(e.path(), root))] = e.is_directory() ? "/" : read_all(e.path());
  return out;
}

class RealArchiveJobTest : public BackupJobTest {
 protected:
  void SetUp() override {
    BackupJobTest::SetUp();
    engine_in_use = &paths;
  }

  void extract(const fs::path& archive, const fs::path& to) {
    archive::Archiver reader(*afs);
    reader.FileName = utf8(archive);
    reader.OpenArchive();
    reader.BaseDir = utf8(to);
    reader.ExtractFiles();
    reader.CloseArchive();
  }

  std::unique_ptr<archive::ArchiveFileSystem> afs = archive::make_local_archive_file_system();
  archive::Archiver archiver{*afs};
  ArchiverEngine real{archiver};
  NativePathEngine paths{real};
};

TEST_F(RealArchiveJobTest, ArchivesOfAListedSetExtractToExactlyTheSources) {
  write(dir / "prog" / "sub" / "big.bin", std::string(300000, 'x') + "end");
  ASSERT_EQ(run().end, BackupEnd::done);
  EXPECT_EQ(listed().size(), 1u);

  const std::pair<const char*, const char*> rows[] = {
      {"TB_Mails.zip", "mail"}, {"TB_Prog.zip", "prog"}, {"Variable_Data.zip", "extra"}};
  for (auto [archive, source] : rows) {
    SCOPED_TRACE(archive);
    fs::path out = dir / "out" / source;
    extract(set() / archive, out);
    EXPECT_EQ(tree(out), tree(dir / source));
  }
  EXPECT_EQ(tree(dir / "out" / "mail").count("Empty"), 1u);
  // The archives the user keeps are read the same by another tool.
#ifndef _WIN32
  std::string check =
      "python3 -c \"import sys, zipfile; sys.exit(zipfile.ZipFile(sys.argv[1])"
      ".testzip() is not None)\" '" +
      utf8(set() / "TB_Mails.zip") + "'";
  EXPECT_EQ(std::system(check.c_str()), 0);
#endif
}

TEST_F(RealArchiveJobTest, ArchiveWhoseDataFailsItsCrcSendsTheSetToTheRecycleBin) {
  paths.after_create = [](const fs::path& archive) {
    if (archive.filename() != "TB_Prog.zip") return;
    // The first entry's data follows its local header: flip its last byte.
    std::string bytes = read_all(archive);
    std::size_t name_length = std::uint8_t(bytes[26]) | std::uint8_t(bytes[27]) << 8;
    std::size_t extra_length = std::uint8_t(bytes[28]) | std::uint8_t(bytes[29]) << 8;
    std::size_t compressed = std::uint8_t(bytes[18]) | std::uint8_t(bytes[19]) << 8;
    bytes[30 + name_length + extra_length + compressed - 1] ^= 0x55;
    write(archive, bytes);
  };
  BackupOutcome out = run();
  EXPECT_EQ(out.end, BackupEnd::check_failed);
  EXPECT_EQ(dialogs.messages.back(), msg(kMsg29));
  EXPECT_EQ(bin.recycled, (std::vector<std::string>{set_path().substr(0, set_path().size() - 1)}));
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(notifier.sent.empty());
  // The end record alone would have passed it.
  archiver.FileName = utf8(set() / "TB_Prog.zip");
  EXPECT_TRUE(archiver.IsValidArchiveFile());
}

TEST_F(RealArchiveJobTest, EmptyDirectoryGivesAnEmptyArchiveThatPassesItsTest) {
  fs::remove_all(dir / "extra");
  fs::create_directories(dir / "extra");
  EXPECT_EQ(run().end, BackupEnd::done);
  fs::create_directories(dir / "out");
  extract(set() / "Variable_Data.zip", dir / "out");
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

#ifdef _WIN32
TEST_F(RealArchiveJobTest, FileHeldOpenInTheProgramDirectoryEndsTheJob) {
  // Another process's exclusive hold, as the mail client keeps its files.
  int fd = -1;
  ASSERT_EQ(_wsopen_s(&fd, (dir / "prog" / "TheBat.exe").c_str(), _O_RDONLY, _SH_DENYRW, 0), 0);
  BackupOutcome out = run();
  _close(fd);

  EXPECT_EQ(out.end, BackupEnd::failed);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_NE(dialogs.messages[1].find("Native error: 00033"), std::string::npos);
  EXPECT_NE(dialogs.messages[1].find("TheBat.exe"), std::string::npos);
  EXPECT_TRUE(fs::exists(set() / "TB_Mails.zip"));
  EXPECT_EQ(manifest(), "[INFOS]\r\nTB_Mail_Dir=" + state.mail_dir + "\r\n");
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(notifier.sent.empty());
}
#endif

}  // namespace
}  // namespace qln::backup
