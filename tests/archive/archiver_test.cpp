// The archive component over real files: the calling orders of the backup and restore jobs,
// the selection rules, the abort semantics and extraction over an existing tree.
#include "archive/archiver.h"

#include <gtest/gtest.h>

#include <set>

#include "archive/zip_format.h"
#include "archive_test_support.h"

namespace qln::archive {
namespace {

using namespace testing;

// An archive on a disk that holds only `limit` bytes.
class LimitedArchive final : public ArchiveFile {
 public:
  LimitedArchive(std::unique_ptr<ArchiveFile> real, std::uint64_t limit)
      : real_(std::move(real)), limit_(limit) {}
  std::uint64_t size() override { return real_->size(); }
  std::size_t read_at(std::uint64_t o, void* b, std::size_t n) override {
    return real_->read_at(o, b, n);
  }
  void write_at(std::uint64_t o, const void* d, std::size_t n) override {
    if (o + n > limit_) throw FileError("disk full", 28, true);
    real_->write_at(o, d, n);
  }
  void truncate(std::uint64_t size) override { real_->truncate(size); }
  void flush() override { real_->flush(); }
  bool writable() const override { return real_->writable(); }

 private:
  std::unique_ptr<ArchiveFile> real_;
  std::uint64_t limit_;
};

// Refuses to open the files whose name is in `locked`, as a file held open elsewhere; puts
// archives on a small disk when `disk_limit` is set.
class LockingFileSystem final : public ArchiveFileSystem {
 public:
  explicit LockingFileSystem(ArchiveFileSystem& real) : real_(real) {}
  std::set<std::string> locked;

  std::string join(const std::string& d, const std::string& n) const override {
    return real_.join(d, n);
  }
  std::string absolute(const std::string& p) const override { return real_.absolute(p); }
  bool same_path(const std::string& a, const std::string& b) const override {
    return real_.same_path(a, b);
  }
  std::optional<FileInfo> stat(const std::string& p) override { return real_.stat(p); }
  std::vector<FileInfo> list(const std::string& d) override { return real_.list(d); }
  std::unique_ptr<InputFile> open_input(const std::string& p, TShareMode m) override {
    for (const auto& name : locked) {
      if (p.size() >= name.size() && p.compare(p.size() - name.size(), name.size(), name) == 0) {
        throw FileError("in use", 32);
      }
    }
    return real_.open_input(p, m);
  }
  std::unique_ptr<ArchiveFile> open_archive(const std::string& p, ArchiveAccess a) override {
    auto file = real_.open_archive(p, a);
    if (!disk_limit) return file;
    return std::make_unique<LimitedArchive>(std::move(file), disk_limit);
  }
  std::uint64_t disk_limit = 0;  // archive bytes the disk takes (0: no limit)
  std::unique_ptr<OutputFile> create_output(const std::string& p) override {
    return real_.create_output(p);
  }
  void make_directory(const std::string& p) override { real_.make_directory(p); }
  void replace_file(const std::string& f, const std::string& t) override {
    real_.replace_file(f, t);
  }
  void remove_file(const std::string& p) override { real_.remove_file(p); }
  void set_attributes(const std::string& p, std::uint32_t a) override {
    real_.set_attributes(p, a);
  }
  void set_dos_time(const std::string& p, std::uint32_t t) override { real_.set_dos_time(p, t); }
  bool is_removable(const std::string& p) override { return real_.is_removable(p); }
  std::uint32_t now_dos_time() override { return real_.now_dos_time(); }

 private:
  ArchiveFileSystem& real_;
};

// Info-ZIP's own test of an archive, where the tool is at hand.
void expect_peer_accepts(const std::string& zip) {
#ifdef _WIN32
  (void)zip;
#else
  EXPECT_EQ(run("unzip -tqq " + quote(utf8_path(zip))), 0);
#endif
}

struct ArchiverTest : ::testing::Test {
  TempDir tmp;
  std::unique_ptr<ArchiveFileSystem> real = make_local_archive_file_system();
  LockingFileSystem fs{*real};
  Archiver a{fs};
  std::string zip = path_utf8(tmp.path / "set" / "archive.zip");

  void SetUp() override { fs::create_directories(tmp.path / "set"); }

  // The backup job's calling order.
  void backup(const fs::path& dir) { backup_with(a, zip, dir); }
  // The restore job's calling order.
  void restore(const fs::path& dir) { restore_with(a, zip, dir); }
  std::vector<std::string> names() {
    a.FileName = zip;
    a.OpenArchive(TOpenMode::fmOpenRead);
    std::vector<std::string> out;
    for (const auto& e : a.Entries()) out.push_back(e.name);
    a.CloseArchive();
    return out;
  }
};

TEST_F(ArchiverTest, RoundTripKeepsTreeNamesAttributesAndTimes) {
  const fs::path src = tmp / "mail";
  write_file(src / "account/inbox.tbb", std::string(300000, 'm') + "end");
  write_file(src / "account/empty.tbn", "");
  write_file(src / ".hidden", "secret");
  write_file(tmp / "mail/Gr\xc3\xbc\xc3\x9f\x65/\xe2\x82\xac uro.txt",
             "euro");  // "Grüße/€ uro.txt"
  write_file(tmp / "mail/\xd0\xbf\xd1\x80\xd0\xb8/\xe6\xbc\xa2.txt", "cyrillic and cjk");
  std::string deep = "d";
  for (int i = 0; i < 12; ++i) deep += "/level" + std::to_string(i);
  write_file(src / deep / "leaf.txt", "deep");
  fs::create_directories(src / "empty/nested");
  std::string big(5 << 20, '\0');  // several chunks: compressed in parallel, one stream
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 7919) >> 9);
  write_file(src / "big.bin", big);
  fs::last_write_time(src / "account/inbox.tbb",
                      fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  fs::permissions(src / "account/empty.tbn",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);

  backup(src);
  const fs::path out = tmp / "restored";
  restore(out);
  EXPECT_EQ(snapshot(src), snapshot(out));
  const auto t_src = fs::last_write_time(src / "account/inbox.tbb");
  const auto t_out = fs::last_write_time(out / "account/inbox.tbb");
  EXPECT_LE(std::chrono::abs(t_src - t_out), std::chrono::seconds(2));
  EXPECT_EQ(fs::status(out / "account/empty.tbn").permissions() & fs::perms::owner_write,
            fs::perms::none);

  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmOpenRead);
  for (const ZipEntry& e : a.Entries()) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(e.version_made_by, 20);
    EXPECT_EQ(e.method, e.is_directory ? 0 : 8);
    EXPECT_EQ(e.is_directory, (e.external_attributes & 0x10) != 0);
    // Only names without an OEM form ("€", Cyrillic, CJK) are stored as UTF-8.
    const bool needs_utf8 = e.name.find("\xe2\x82\xac") != std::string::npos ||
                            e.name.find("\xd0\xbf") != std::string::npos;
    EXPECT_EQ((e.flags & zip::kFlagUtf8) != 0, needs_utf8);
  }
  a.CloseArchive();
}

TEST_F(ArchiverTest, OutputIsTheSameWhateverTheNumberOfThreads) {
  std::string noise(3 << 20, '\0');  // incompressible: stored in Deflate's stored blocks
  std::uint64_t x = 88172645463325252ull;
  for (char& c : noise) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    c = static_cast<char>(x);
  }
  write_file(tmp / "t/photo.jpg", noise);
  std::string text;
  while (text.size() < (5u << 20))
    text += "Subject: meeting " + std::to_string(text.size()) + "\r\n";
  write_file(tmp / "t/inbox.tbb", text);
  for (int i = 0; i < 50; ++i)
    write_file(tmp / ("t/small/" + std::to_string(i)), text.substr(i, 999));
  std::vector<std::string> archives;
  for (unsigned threads : {1u, 2u, 5u}) {
    a.Threads = threads;
    backup(tmp / "t");
    archives.push_back(read_file(zip));
  }
  EXPECT_EQ(archives[0], archives[1]);
  EXPECT_EQ(archives[0], archives[2]);
  EXPECT_LT(archives[0].size(), noise.size() + text.size() / 4);
  restore(tmp / "back");
  EXPECT_TRUE(same_tree(tmp / "t", tmp / "back"));
  expect_peer_accepts(zip);
}

TEST_F(ArchiverTest, EmptyDirectoryGivesAValidEmptyArchive) {
  fs::create_directories(tmp / "nothing");
  backup(tmp / "nothing");
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(fs::file_size(zip), zip::kEndSize);
  a.FileName = zip;
  EXPECT_TRUE(a.IsValidArchiveFile());
}

TEST_F(ArchiverTest, OpeningAMissingArchiveMakesAnEmptyOneThatExtractsNothing) {
  zip = path_utf8(tmp.path / "set" / "new.zip");
  restore(tmp / "target");
  EXPECT_TRUE(fs::exists(zip));
  EXPECT_FALSE(fs::exists(tmp / "target"));
  a.FileName = path_utf8(tmp.path / "set" / "other.zip");
  try {
    a.OpenArchive(TOpenMode::fmOpenRead);
    FAIL();
  } catch (const ArchiverError& e) {
    EXPECT_EQ(e.native_error(), 12);
    EXPECT_EQ(std::string(e.what()),
              "Archiver: File \"" + a.FileName + "\" not found - Native error: 00012");
  }
}

TEST_F(ArchiverTest, ArchiveInsideItsOwnTreeIsNotTakenIn) {
  write_file(tmp / "tree/file.txt", "x");
  zip = path_utf8(tmp.path / "tree" / "self.zip");
  backup(tmp / "tree");
  EXPECT_EQ(names(), std::vector<std::string>{"file.txt"});
}

TEST_F(ArchiverTest, MasksAndAttributeRulesSelectEntries) {
  write_file(tmp / "t/a.tbb", "a");
  write_file(tmp / "t/noext", "b");
  write_file(tmp / "t/sub/c.txt", "c");
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmCreate);
  a.BaseDir = path_utf8(tmp / "t");
  a.AddFiles("*.*", 0x28BF & ~0x10u, "c.txt");  // no directory entries, one exclusion
  EXPECT_EQ(a.Entries().size(), 2u);
  a.CloseArchive();
  EXPECT_EQ(names(), (std::vector<std::string>{"a.tbb", "noext"}));
}

TEST_F(ArchiverTest, FileHeldOpenStopsTheRunAndKeepsTheEntriesFromBefore) {
  write_file(tmp / "first/one.txt", "1");
  write_file(tmp / "second/a.txt", "a");
  write_file(tmp / "second/locked.tbb", "b");
  fs.locked.insert("locked.tbb");
  std::vector<std::string> failures;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation op,
                               std::int32_t native, std::int32_t, const std::string& message,
                               TFailureAction&) {
    EXPECT_EQ(op, TProcessOperation::poAdd);
    EXPECT_EQ(native, 33);
    failures.push_back(name + "|" + message);
    throw std::runtime_error("abort");  // the program's handlers abort
  };
  bool ended = false;
  a.OnOverallProgress = [&](Archiver&, double, TProcessOperation, TProgressPhase p, bool&) {
    if (p == TProgressPhase::ppEnd) ended = true;
  };
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmCreate);
  a.BaseDir = path_utf8(tmp / "first");
  a.AddFiles();
  ended = false;
  a.BaseDir = path_utf8(tmp / "second");
  EXPECT_THROW(a.AddFiles(), std::runtime_error);
  EXPECT_FALSE(ended);
  a.CloseArchive();
  ASSERT_EQ(failures.size(), 1u);
  const std::string locked = path_utf8((tmp / "second/locked.tbb").make_preferred());
  EXPECT_EQ(failures[0],
            "locked.tbb|Archiver: Cannot open file \"" + locked + "\" - Native error: 00033");
  EXPECT_EQ(names(), std::vector<std::string>{"one.txt"});
  expect_peer_accepts(zip);

  // A fresh archive keeps none.
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmCreate);
  EXPECT_THROW(a.AddFiles(), std::runtime_error);
  a.CloseArchive();
  EXPECT_TRUE(names().empty());
  a.FileName = zip;
  EXPECT_TRUE(a.IsValidArchiveFile());
}

TEST_F(ArchiverTest, FullDiskIsReportedAndCancelsTheUpdate) {
  write_file(tmp / "first/one.txt", "1");
  std::string noise(2 << 20, '\0');
  std::uint64_t x = 2463534242ull;
  for (char& c : noise) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    c = static_cast<char>(x >> 24);
  }
  write_file(tmp / "second/big.bin", noise);
  backup(tmp / "first");
  fs.disk_limit = 100000;
  std::vector<std::pair<int, std::string>> calls;
  a.OnDiskFull = [&](Archiver&, std::int32_t volume, const std::string& name, bool& cancel) {
    EXPECT_FALSE(cancel);
    calls.emplace_back(volume, name);
  };
  a.FileName = zip;
  a.OpenArchive();
  a.BaseDir = path_utf8(tmp / "second");
  try {
    a.AddFiles();
    FAIL();
  } catch (const ArchiverError& e) {
    EXPECT_EQ(e.native_error(), 28);
  }
  a.CloseArchive();
  EXPECT_EQ(calls, (std::vector<std::pair<int, std::string>>{{1, zip}}));
  fs.disk_limit = 0;
  EXPECT_EQ(names(), std::vector<std::string>{"one.txt"});
  expect_peer_accepts(zip);
}

TEST_F(ArchiverTest, EventsReportEntriesInOrderWithBackslashes) {
  write_file(tmp / "t/sub/x.txt", std::string(3 << 20, 'x'));
  write_file(tmp / "t/y.txt", "y");
  std::vector<std::string> seen;
  a.OnFileProgress = [&](Archiver& sender, const std::string& name, double progress,
                         TProcessOperation, TProgressPhase phase, bool&) {
    EXPECT_EQ(&sender, &a);
    if (phase != TProgressPhase::ppProcess) {
      seen.push_back(name + (phase == TProgressPhase::ppStart ? " start " : " end ") +
                     std::to_string(static_cast<int>(progress)));
    }
  };
  std::vector<int> overall;
  a.OnOverallProgress = [&](Archiver&, double p, TProcessOperation, TProgressPhase phase, bool&) {
    if (phase != TProgressPhase::ppProcess) overall.push_back(static_cast<int>(p));
  };
  backup(tmp / "t");
  EXPECT_EQ(seen,
            (std::vector<std::string>{"sub\\ start 0", "sub\\ end 100", "sub\\x.txt start 0",
                                      "sub\\x.txt end 100", "y.txt start 0", "y.txt end 100"}));
  EXPECT_EQ(overall, (std::vector<int>{0, 100}));
}

TEST_F(ArchiverTest, ExtractionReplacesSameNamedFilesReadOnlyTooAndLeavesOthers) {
  write_file(tmp / "src/keep/a.txt", "new a");
  write_file(tmp / "src/ro.txt", "new ro");
  backup(tmp / "src");
  const fs::path dst = tmp / "dst";
  write_file(dst / "keep/a.txt", "old a, longer than the new one");
  write_file(dst / "ro.txt", "old ro");
  fs::permissions(dst / "ro.txt",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  write_file(dst / "other.txt", "untouched");
  restore(dst);
  EXPECT_EQ(read_file(dst / "keep/a.txt"), "new a");
  EXPECT_EQ(read_file(dst / "ro.txt"), "new ro");
  EXPECT_EQ(read_file(dst / "other.txt"), "untouched");
  EXPECT_EQ(snapshot(dst).size(), 4u);  // no temporary file left behind
}

TEST_F(ArchiverTest, TruncatedArchivesAreValidOnlyWhileTheirEntriesTestSound) {
  write_file(tmp / "t/a.txt", std::string(50000, 'a'));
  write_file(tmp / "t/b.txt", std::string(50000, 'b'));
  backup(tmp / "t");
  const std::string whole = read_file(zip);
  a.FileName = zip;
  std::vector<std::string> failed;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation op,
                               std::int32_t, std::int32_t, const std::string&, TFailureAction&) {
    EXPECT_EQ(op, TProcessOperation::poTest);
    failed.push_back(name);
  };
  // The end record gone, every entry intact: still valid.
  write_file(zip, whole.substr(0, whole.size() - zip::kEndSize));
  EXPECT_TRUE(a.IsValidArchiveFile());
  // Cut inside the second entry's data: invalid, even though the handler only ignores.
  const std::size_t cut = whole.find("b.txt") + 100;
  write_file(zip, whole.substr(0, cut));
  EXPECT_FALSE(a.IsValidArchiveFile());
  EXPECT_EQ(failed, std::vector<std::string>{"b.txt"});
  write_file(zip, whole.substr(0, 10));
  EXPECT_FALSE(a.IsValidArchiveFile());
  a.FileName = path_utf8(tmp.path / "missing.zip");
  EXPECT_FALSE(a.IsValidArchiveFile());
  // A damaged archive still opens as far as its entries read.
  a.OnProcessFileFailure = nullptr;
  write_file(zip, whole.substr(0, cut));
  a.FileName = zip;
  a.OpenArchive();
  EXPECT_EQ(a.Entries().size(), 2u);
  a.BaseDir = path_utf8(tmp / "partial");
  a.ExtractFiles();
  a.CloseArchive();
  EXPECT_EQ(snapshot(tmp / "partial"),
            (std::map<std::string, std::string>{{"a.txt", std::string(50000, 'a')}}));
}

TEST_F(ArchiverTest, SettingsAndTheirErrors) {
  struct Case {
    int mode;
    TCompressionLevel level;
  } cases[] = {{0, TCompressionLevel::clNone},    {1, TCompressionLevel::clFastest},
               {3, TCompressionLevel::clFastest}, {4, TCompressionLevel::clNormal},
               {6, TCompressionLevel::clNormal},  {7, TCompressionLevel::clMax},
               {9, TCompressionLevel::clMax}};
  for (const auto& c : cases) {
    a.SetCompressionMode(c.mode);
    EXPECT_EQ(a.CompressionLevel(), c.level) << c.mode;
  }
  EXPECT_THROW(a.SetCompressionMode(10), ArchiverError);
  EXPECT_EQ(a.CompressionMode(), 9);
  a.FileName.clear();
  try {
    a.OpenArchive(TOpenMode::fmCreate);
    FAIL();
  } catch (const ArchiverError& e) {
    EXPECT_STREQ(
        e.what(),
        "Archiver: File name is blank. Specify appropriate file name - Native error: 00009");
  }
  // Stored entries at level 0.
  a.SetCompressionMode(0);
  write_file(tmp / "t/a.txt", std::string(1000, 'a'));
  backup(tmp / "t");
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmOpenRead);
  ASSERT_EQ(a.Entries().size(), 1u);
  EXPECT_EQ(a.Entries()[0].method, 0);
  EXPECT_EQ(a.Entries()[0].compressed_size, 1000u);
}

TEST_F(ArchiverTest, AddingToAnExistingArchiveKeepsItsEntries) {
  write_file(tmp / "one/a.txt", "a");
  write_file(tmp / "two/b.txt", "b");
  backup(tmp / "one");
  a.FileName = zip;
  a.OpenArchive();
  a.BaseDir = path_utf8(tmp / "two");
  a.AddFiles();
  a.CloseArchive();
  EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b.txt"}));
  expect_peer_accepts(zip);
}

#ifndef _WIN32
TEST_F(ArchiverTest, LinksAreNeitherFollowedWhenAddingNorWrittenThroughWhenExtracting) {
  write_file(tmp / "outside/secret.txt", "outside");
  write_file(tmp / "tree/a.txt", "a");
  fs::create_directory_symlink(tmp / "outside", tmp / "tree/link");
  fs::create_directory_symlink(tmp / "tree", tmp / "tree/loop");
  backup(tmp / "tree");
  EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});

  // An archive holding "sub/x.txt" extracted where "sub" is a link to elsewhere.
  write_file(tmp / "src/sub/x.txt", "x");
  backup(tmp / "src");
  fs::create_directories(tmp / "dst");
  fs::create_directory_symlink(tmp / "outside", tmp / "dst/sub");
  std::vector<std::string> failed;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation, std::int32_t,
                               std::int32_t, const std::string&,
                               TFailureAction&) { failed.push_back(name); };
  restore(tmp / "dst");
  EXPECT_EQ(failed, (std::vector<std::string>{"sub\\", "sub\\x.txt"}));
  EXPECT_FALSE(fs::exists(tmp / "outside/x.txt"));
}
#endif

}  // namespace
}  // namespace qln::archive
