#include "archive/zip_writer.h"

#include "archive/zip_format.h"
#include "platform/error.h"

namespace qln::archive {

using namespace zip;

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
}

ZipWriter::ZipWriter(ArchiveFile& file, std::uint64_t start, std::string kept_central,
                     std::uint64_t kept_entries, TZip64Mode mode)
    : file_(file),
      mode_(mode),
      buffer_start_(start),
      central_(std::move(kept_central)),
      entries_(kept_entries) {
  buffer_.reserve(kBufferSize + 64 * 1024);
}

void ZipWriter::flush_buffer() {
  if (buffer_.empty()) return;
  file_.write_at(buffer_start_, buffer_.data(), buffer_.size());
  buffer_start_ += buffer_.size();
  buffer_.clear();
}

void ZipWriter::patch(std::uint64_t offset, const std::string& bytes) {
  if (offset >= buffer_start_) {
    buffer_.replace(static_cast<std::size_t>(offset - buffer_start_), bytes.size(), bytes);
  } else {
    file_.write_at(offset, bytes.data(), bytes.size());
  }
}

void ZipWriter::begin_entry(const NewEntry& entry) {
  current_ = entry;
  if (mode_ == TZip64Mode::zmAlways) current_.large = true;
  if (mode_ == TZip64Mode::zmDisabled) current_.large = false;
  header_offset_ = buffer_start_ + buffer_.size();
  open_ = true;
  std::string h;
  put32(h, kLocalHeaderSig);
  put16(h, current_.large ? kVersionZip64 : kVersion20);
  put16(h, current_.utf8 ? kFlagUtf8 : 0);
  put16(h, current_.method);
  put32(h, current_.dos_time);  // time, then date
  put32(h, 0);                  // CRC-32, completed at the end
  put32(h, current_.large ? kMax32 : 0);
  put32(h, current_.large ? kMax32 : 0);
  put16(h, static_cast<std::uint32_t>(current_.name_bytes.size()));
  put16(h, static_cast<std::uint32_t>((current_.large ? 20 : 0) + current_.extra.size()));
  h += current_.name_bytes;
  if (current_.large) {
    put16(h, kExtraZip64);
    put16(h, 16);
    put64(h, 0);
    put64(h, 0);
  }
  h += current_.extra;
  buffer_ += h;
  if (buffer_.size() >= kBufferSize) flush_buffer();
}

void ZipWriter::write(const void* data, std::size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const std::size_t room = kBufferSize - std::min(buffer_.size(), kBufferSize);
    if (room == 0) {
      flush_buffer();
      continue;
    }
    const std::size_t take = std::min(room, n);
    buffer_.append(p, take);
    p += take;
    n -= take;
  }
}

void ZipWriter::end_entry(std::uint32_t crc, std::uint64_t compressed, std::uint64_t uncompressed) {
  if (!open_) throw Error("no entry is being written");
  open_ = false;
  const bool too_big = compressed >= kMax32 || uncompressed >= kMax32;
  if (too_big && !current_.large) {
    throw Error("the file is larger than the archive format allows here");
  }
  std::string fields;
  put32(fields, crc);
  put32(fields, current_.large ? kMax32 : static_cast<std::uint32_t>(compressed));
  put32(fields, current_.large ? kMax32 : static_cast<std::uint32_t>(uncompressed));
  patch(header_offset_ + 14, fields);
  if (current_.large) {
    std::string sizes;
    put64(sizes, uncompressed);
    put64(sizes, compressed);
    patch(header_offset_ + kLocalHeaderSize + current_.name_bytes.size() + 4, sizes);
  }

  const bool always = mode_ == TZip64Mode::zmAlways;
  const bool big_u = always || uncompressed >= kMax32;
  const bool big_c = always || compressed >= kMax32;
  const bool big_o = always || header_offset_ >= kMax32;
  if ((big_u || big_c || big_o) && mode_ == TZip64Mode::zmDisabled) {
    throw Error("the archive needs Zip64 records, which are disabled");
  }
  std::string z64;
  if (big_u || big_c || big_o) {
    put16(z64, kExtraZip64);
    put16(z64, 8 * ((big_u ? 1 : 0) + (big_c ? 1 : 0) + (big_o ? 1 : 0)));
    if (big_u) put64(z64, uncompressed);
    if (big_c) put64(z64, compressed);
    if (big_o) put64(z64, header_offset_);
  }
  std::string& c = central_;
  put32(c, kCentralHeaderSig);
  put16(c, kVersion20);
  put16(c, z64.empty() && !current_.large ? kVersion20 : kVersionZip64);
  put16(c, current_.utf8 ? kFlagUtf8 : 0);
  put16(c, current_.method);
  put32(c, current_.dos_time);
  put32(c, crc);
  put32(c, big_c ? kMax32 : static_cast<std::uint32_t>(compressed));
  put32(c, big_u ? kMax32 : static_cast<std::uint32_t>(uncompressed));
  put16(c, static_cast<std::uint32_t>(current_.name_bytes.size()));
  put16(c, static_cast<std::uint32_t>(z64.size() + current_.extra.size()));
  put16(c, 0);  // comment
  put16(c, 0);  // disk
  put16(c, 0);  // internal attributes
  put32(c, current_.attributes);
  put32(c, big_o ? kMax32 : static_cast<std::uint32_t>(header_offset_));
  c += current_.name_bytes;
  c += z64;
  c += current_.extra;
  ++entries_;
}

void ZipWriter::finish() {
  if (open_) throw Error("an entry is still being written");
  const std::uint64_t cd_offset = buffer_start_ + buffer_.size();
  const std::uint64_t cd_size = central_.size();
  write(central_.data(), central_.size());
  const bool zip64 = mode_ == TZip64Mode::zmAlways || entries_ >= kMax16 || cd_size >= kMax32 ||
                     cd_offset >= kMax32;
  if (zip64 && mode_ == TZip64Mode::zmDisabled) {
    throw Error("the archive needs Zip64 records, which are disabled");
  }
  std::string end;
  if (zip64) {
    const std::uint64_t z64_offset = cd_offset + cd_size;
    put32(end, kZip64EndSig);
    put64(end, kZip64EndSize - 12);
    put16(end, kVersionZip64);
    put16(end, kVersionZip64);
    put32(end, 0);
    put32(end, 0);
    put64(end, entries_);
    put64(end, entries_);
    put64(end, cd_size);
    put64(end, cd_offset);
    put32(end, kZip64LocatorSig);
    put32(end, 0);
    put64(end, z64_offset);
    put32(end, 1);
  }
  const std::uint32_t count = entries_ >= kMax16 ? kMax16 : static_cast<std::uint32_t>(entries_);
  put32(end, kEndSig);
  put16(end, 0);
  put16(end, 0);
  put16(end, count);
  put16(end, count);
  put32(end, cd_size >= kMax32 ? kMax32 : static_cast<std::uint32_t>(cd_size));
  put32(end, cd_offset >= kMax32 ? kMax32 : static_cast<std::uint32_t>(cd_offset));
  put16(end, 0);
  write(end.data(), end.size());
  const std::uint64_t total = buffer_start_ + buffer_.size();
  flush_buffer();
  file_.truncate(total);
}

}  // namespace qln::archive
