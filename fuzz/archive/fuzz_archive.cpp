// Feeds any byte sequence to the ZIP reader as an archive: the central directory, the
// recovery walk over local headers, every entry's data and the extraction name check.
// Nothing may crash, hang or allocate by what the bytes claim.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/entry_name.h"
#include "archive/memory_archive_file.h"
#include "archive/zip_reader.h"

namespace {

using namespace qln::archive;

constexpr std::size_t kMaxEntries = 32;
constexpr std::uint64_t kMaxEntrySize = 1 << 20;

void read_entries(ArchiveFile& file, const ZipDirectory& dir) {
  std::size_t n = 0;
  for (const ZipEntry& e : dir.entries) {
    if (++n > kMaxEntries) break;
    (void)safe_path_parts(e.name);
    (void)display_name(e.name);
    // A small archive may still claim a huge entry honestly (a 1000:1 Deflate stream);
    // the reader's bound is the declared size, which the limit here keeps quick.
    if (e.uncompressed_size > kMaxEntrySize) continue;
    try {
      std::uint64_t total = 0;
      read_entry_data(file, dir, e, [&](const char*, std::size_t len) {
        total += len;
        if (total > e.uncompressed_size) __builtin_trap();
      });
    } catch (const qln::Error&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryArchiveFile file(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const ZipDirectory dir = read_zip_directory(file);
    read_entries(file, dir);
  } catch (const qln::Error&) {
  }
  try {
    const ZipDirectory dir = recover_zip_entries(file);
    read_entries(file, dir);
  } catch (const qln::Error&) {
  }
  return 0;
}
