// Zip64 in both directions where it is needed: an entry over 4 GiB (a sparse file, so the
// test stays quick) and an archive of more than 65,535 entries, each written by qlnzip,
// read back by it and checked by a peer tool. The large run also shows that memory stays
// bounded whatever the file's size.
#include <gtest/gtest.h>

#include <cstdlib>

#include "archive/archive_file_system.h"
#include "archive/archiver.h"
#include "archive_test_support.h"

namespace qln::archive {
namespace {

using namespace testing;

const std::string kQlnzip = QLN_QLNZIP;

// Runs a command under /usr/bin/time; returns its exit code and peak resident memory in KiB.
std::pair<int, long> run_measured(const std::string& command, const fs::path& report) {
  const int rc = run("/usr/bin/time -f %M -o " + quote(report) + " " + command);
  return {rc, std::atol(read_file(report).c_str())};
}

std::vector<ZipEntry> entries_of(const fs::path& zip) {
  auto fs = make_local_archive_file_system();
  Archiver a(*fs);
  a.FileName = path_utf8(zip);
  a.OpenArchive(TOpenMode::fmOpenRead);
  return a.Entries();
}

TEST(Zip64, EntryOverFourGigabytes) {
  TempDir tmp;
  const fs::path big = tmp.path / "src/big.tbb";
  write_file(big, "start of the message base\n");
  constexpr std::uint64_t kSize = (4ull << 30) + 12345;
  fs::resize_file(big, kSize);
  write_file(tmp.path / "src/small.txt", "after the big one");
  const fs::path zip = tmp.path / "big.zip";

  const auto [rc, peak_kib] = run_measured(
      kQlnzip + " create " + quote(zip) + " " + quote(tmp.path / "src"), tmp.path / "rss.txt");
  ASSERT_EQ(rc, 0);
  std::printf("peak resident memory while archiving a 4 GiB file: %ld KiB\n", peak_kib);
  EXPECT_LT(peak_kib, 64 * 1024);

  const auto entries = entries_of(zip);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "big.tbb");
  EXPECT_EQ(entries[0].uncompressed_size, kSize);
  EXPECT_EQ(entries[0].version_needed, 45);
  EXPECT_EQ(entries[1].version_needed, 20);  // Zip64 only where a value needs it
  EXPECT_EQ(run(kQlnzip + " test " + quote(zip)), 0);
  EXPECT_EQ(run("unzip -tqq " + quote(zip)), 0);
}

TEST(Zip64, MoreThan65535Entries) {
  TempDir tmp;
  constexpr int kDirs = 41, kPerDir = 1600;  // 65,600 files plus 41 directories
  for (int d = 0; d < kDirs; ++d) {
    const fs::path dir = tmp.path / "src" / ("d" + std::to_string(d));
    fs::create_directories(dir);
    for (int f = 0; f < kPerDir; ++f) {
      write_file(dir / (std::to_string(f) + ".msg"), std::to_string(d * kPerDir + f));
    }
  }
  const fs::path zip = tmp.path / "many.zip";
  ASSERT_EQ(run(kQlnzip + " create " + quote(zip) + " " + quote(tmp.path / "src")), 0);
  const auto entries = entries_of(zip);
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(kDirs + kDirs * kPerDir));
  EXPECT_EQ(entries.back().name, "d9/999.msg");
  EXPECT_EQ(run("unzip -tqq " + quote(zip)), 0);
  EXPECT_EQ(run("python3 -c 'import sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
                "sys.exit(len(z.infolist()) != int(sys.argv[2]) or z.testzip() is not None)' " +
                quote(zip) + " " + std::to_string(kDirs + kDirs * kPerDir)),
            0);
  EXPECT_EQ(run(kQlnzip + " test " + quote(zip)), 0);
  // Extracting every file would time the file system, not the archive: the entries past
  // the 65,535th are the ones that need the Zip64 end record.
  auto fs = make_local_archive_file_system();
  Archiver a(*fs);
  a.FileName = path_utf8(zip);
  a.OpenArchive();
  a.BaseDir = path_utf8(tmp.path / "out");
  a.ExtractFiles("1599.msg");
  a.CloseArchive();
  EXPECT_EQ(read_file(tmp.path / "out/d40/1599.msg"), std::to_string(40 * kPerDir + 1599));
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(tmp.path / "out"), {}), 2 * kDirs);
}

}  // namespace
}  // namespace qln::archive
