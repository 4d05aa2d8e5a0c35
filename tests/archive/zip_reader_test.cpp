// The reader against archives from many writers (the shared corpus) and against hostile
// archives: what is listed, what reads, and what is refused for which reason.
#include "archive/zip_reader.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <map>

#include "archive/archiver.h"
#include "archive/memory_archive_file.h"
#include "archive/zip_format.h"
#include "archive/zip_writer.h"
#include "archive_test_support.h"

namespace qln::archive {
namespace {

using namespace testing;

struct Outcome {
  std::map<std::string, std::string> data;     // entries that read, by name
  std::map<std::string, EntryFault> failures;  // entries refused, by name
};

Outcome read_all(ArchiveFile& file, const ZipDirectory& dir) {
  Outcome out;
  for (const ZipEntry& e : dir.entries) {
    std::string data;
    try {
      read_entry_data(file, dir, e, [&](const char* p, std::size_t n) {
        data.append(p, n);
        ASSERT_LE(data.size(), e.uncompressed_size);
      });
      out.data[e.name] = data;
    } catch (const EntryError& x) {
      out.failures[e.name] = x.fault();
    }
  }
  return out;
}

// Extracts through the component; returns the names offered to the failure handler and
// checks that none of them left a file behind.
std::vector<std::string> extract_all(const std::string& zip, const fs::path& base) {
  auto fs = make_local_archive_file_system();
  Archiver a(*fs);
  std::vector<std::string> failed;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation, std::int32_t,
                               std::int32_t, const std::string&,
                               TFailureAction&) { failed.push_back(name); };
  a.FileName = zip;
  a.OpenArchive(TOpenMode::fmOpenRead);
  a.BaseDir = path_utf8(base);
  a.ExtractFiles();
  a.CloseArchive();
  return failed;
}

constexpr auto kCrc = EntryFault::crc;
constexpr auto kSize = EntryFault::size;
constexpr auto kMethod = EntryFault::method;
constexpr auto kEncrypted = EntryFault::encrypted;

struct CorpusRow {
  const char* file;
  std::size_t entries;  // 0: the central directory cannot be read
  std::map<std::string, EntryFault> refused;
  std::map<std::string, std::string> content;  // some entries' expected data
};

TEST(ZipCorpus, EachArchiveReadsAsItsReadmeSays) {
  const fs::path corpus = utf8_path(QLN_ZIP_CORPUS);
  if (!fs::exists(corpus / "README.md")) GTEST_SKIP() << "no corpus at " << QLN_ZIP_CORPUS;
  const std::string lzma_dir = "_installdir/abc_tools/2000.9-beta11/";
  const CorpusRow rows[] = {
      {"test_compat_zip_1.zip", 2, {}, {}},
      {"test_compat_zip_2.zip", 2, {}, {{"file1", ""}, {"file2", "file2\n"}}},
      {"test_compat_zip_4.zip", 3, {}, {{"foo", std::string("foo\n")}}},
      {"test_compat_zip_5.zip", 12, {}, {}},
      {"test_compat_zip_6.zip",
       2,
       {},
       {{"New Folder/New Folder/New Text Document.txt", "some text\r\n"}}},
      {"test_compat_zip_8.zip", 1, {}, {}},
      {"test_read_format_zip.zip", 3, {{"file2", kCrc}}, {{"file1", "hello\nhello\nhello\n"}}},
      {"test_read_format_zip_7075_utf8_paths.zip",
       4,
       {},
       {{"File 2 - \xc3\xb6.txt", "Test file"}, {"File 4 - \xc3\xa5.txt", "Test file"}}},
      {"test_read_format_zip_7z_deflate.zip",
       3,
       {},
       {{"libxkbcommon-x11.so", "libxkbcommon-x11.so.0.0.0"}}},
      {"test_read_format_zip_7z_lzma.zip",
       9,
       {{lzma_dir + "bin/abc_measurement_analysis_sample", kMethod},
        {lzma_dir + "samples/abc_measurement_analysis_sample/src/"
                    "abc_measurement_analysis_sample.py",
         kMethod}},
       {}},
      {"test_read_format_zip_bzip2.zipx", 1, {{"vimrc", kMethod}}, {}},
      {"test_read_format_zip_comment_stored_2.zip", 2, {}, {}},
      {"test_read_format_zip_encryption_header.zip", 0, {}, {}},
      {"test_read_format_zip_encryption_partially.zip",
       2,
       {{"foo.txt", kEncrypted}},
       {{"bar.txt", "\"data of bar.txt\" \r\n"}}},
      {"test_read_format_zip_filename_cp866.zip", 2, {}, {}},
      {"test_read_format_zip_filename_cp932.zip", 2, {}, {}},
      {"test_read_format_zip_filename_utf8_jp.zip",
       3,
       {},
       {{"\xe8\xa1\xa8\xe3\x81\xa0\xe3\x82\x88/\xe6\xbc\xa2\xe5\xad\x97.txt", std::string()}}},
      {"test_read_format_zip_filename_utf8_ru2.zip",
       2,
       {},
       {{"\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", std::string()}}},
      {"test_read_format_zip_high_compression.zip", 1, {}, {}},
      {"test_read_format_zip_jar.jar", 1, {}, {}},
      {"test_read_format_zip_mac_metadata.zip", 3, {}, {{"file3", "abcdefg\n"}}},
      {"test_read_format_zip_malformed1.zip", 0, {}, {}},
      {"test_read_format_zip_msdos.zip", 6, {}, {}},
      {"test_read_format_zip_nested.zip", 2, {}, {}},
      {"test_read_format_zip_padded2.zip", 2, {}, {}},
      {"test_read_format_zip_ppmd8.zipx", 1, {{"vimrc", kMethod}}, {}},
      {"test_read_format_zip_sfx.zip", 2, {}, {{"file0", ""}}},
      {"test_read_format_zip_size_exceeds_declared_deflate.zip",
       2,
       {{"first", kSize}},
       {{"second", "hello world"}}},
      {"test_read_format_zip_symlink_unsupported_compression.zip",
       2,
       {{"bad_symlink", kMethod}},
       {{"second", "hello world"}}},
      {"test_read_format_zip_traditional_encryption_data.zip",
       2,
       {{"bar.txt", kEncrypted}, {"foo.txt", kEncrypted}},
       {}},
      {"test_read_format_zip_uncompressed_size_off_by_4gib.zip", 1, {{"hello.txt", kSize}}, {}},
      {"test_read_format_zip_winzip_aes128.zip", 1, {{"README", kEncrypted}}, {}},
      {"test_read_format_zip_with_invalid_traditional_eocd.zip",
       2,
       {},
       {{"test1.txt", ""}, {"test2.txt", ""}}},
      {"test_read_format_zip_xz_multi.zipx",
       3,
       {{"bash.bashrc", kMethod}, {"pacman.conf", kMethod}, {"profile", kMethod}},
       {}},
      {"test_read_format_zip_zip64a.zip", 1, {}, {{"-", "file0\n"}}},
  };
  auto fs = make_local_archive_file_system();
  for (const CorpusRow& row : rows) {
    SCOPED_TRACE(row.file);
    const std::string path = path_utf8(corpus / row.file);
    auto file = fs->open_archive(path, ArchiveAccess::read_shared);
    if (row.entries == 0) {
      EXPECT_THROW(read_zip_directory(*file), ZipFormatError);
      if (!has_end_record(*file)) {
        Archiver a(*fs);
        a.FileName = path;
        EXPECT_FALSE(a.IsValidArchiveFile());  // no entry that recovery finds tests sound
      }
      continue;
    }
    const ZipDirectory dir = read_zip_directory(*file);
    ASSERT_EQ(dir.entries.size(), row.entries);
    const Outcome got = read_all(*file, dir);
    EXPECT_EQ(got.failures, row.refused);
    for (const auto& [name, data] : row.content) {
      ASSERT_TRUE(got.data.count(name)) << name;
      if (!data.empty()) {
        EXPECT_EQ(got.data.at(name), data) << name;
      }
    }
    TempDir out;
    const auto failed = extract_all(path, out.path / "x");
    EXPECT_EQ(failed.size(), row.refused.size());
    for (const auto& [name, fault] : row.refused) {
      EXPECT_FALSE(fs::exists(out.path / "x" / utf8_path(name))) << name;
    }
  }
}

TEST(ZipCorpus, DetailsThatMatter) {
  const fs::path corpus = utf8_path(QLN_ZIP_CORPUS);
  if (!fs::exists(corpus / "README.md")) GTEST_SKIP() << "no corpus at " << QLN_ZIP_CORPUS;
  auto fs = make_local_archive_file_system();
  auto dir_of = [&](const char* name) {
    auto file = fs->open_archive(path_utf8(corpus / name), ArchiveAccess::read_shared);
    return read_zip_directory(*file);
  };
  // Directories by trailing slash or by attribute.
  std::vector<std::string> dirs;
  for (const auto& e : dir_of("test_read_format_zip_msdos.zip").entries) {
    if (e.is_directory) dirs.push_back(e.name);
  }
  EXPECT_EQ(dirs, (std::vector<std::string>{"def", "ghi/", "jkl", "mno/"}));
  EXPECT_EQ(dir_of("test_read_format_zip_sfx.zip").displacement, 1024u);
  EXPECT_EQ(dir_of("test_read_format_zip_comment_stored_2.zip").comment.size(), 1717u);
  EXPECT_EQ(
      dir_of("test_read_format_zip_uncompressed_size_off_by_4gib.zip").entries[0].uncompressed_size,
      4294967301u);
  EXPECT_EQ(dir_of("test_compat_zip_8.zip").entries[0].name, "arc/test");
  // A missing parent directory is made on extraction.
  TempDir out;
  EXPECT_TRUE(extract_all(path_utf8(corpus / "test_compat_zip_6.zip"), out.path).empty());
  EXPECT_EQ(read_file(out.path / "New Folder/New Folder/New Text Document.txt"), "some text\r\n");
}

// Archives built entry by entry, with names and fields no honest writer produces.
struct RawEntry {
  std::string name;
  std::string data;
};

std::string build_zip(const std::vector<RawEntry>& entries) {
  MemoryArchiveFile file;
  ZipWriter w(file, 0, {}, 0, TZip64Mode::zmAuto);
  for (const RawEntry& e : entries) {
    NewEntry n;
    n.name_bytes = e.name;
    n.method = zip::kMethodStored;
    n.attributes = 0x20;
    n.dos_time = 0x21000000;
    w.begin_entry(n);
    w.write(e.data.data(), e.data.size());
    const auto crc =
        static_cast<std::uint32_t>(::crc32(0, reinterpret_cast<const unsigned char*>(e.data.data()),
                                           static_cast<unsigned>(e.data.size())));
    w.end_entry(crc, e.data.size(), e.data.size());
  }
  w.finish();
  return file.data();
}

// Central header field offsets, for the lies.
std::size_t central_at(const std::string& zip, std::size_t index) {
  std::size_t at = zip.find("PK\x01\x02");
  for (std::size_t i = 0; i < index; ++i) at = zip.find("PK\x01\x02", at + 4);
  return at;
}

TEST(HostileArchives, AreRefusedEntryByEntryAndWriteNothingOutsideTheBase) {
  struct Case {
    const char* what;
    std::string name;
    void (*lie)(std::string& zip);  // applied to the entry under test (index 0)
    int native;                     // expected native error of the failure
  } cases[] = {
      {"dot-dot", "../evil.txt", nullptr, 25},
      {"dot-dot inside", "a/../../evil.txt", nullptr, 25},
      {"absolute", "/tmp/evil.txt", nullptr, 25},
      {"drive letter", "C:/evil.txt", nullptr, 25},
      {"drive relative", "C:evil.txt", nullptr, 25},
      {"backslash dot-dot", "..\\evil.txt", nullptr, 25},
      {"backslash inside", "a\\..\\..\\evil.txt", nullptr, 25},
      {"backslash absolute", "\\evil.txt", nullptr, 25},
      {"dots only", ".../evil.txt", nullptr, 25},
      {"CRC mismatch", "evil.txt",
       [](std::string& z) { zip::set32(z, central_at(z, 0) + 16, 0x12345678); }, 20},
      {"size larger than data", "evil.txt",
       [](std::string& z) {
         zip::set32(z, central_at(z, 0) + 20, 5000);
         zip::set32(z, central_at(z, 0) + 24, 5000);
       },
       24},
      {"size smaller than stored data", "evil.txt",
       [](std::string& z) { zip::set32(z, central_at(z, 0) + 24, 3); }, 21},
      {"local header outside the file", "evil.txt",
       [](std::string& z) { zip::set32(z, central_at(z, 0) + 42, 0x7FFFFFF0); }, 24},
      {"local header missing", "evil.txt",
       [](std::string& z) { zip::set32(z, central_at(z, 0) + 42, 10); }, 24},
      {"deflate claimed for stored bytes", "evil.txt",
       [](std::string& z) { zip::set32(z, central_at(z, 0) + 10, 8); }, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = build_zip({{c.name, "evil data"}, {"good.txt", "good"}});
    if (c.lie) c.lie(bytes);
    TempDir tmp;
    const std::string zip = path_utf8(tmp.path / "hostile.zip");
    write_file(tmp.path / "hostile.zip", bytes);
    auto fs = make_local_archive_file_system();
    Archiver a(*fs);
    std::vector<std::pair<std::string, int>> failed;
    a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation,
                                 std::int32_t native, std::int32_t, const std::string&,
                                 TFailureAction&) { failed.emplace_back(name, native); };
    a.FileName = zip;
    a.OpenArchive(TOpenMode::fmOpenRead);
    a.BaseDir = path_utf8(tmp.path / "base" / "inner");
    a.ExtractFiles();
    a.CloseArchive();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].second, c.native);
    // Only the good entry was written, and nothing beside the base.
    EXPECT_EQ(snapshot(tmp.path),
              (std::map<std::string, std::string>{{"base", "<dir>"},
                                                  {"base/inner", "<dir>"},
                                                  {"base/inner/good.txt", "good"},
                                                  {"hostile.zip", bytes}}));
  }
}

TEST(HostileArchives, DirectoriesThatLieAboutTheirPlaceAreRefusedWhole) {
  const std::string good = build_zip({{"a.txt", "a"}});
  const std::size_t end = good.size() - zip::kEndSize;
  struct Case {
    const char* what;
    void (*lie)(std::string& zip, std::size_t end);
  } cases[] = {
      {"offset past the end",
       [](std::string& z, std::size_t e) { zip::set32(z, e + 16, 0x7FFFFFFF); }},
      {"size past the start",
       [](std::string& z, std::size_t e) { zip::set32(z, e + 12, 0x7FFFFFFF); }},
      {"more entries than the directory holds",
       [](std::string& z, std::size_t e) {
         z[e + 8] = z[e + 10] = static_cast<char>(0xFF);
         z[e + 9] = z[e + 11] = 0x0F;
       }},
      {"zip64 locator pointing anywhere",
       [](std::string& z, std::size_t e) {
         std::string loc;
         zip::put32(loc, zip::kZip64LocatorSig);
         zip::put32(loc, 0);
         zip::put64(loc, 0xFFFFFFFFFFFFull);
         zip::put32(loc, 1);
         z.insert(e, loc);
         zip::set32(z, e + loc.size() + 12, 0xFFFFFFFF);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    c.lie(bytes, end);
    MemoryArchiveFile file(bytes);
    EXPECT_THROW(read_zip_directory(file), ZipFormatError);
  }
}

}  // namespace
}  // namespace qln::archive
