#pragma once
// Reading ZIP archives: the central directory, entries recovered from local headers when the
// end record is gone, and each entry's data checked against its size and CRC-32. Whatever
// the bytes claim, the reader allocates no more than the file holds and always ends.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/archive_file_system.h"
#include "platform/error.h"

namespace qln::archive {

struct ZipEntry {
  std::string name;  // UTF-8, parts separated by "/" (a stored "\" counts as a separator)
  std::uint16_t version_made_by = 0;
  std::uint16_t version_needed = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint32_t dos_time = 0;
  std::uint32_t crc32 = 0;
  std::uint32_t external_attributes = 0;
  std::uint64_t compressed_size = 0;
  std::uint64_t uncompressed_size = 0;
  std::uint64_t local_offset = 0;  // as stored; the directory's displacement applies
  bool is_directory = false;
  bool size_known = true;  // false for a recovered entry whose sizes follow its data
};

struct ZipDirectory {
  std::vector<ZipEntry> entries;
  std::string central_bytes;       // the central directory as read, kept when entries are added
  std::uint64_t data_end = 0;      // where the central directory starts: new entries go here
  std::uint64_t displacement = 0;  // bytes in front of the archive that its offsets ignore
  bool has_end_record = false;
  std::string comment;
};

// The archive's structure cannot be read.
class ZipFormatError : public Error {
 public:
  using Error::Error;
};

enum class EntryFault { damaged, crc, size, method, encrypted };

// One entry cannot be read; the other entries may still be fine.
class EntryError : public Error {
 public:
  EntryError(EntryFault fault, const std::string& detail) : Error(detail), fault_(fault) {}
  EntryFault fault() const { return fault_; }

 private:
  EntryFault fault_;
};

// Whether the file ends with an end-of-central-directory record.
bool has_end_record(ArchiveFile& file);

// The entries of the central directory; throws ZipFormatError.
ZipDirectory read_zip_directory(ArchiveFile& file);

// The entries found by walking the local headers from the start of the file, for an archive
// whose end record is missing.
ZipDirectory recover_zip_entries(ArchiveFile& file);

// Streams an entry's data to `sink` in pieces, never more than its declared size; throws
// EntryError when the data is unsupported, damaged or does not match its size or CRC-32.
// `sink` sees the data before the check at the end, so a caller must not trust what it
// wrote until this returns.
using DataSink = std::function<void(const char* data, std::size_t n)>;
void read_entry_data(ArchiveFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                     const DataSink& sink);

}  // namespace qln::archive
