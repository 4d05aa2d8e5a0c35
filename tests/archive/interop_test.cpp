// Interoperability with the real peer tools, both ways: archives qlnzip writes pass Info-ZIP,
// 7-Zip and Python's zipfile and extract to exactly the source tree; archives those tools
// write (UTF-8 names, data descriptors, Zip64 records) extract with qlnzip to their content.
#include <gtest/gtest.h>

#include "archive_test_support.h"

namespace qln::archive {
namespace {

using namespace testing;

const std::string kQlnzip = QLN_QLNZIP;

// Names outside the ANSI code page, names with an OEM form, empty directories and files,
// hidden files and a deep path.
void make_tree(const fs::path& root) {
  write_file(root / utf8_path("Posteingang/\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82.msg"),
             "cyrillic");
  write_file(root / utf8_path("\xe8\xa1\xa8\xe3\x81\xa0\xe3\x82\x88/\xe6\xbc\xa2\xe5\xad\x97.txt"),
             "cjk");
  write_file(root / utf8_path("Gr\xc3\xbc\xc3\x9f\x65 \xc3\xa4\xc3\xb6/caf\xc3\xa9.txt"), "oem");
  write_file(root / utf8_path("Preis 5\xe2\x82\xac.txt"), "euro");
  write_file(root / "empty.tbn", "");
  write_file(root / ".hidden/.config", "hidden");
  fs::create_directories(root / "no mail/still none");
  std::string deep;
  for (int i = 0; i < 10; ++i) deep += "folder number " + std::to_string(i) + "/";
  write_file(root / (deep + "deep.msg"), "deep");
  std::string mail;
  for (int i = 0; i < 40000; ++i) mail += "Received: from host" + std::to_string(i) + "\r\n";
  write_file(root / "Posteingang/messages.tbb", mail);
}

struct Interop : ::testing::Test {
  TempDir tmp;
  fs::path src = tmp.path / "src";
  fs::path zip = tmp.path / "archive.zip";
  void SetUp() override { make_tree(src); }
};

TEST_F(Interop, OurArchivesPassThePeersAndExtractToTheSourceTree) {
  ASSERT_EQ(run(kQlnzip + " create " + quote(zip) + " " + quote(src)), 0);
  EXPECT_EQ(run("unzip -tqq " + quote(zip)), 0);
  EXPECT_EQ(run("7zz t -bso0 -bsp0 " + quote(zip)), 0);
  EXPECT_EQ(run("python3 -c 'import sys,zipfile; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() "
                "is not None)' " +
                quote(zip)),
            0);
  struct Peer {
    const char* name;
    std::string command;  // %o: output folder
  } peers[] = {
      {"unzip", "unzip -qq " + quote(zip) + " -d "},
      {"7zz", "7zz x -bso0 -bsp0 " + quote(zip) + " -o"},
      {"python",
       "python3 -c 'import sys,zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' " +
           quote(zip) + " "},
  };
  for (const Peer& p : peers) {
    SCOPED_TRACE(p.name);
    const fs::path out = tmp.path / p.name;
    ASSERT_EQ(run(p.command + quote(out)), 0);
    EXPECT_TRUE(same_tree(src, out));
  }
}

TEST_F(Interop, PeerArchivesExtractWithOursToTheirContent) {
  const std::string s = quote(src);
  struct Peer {
    const char* what;
    std::string command;  // run in the source folder, writes ../peer.zip
  } peers[] = {
      {"zip -r (UTF-8 names)", "zip -qr ../peer.zip ."},
      {"zip to a pipe (data descriptors)", "zip -qr - . > ../peer.zip"},
      {"7zz a -tzip", "7zz a -tzip -bso0 -bsp0 ../peer.zip ."},
      {"7zz a -tzip stored", "7zz a -tzip -mx=0 -bso0 -bsp0 ../peer.zip ."},
      {"python zipfile, Zip64 records",
       "python3 -c 'import os,zipfile\n"
       "z=zipfile.ZipFile(\"../peer.zip\",\"w\",zipfile.ZIP_DEFLATED)\n"
       "for d,ds,fs in os.walk(\".\"):\n"
       "  for n in ds+fs:\n"
       "    p=os.path.join(d,n)[2:]\n"
       "    if os.path.isdir(p): z.mkdir(p) if hasattr(z,\"mkdir\") else z.write(p)\n"
       "    else:\n"
       "      with z.open(p,\"w\",force_zip64=True) as o: o.write(open(p,\"rb\").read())\n"
       "z.close()'"},
      {"python zipfile to a pipe (data descriptors)",
       "python3 -c 'import os,sys,zipfile\n"
       "z=zipfile.ZipFile(sys.stdout.buffer,\"w\",zipfile.ZIP_DEFLATED)\n"
       "for d,ds,fs in os.walk(\".\"):\n"
       "  for n in ds+fs:\n"
       "    p=os.path.join(d,n)[2:]\n"
       "    z.write(p)\n"
       "z.close()' | cat > ../peer.zip"},
  };
  for (const Peer& p : peers) {
    SCOPED_TRACE(p.what);
    fs::remove(tmp.path / "peer.zip");
    ASSERT_EQ(run("cd " + s + " && " + p.command), 0);
    const fs::path out = tmp.path / "out";
    fs::remove_all(out);
    ASSERT_EQ(run(kQlnzip + " test " + quote(tmp.path / "peer.zip")), 0);
    ASSERT_EQ(run(kQlnzip + " extract " + quote(tmp.path / "peer.zip") + " " + quote(out)), 0);
    EXPECT_TRUE(same_tree(src, out));
  }
}

TEST_F(Interop, FailuresNameTheArchiveAndTheEntry) {
  ASSERT_EQ(run(kQlnzip + " create " + quote(zip) + " " + quote(src)), 0);
  std::string bytes = read_file(zip);
  const std::size_t at = bytes.find("Received: from host");  // stored? no: find the entry's data
  (void)at;
  // Flip a byte inside the mail file's compressed data: its CRC-32 check fails.
  const std::size_t name = bytes.find("Posteingang/messages.tbb");
  ASSERT_NE(name, std::string::npos);
  bytes[name + 200] = static_cast<char>(bytes[name + 200] ^ 0x55);
  write_file(zip, bytes);
  const fs::path err = tmp.path / "err.txt";
  EXPECT_NE(run(kQlnzip + " test " + quote(zip) + " 2> " + quote(err)), 0);
  const std::string message = read_file(err);
  EXPECT_NE(message.find(path_utf8(zip)), std::string::npos) << message;
  EXPECT_NE(message.find("Posteingang\\messages.tbb"), std::string::npos) << message;
  EXPECT_NE(run(kQlnzip + " test " + quote(tmp.path / "missing.zip") + " 2>/dev/null"), 0);
  EXPECT_NE(run(kQlnzip + " bogus 2>/dev/null"), 0);
}

}  // namespace
}  // namespace qln::archive
