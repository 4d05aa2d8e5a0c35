#pragma once
// Writing ZIP entries one after another into the archive file, then the central directory.
// Each local header is written first and completed once its data is known, so the archive
// needs no data descriptors; Zip64 records appear only where a value needs them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/archive_file_system.h"

namespace qln::archive {

enum class TZip64Mode { zmDisabled, zmAuto, zmAlways };

struct NewEntry {
  std::string name_bytes;
  bool utf8 = false;
  std::string extra;  // extra fields for both headers (the 0x554E name)
  std::uint32_t dos_time = 0;
  std::uint32_t attributes = 0;
  std::uint16_t method = 0;
  bool large = false;  // may reach 4 GiB: the local header reserves Zip64 sizes
};

class ZipWriter {
 public:
  // Writes from `start` on, after the entries whose central records are `kept_central`.
  ZipWriter(ArchiveFile& file, std::uint64_t start, std::string kept_central,
            std::uint64_t kept_entries, TZip64Mode mode);

  void begin_entry(const NewEntry& entry);
  void write(const void* data, std::size_t n);
  void end_entry(std::uint32_t crc, std::uint64_t compressed, std::uint64_t uncompressed);

  // The central directory and end records; the file ends there.
  void finish();

  std::uint64_t entries() const { return entries_; }

 private:
  void flush_buffer();
  void patch(std::uint64_t offset, const std::string& bytes);

  ArchiveFile& file_;
  TZip64Mode mode_;
  std::string buffer_;
  std::uint64_t buffer_start_;
  std::string central_;
  std::uint64_t entries_;
  // The entry being written.
  NewEntry current_;
  std::uint64_t header_offset_ = 0;
  bool open_ = false;
};

}  // namespace qln::archive
