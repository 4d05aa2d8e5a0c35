#include "archive/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

#include "archive/entry_name.h"
#include "archive/zip_format.h"

namespace qln::archive {
namespace {

using namespace zip;
using Bytes = std::string;

constexpr std::size_t kBlock = 256 * 1024;

const unsigned char* u8(const Bytes& b, std::size_t at = 0) {
  return reinterpret_cast<const unsigned char*>(b.data()) + at;
}

Bytes read_exact(ArchiveFile& file, std::uint64_t offset, std::size_t n) {
  Bytes out(n, '\0');
  if (n && file.read_at(offset, out.data(), n) != n) out.resize(0);
  return out;
}

struct EndRecord {
  std::uint64_t position = 0;  // of the classic end record
  std::uint64_t entries = 0;
  std::uint64_t cd_size = 0;
  std::uint64_t cd_offset = 0;
  std::uint64_t cd_end = 0;  // where the directory should end: the first end record
  std::string comment;
};

// Searches backwards, so an archive stored inside this one is never mistaken for it, and
// allows junk after the record.
std::optional<EndRecord> find_end(ArchiveFile& file) {
  const std::uint64_t size = file.size();
  if (size < kEndSize) return std::nullopt;
  const std::size_t span =
      static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndSize + kMaxCommentSize + 1024));
  const std::uint64_t base = size - span;
  const Bytes tail = read_exact(file, base, span);
  if (tail.size() != span) return std::nullopt;
  for (std::size_t at = span - kEndSize + 1; at-- > 0;) {
    const unsigned char* p = u8(tail, at);
    if (get32(p) != kEndSig) continue;
    const std::size_t comment = get16(p + 20);
    if (at + kEndSize + comment > span) continue;
    EndRecord end;
    end.position = base + at;
    end.entries = get16(p + 10);
    end.cd_size = get32(p + 12);
    end.cd_offset = get32(p + 16);
    end.cd_end = end.position;
    end.comment = tail.substr(at + kEndSize, comment);
    return end;
  }
  return std::nullopt;
}

// Fills in the Zip64 end record's values when a locator precedes the classic record.
void apply_zip64_end(ArchiveFile& file, EndRecord& end) {
  if (end.position < kZip64LocatorSize) return;
  const Bytes loc = read_exact(file, end.position - kZip64LocatorSize, kZip64LocatorSize);
  if (loc.size() != kZip64LocatorSize || get32(u8(loc)) != kZip64LocatorSig) return;
  const std::uint64_t stated = get64(u8(loc, 8));
  std::vector<std::uint64_t> candidates{stated};
  if (end.position >= kZip64LocatorSize + kZip64EndSize) {
    candidates.push_back(end.position - kZip64LocatorSize - kZip64EndSize);
  }
  for (const std::uint64_t at : candidates) {
    if (at > end.position) continue;
    const Bytes rec = read_exact(file, at, kZip64EndSize);
    if (rec.size() != kZip64EndSize || get32(u8(rec)) != kZip64EndSig) continue;
    if ((get16(u8(rec, 14)) & 0xFF) >= 62) {
      throw ZipFormatError("the central directory is encrypted");
    }
    end.entries = get64(u8(rec, 32));
    end.cd_size = get64(u8(rec, 40));
    end.cd_offset = get64(u8(rec, 48));
    end.cd_end = at;
    return;
  }
}

struct Extra {
  std::uint16_t id;
  std::string_view data;
};

std::vector<Extra> parse_extras(std::string_view field) {
  std::vector<Extra> out;
  std::size_t at = 0;
  while (at + 4 <= field.size()) {
    const auto* p = reinterpret_cast<const unsigned char*>(field.data()) + at;
    const std::uint16_t id = get16(p);
    const std::size_t len = get16(p + 2);
    if (at + 4 + len > field.size()) break;
    out.push_back({id, field.substr(at + 4, len)});
    at += 4 + len;
  }
  return out;
}

// Replaces the 32-bit fields that are saturated by the values of the Zip64 extra field.
void apply_zip64_extra(const std::vector<Extra>& extras, bool central, std::uint64_t& usize,
                       std::uint64_t& csize, std::uint64_t* offset) {
  const bool need_u = usize == kMax32, need_c = csize == kMax32;
  const bool need_o = offset && *offset == kMax32;
  if (!need_u && !need_c && !need_o) return;
  for (const Extra& x : extras) {
    if (x.id != kExtraZip64) continue;
    const auto* p = reinterpret_cast<const unsigned char*>(x.data.data());
    std::size_t at = 0;
    auto take = [&](std::uint64_t& v) {
      if (at + 8 > x.data.size()) throw ZipFormatError("a Zip64 extra field is too short");
      v = get64(p + at);
      at += 8;
    };
    // A local header's Zip64 field holds both sizes whenever it is there.
    if (need_u || !central) take(usize);
    if (need_c || (!central && at + 8 <= x.data.size())) take(csize);
    if (need_o) take(*offset);
    return;
  }
  if (central) throw ZipFormatError("a Zip64 extra field is missing");
}

// Unix and macOS writers that store UTF-8 names without flag bit 11 (Info-ZIP writing to a
// pipe, for one): a name that is valid UTF-8 with non-ASCII characters is taken as UTF-8.
bool unflagged_utf8(std::string_view raw, std::uint16_t made_by) {
  const int host = made_by >> 8;
  if (host != 3 && host != 19) return false;
  bool wide = false;
  for (const char c : raw) wide = wide || static_cast<unsigned char>(c) >= 0x80;
  return wide && sanitise_utf8(raw) == raw;
}

std::string decode_name(std::string_view raw, std::uint16_t flags, std::uint16_t made_by,
                        const std::vector<Extra>& extras) {
  for (const Extra& x : extras) {
    if (x.id == kExtraUnicodeName) {
      if (auto name = decode_unicode_name_extra(x.data)) return normalise_separators(*name);
    }
  }
  for (const Extra& x : extras) {
    if (x.id == kExtraUnicodePath && x.data.size() >= 5 && x.data[0] == 1) {
      const auto* p = reinterpret_cast<const unsigned char*>(x.data.data());
      const uLong crc =
          crc32(0, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size()));
      if (get32(p + 1) == crc) return normalise_separators(sanitise_utf8(x.data.substr(5)));
    }
  }
  const bool utf8 = (flags & kFlagUtf8) != 0 || unflagged_utf8(raw, made_by);
  return normalise_separators(decode_stored_name(raw, utf8));
}

bool looks_like_directory(const ZipEntry& e) {
  if (!e.name.empty() && e.name.back() == '/') return true;
  return (e.external_attributes & kAttrDirectory) && e.uncompressed_size == 0 &&
         e.compressed_size == 0;
}

std::vector<ZipEntry> parse_central(const Bytes& cd, std::uint64_t expected) {
  std::vector<ZipEntry> out;
  std::size_t at = 0;
  while (out.size() < expected) {
    if (at + kCentralHeaderSize > cd.size() || get32(u8(cd, at)) != kCentralHeaderSig) {
      throw ZipFormatError("the central directory is damaged");
    }
    const unsigned char* p = u8(cd, at);
    const std::size_t n = get16(p + 28), m = get16(p + 30), k = get16(p + 32);
    if (at + kCentralHeaderSize + n + m + k > cd.size()) {
      throw ZipFormatError("the central directory is damaged");
    }
    ZipEntry e;
    e.version_made_by = get16(p + 4);
    e.version_needed = get16(p + 6);
    e.flags = get16(p + 8);
    e.method = get16(p + 10);
    e.dos_time = static_cast<std::uint32_t>(get16(p + 14)) << 16 | get16(p + 12);
    e.crc32 = get32(p + 16);
    e.compressed_size = get32(p + 20);
    e.uncompressed_size = get32(p + 24);
    e.external_attributes = get32(p + 38);
    e.local_offset = get32(p + 42);
    const std::string_view raw(cd.data() + at + kCentralHeaderSize, n);
    const auto extras = parse_extras(std::string_view(cd).substr(at + kCentralHeaderSize + n, m));
    apply_zip64_extra(extras, true, e.uncompressed_size, e.compressed_size, &e.local_offset);
    e.name = decode_name(raw, e.flags, e.version_made_by, extras);
    e.is_directory = looks_like_directory(e);
    out.push_back(std::move(e));
    at += kCentralHeaderSize + n + m + k;
  }
  return out;
}

std::string method_name(std::uint16_t method) {
  switch (method) {
    case 1:
      return "1 (Shrink)";
    case 6:
      return "6 (Implode)";
    case 9:
      return "9 (Deflate64)";
    case 12:
      return "12 (BZIP2)";
    case 14:
      return "14 (LZMA)";
    case 93:
      return "93 (Zstandard)";
    case 95:
      return "95 (XZ)";
    case 98:
      return "98 (PPMd)";
    default:
      return std::to_string(method);
  }
}

void check_supported(const ZipEntry& e) {
  if (e.method == kMethodAes) throw EntryError(EntryFault::encrypted, "encrypted (AES)");
  if (e.flags & kFlagStrongEncryption) {
    throw EntryError(EntryFault::encrypted, "encrypted (strong encryption)");
  }
  if (e.flags & kFlagEncrypted) throw EntryError(EntryFault::encrypted, "encrypted");
  if (e.method != kMethodStored && e.method != kMethodDeflate) {
    throw EntryError(EntryFault::method, "unsupported method " + method_name(e.method));
  }
  if (!e.size_known) throw EntryError(EntryFault::damaged, "the entry's size is not recorded");
}

// Where the entry's data starts, after checking that its local header is where the central
// directory says and that the data lies inside the file.
std::uint64_t data_start(ArchiveFile& file, const ZipDirectory& dir, const ZipEntry& e) {
  const std::uint64_t size = file.size();
  const std::uint64_t header = e.local_offset + dir.displacement;
  if (header < e.local_offset || header > size || size - header < kLocalHeaderSize) {
    throw EntryError(EntryFault::damaged, "the local header lies outside the archive");
  }
  const Bytes h = read_exact(file, header, kLocalHeaderSize);
  if (h.size() != kLocalHeaderSize || get32(u8(h)) != kLocalHeaderSig) {
    throw EntryError(EntryFault::damaged, "the local header is missing");
  }
  const std::uint64_t start = header + kLocalHeaderSize + get16(u8(h, 26)) + get16(u8(h, 28));
  if (start > size || size - start < e.compressed_size) {
    throw EntryError(EntryFault::damaged, "the data runs past the end of the archive");
  }
  return start;
}

void read_stored(ArchiveFile& file, std::uint64_t at, const ZipEntry& e, const DataSink& sink,
                 uLong& crc) {
  if (e.compressed_size != e.uncompressed_size) {
    throw EntryError(EntryFault::size, "the stored size does not match the size of the data");
  }
  Bytes buf(static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, e.compressed_size)), '\0');
  std::uint64_t left = e.compressed_size;
  while (left > 0) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, buf.size()));
    if (file.read_at(at, buf.data(), n) != n) {
      throw EntryError(EntryFault::damaged, "the data is cut short");
    }
    crc = crc32(crc, reinterpret_cast<const Bytef*>(buf.data()), static_cast<uInt>(n));
    sink(buf.data(), n);
    at += n;
    left -= n;
  }
}

class Inflater {
 public:
  Inflater() {
    if (inflateInit2(&z_, -MAX_WBITS) != Z_OK) throw Error("zlib cannot start decompressing");
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  ~Inflater() { inflateEnd(&z_); }
  z_stream* operator->() { return &z_; }
  z_stream* get() { return &z_; }

 private:
  z_stream z_{};
};

void read_deflated(ArchiveFile& file, std::uint64_t at, const ZipEntry& e, const DataSink& sink,
                   uLong& crc) {
  Inflater z;
  Bytes in(static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, e.compressed_size)), '\0');
  Bytes out(kBlock, '\0');
  std::uint64_t left = e.compressed_size, produced = 0;
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    if (z->avail_in == 0 && left > 0) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, in.size()));
      if (file.read_at(at, in.data(), n) != n) {
        throw EntryError(EntryFault::damaged, "the data is cut short");
      }
      at += n;
      left -= n;
      z->next_in = reinterpret_cast<Bytef*>(in.data());
      z->avail_in = static_cast<uInt>(n);
    }
    z->next_out = reinterpret_cast<Bytef*>(out.data());
    z->avail_out = static_cast<uInt>(out.size());
    rc = inflate(z.get(), Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
      throw EntryError(EntryFault::damaged, "the compressed data is invalid");
    }
    const std::size_t got = out.size() - z->avail_out;
    if (got > e.uncompressed_size - produced) {
      throw EntryError(EntryFault::size, "the data is longer than its stated size");
    }
    if (got) {
      crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(got));
      sink(out.data(), got);
      produced += got;
    } else if (rc != Z_STREAM_END && (z->avail_in != 0 || left == 0)) {
      // No output although the buffer was free: the stream is cut short or broken.
      throw EntryError(EntryFault::damaged, "the compressed data is cut short");
    }
  }
  if (produced != e.uncompressed_size) {
    throw EntryError(EntryFault::size, "the data is shorter than its stated size");
  }
}

}  // namespace

bool has_end_record(ArchiveFile& file) { return find_end(file).has_value(); }

ZipDirectory read_zip_directory(ArchiveFile& file) {
  auto end = find_end(file);
  if (!end) throw ZipFormatError("the end of the central directory is missing");
  apply_zip64_end(file, *end);
  const std::uint64_t size = file.size();
  if (end->cd_size > end->cd_end || end->cd_end > size) {
    throw ZipFormatError("the central directory lies outside the archive");
  }
  // A writer that put bytes in front of the archive without adjusting its offsets: the
  // directory's real place gives the displacement.
  const std::uint64_t real_start = end->cd_end - end->cd_size;
  ZipDirectory dir;
  dir.has_end_record = true;
  dir.comment = end->comment;
  auto signature_at = [&](std::uint64_t at) {
    const Bytes sig = read_exact(file, at, 4);
    return sig.size() == 4 && get32(u8(sig)) == kCentralHeaderSig;
  };
  std::uint64_t start = end->cd_offset;
  if (end->entries > 0 && !(start <= real_start && signature_at(start))) {
    if (real_start < end->cd_offset || !signature_at(real_start)) {
      throw ZipFormatError("the central directory is not where the end record says");
    }
    dir.displacement = real_start - end->cd_offset;
    start = real_start;
  }
  if (start > size || size - start < end->cd_size) {
    throw ZipFormatError("the central directory lies outside the archive");
  }
  dir.central_bytes = read_exact(file, start, static_cast<std::size_t>(end->cd_size));
  if (dir.central_bytes.size() != end->cd_size) {
    throw ZipFormatError("the central directory is cut short");
  }
  dir.entries = parse_central(dir.central_bytes, end->entries);
  dir.data_end = end->entries > 0 ? start : std::min(start, end->position);
  return dir;
}

ZipDirectory recover_zip_entries(ArchiveFile& file) {
  ZipDirectory dir;
  const std::uint64_t size = file.size();
  std::uint64_t at = 0;
  while (size - at >= kLocalHeaderSize) {
    const Bytes h = read_exact(file, at, kLocalHeaderSize);
    if (h.size() != kLocalHeaderSize || get32(u8(h)) != kLocalHeaderSig) break;
    const std::size_t n = get16(u8(h, 26)), m = get16(u8(h, 28));
    const Bytes names = read_exact(file, at + kLocalHeaderSize, n + m);
    ZipEntry e;
    e.version_needed = get16(u8(h, 4));
    e.flags = get16(u8(h, 6));
    e.method = get16(u8(h, 8));
    e.dos_time = static_cast<std::uint32_t>(get16(u8(h, 12))) << 16 | get16(u8(h, 10));
    e.crc32 = get32(u8(h, 14));
    e.compressed_size = get32(u8(h, 18));
    e.uncompressed_size = get32(u8(h, 22));
    e.local_offset = at;
    if (names.size() != n + m) {
      e.size_known = false;
      dir.entries.push_back(std::move(e));
      break;
    }
    const auto extras = parse_extras(std::string_view(names).substr(n));
    try {
      apply_zip64_extra(extras, false, e.uncompressed_size, e.compressed_size, nullptr);
    } catch (const ZipFormatError&) {
      e.size_known = false;
    }
    e.name = decode_name(std::string_view(names).substr(0, n), e.flags, 0, extras);
    e.is_directory = looks_like_directory(e);
    // Sizes that follow the data cannot be found without decompressing: the walk ends here.
    if (e.flags & kFlagDataDescriptor) e.size_known = false;
    const std::uint64_t next = at + kLocalHeaderSize + n + m + e.compressed_size;
    const bool fits = e.size_known && next >= at && next <= size;
    dir.entries.push_back(std::move(e));
    if (!fits) break;
    at = next;
  }
  dir.data_end = at;
  return dir;
}

void read_entry_data(ArchiveFile& file, const ZipDirectory& dir, const ZipEntry& entry,
                     const DataSink& sink) {
  check_supported(entry);
  const std::uint64_t at = data_start(file, dir, entry);
  uLong crc = crc32(0, nullptr, 0);
  if (entry.method == kMethodStored) {
    read_stored(file, at, entry, sink, crc);
  } else {
    read_deflated(file, at, entry, sink, crc);
  }
  if (crc != entry.crc32) throw EntryError(EntryFault::crc, "the CRC-32 does not match");
}

}  // namespace qln::archive
