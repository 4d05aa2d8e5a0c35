// AddFiles: one update of the open archive. The files' data flows through the compression
// pool in archive order; this thread opens and reads the files, writes the results and
// raises the events. Any error cancels the update: the archive is put back to the entries
// it had before the call.
#include <zlib.h>

#include <deque>

#include "archive/archiver.h"
#include "archive/compress_pool.h"
#include "archive/entry_name.h"
#include "archive/file_selection.h"
#include "archive/run_cancelled.h"
#include "archive/zip_format.h"

namespace qln::archive {
namespace {

constexpr std::size_t kChunkSize = 1 << 20;
constexpr std::size_t kDictionarySize = 32 * 1024;
// Files this large may pass 4 GiB once compressed, so their local header reserves Zip64
// sizes.
constexpr std::uint64_t kLargeFile = 0xF0000000;

struct Pending {
  SelectedItem item;
  NewEntry header;
  std::string display;
  std::uint32_t crc = 0;
  std::uint64_t compressed = 0;
  std::uint64_t uncompressed = 0;
};

// Reads up to `want` bytes; fewer only at the end of the file.
void read_chunk(InputFile& in, std::string& buf, std::size_t want) {
  buf.resize(want);
  std::size_t have = 0;
  while (have < buf.size()) {
    const std::size_t got = in.read(buf.data() + have, buf.size() - have);
    if (got == 0) break;
    have += got;
  }
  buf.resize(have);
}

}  // namespace

void Archiver::AddFiles(const std::string& FileMask, std::uint32_t SearchAttr,
                        const std::string& ExclusionMask) {
  require_active();
  if (!file_->writable()) throw ArchiverError(native::kReadOnlyArchive, FileName);
  if (!dir_.has_end_record || dir_.displacement != 0) {
    throw ArchiverError(native::kCannotUpdate, FileName);
  }
  const std::uint64_t start = dir_.data_end;
  const std::string central = dir_.central_bytes;
  const std::uint64_t count = dir_.entries.size();
  try {
    add_files(FileMask, SearchAttr, ExclusionMask);
  } catch (const RunCancelled&) {
    restore_directory(start, central, count);
  } catch (...) {
    restore_directory(start, central, count);
    throw;
  }
}

void Archiver::restore_directory(std::uint64_t start, const std::string& central,
                                 std::uint64_t count) {
  try {
    ZipWriter(*file_, start, central, count, Zip64Mode).finish();
    file_->flush();
    dir_ = read_zip_directory(*file_);
  } catch (...) {
    // The original failure is the one to report; the archive is left as it is.
  }
}

void Archiver::add_files(const std::string& mask, std::uint32_t attr,
                         const std::string& exclusion) {
  constexpr auto op = TProcessOperation::poAdd;
  SelectionRules rules;
  rules.file_mask = mask;
  rules.search_attr = attr;
  rules.exclusion_mask = exclusion;
  rules.recurse = Options.Recurse;
  rules.excluded_paths.push_back(fs_.absolute(FileName));
  std::vector<SelectedItem> items;
  try {
    items = select_files(fs_, fs_.absolute(BaseDir), rules);
  } catch (const FileError& e) {
    throw ArchiverError(native::kCannotRead, BaseDir, e.what());
  }
  std::uint64_t total_bytes = 0;
  for (const auto& i : items) total_bytes += i.size;

  overall(0, op, TProgressPhase::ppStart);
  const int level = compression_mode_;
  ZipWriter writer(*file_, dir_.data_end, dir_.central_bytes, dir_.entries.size(), Zip64Mode);
  const unsigned threads = worker_count();
  CompressPool pool(threads, 4 * threads + 2);

  std::deque<Pending> pending;
  std::size_t next_item = 0, submitted = 0;
  std::unique_ptr<InputFile> input;
  std::unique_ptr<Chunk> ahead;
  std::string dictionary;
  std::uint64_t consumed = 0;  // of the file being read
  std::uint64_t done_bytes = 0;

  // Opens the next selected file, asking the failure handler when it cannot; false when
  // the file is skipped.
  auto open_next = [&](const SelectedItem& item, const std::string& display) {
    for (;;) {
      try {
        input = fs_.open_input(item.path, Options.ShareMode);
        return true;
      } catch (const FileError& e) {
        const ArchiverError err(native::kCannotOpen, item.path);
        if (!offer_failure(display, op, err, static_cast<std::int32_t>(e.system_error()))) {
          return false;
        }
      }
    }
  };

  // The next chunk of the file being read: as much as its size promises, up to a full
  // chunk, and a small probe at the end so that a file that grew is read to its end.
  auto read_ahead = [&](const SelectedItem& item) {
    ahead = pool.acquire();
    const std::uint64_t left = item.size > consumed ? item.size - consumed : 0;
    const std::size_t want =
        left ? static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunkSize)) : 4096;
    try {
      read_chunk(*input, ahead->input, want);
    } catch (const FileError& e) {
      throw ArchiverError(native::kCannotRead, item.path, e.what());
    }
    consumed += ahead->input.size();
  };

  try {
    for (;;) {
      while (!pool.full() && (input || next_item < items.size())) {
        std::unique_ptr<Chunk> chunk;
        if (!input) {
          const SelectedItem& item = items[next_item++];
          Pending p;
          p.item = item;
          p.display = display_name(item.relative);
          EncodedName name = encode_entry_name(item.relative, UnicodeFilenames);
          p.header.name_bytes = std::move(name.bytes);
          p.header.utf8 = name.utf8;
          p.header.extra = std::move(name.extra);
          p.header.dos_time = item.dos_time ? *item.dos_time : fs_.now_dos_time();
          p.header.attributes = item.attributes;
          p.header.method =
              item.is_directory || level == 0 ? zip::kMethodStored : zip::kMethodDeflate;
          p.header.large = item.size >= kLargeFile;
          if (!item.is_directory) {
            if (!open_next(item, p.display)) continue;
            consumed = 0;
            read_ahead(item);
            dictionary.clear();
          }
          pending.push_back(std::move(p));
          if (item.is_directory) {
            chunk = pool.acquire();
            chunk->first = true;
            chunk->last = true;
            chunk->level = 0;
            chunk->entry = submitted++;
            pool.submit(std::move(chunk));
            continue;
          }
        }
        const bool first = consumed == ahead->input.size();
        chunk = std::move(ahead);
        chunk->first = first;
        read_ahead(pending.back().item);
        chunk->last = ahead->input.empty();
        if (chunk->last) pool.recycle(std::move(ahead));
        chunk->level = pending.back().header.method == zip::kMethodStored ? 0 : level;
        chunk->dictionary = std::move(dictionary);
        dictionary.clear();
        // The tail of this chunk primes the compression of the next one.
        if (chunk->level != 0 && !chunk->last) {
          const std::size_t keep = std::min(kDictionarySize, chunk->input.size());
          dictionary.assign(chunk->input, chunk->input.size() - keep, keep);
        }
        chunk->input_size = chunk->input.size();
        chunk->entry = submitted++;
        if (chunk->last) input.reset();
        pool.submit(std::move(chunk));
      }
      if (pool.empty()) break;

      auto chunk = pool.next();
      Pending& p = pending.front();
      if (chunk->first) {
        writer.begin_entry(p.header);
        file_progress(p.display, 0, op, TProgressPhase::ppStart);
      }
      writer.write(chunk->output.data(), chunk->output.size());
      const std::size_t chunk_input = chunk->input_size;
      const std::size_t chunk_output = chunk->output.size();
      const bool chunk_last = chunk->last;
      const std::uint32_t chunk_crc = chunk->crc;
      pool.recycle(std::move(chunk));
      p.crc = static_cast<std::uint32_t>(
          crc32_combine(p.crc, chunk_crc, static_cast<z_off_t>(chunk_input)));
      p.compressed += chunk_output;
      p.uncompressed += chunk_input;
      done_bytes += chunk_input;
      if (!chunk_last) {
        const double part = p.item.size
                                ? std::min(100.0, 100.0 * static_cast<double>(p.uncompressed) /
                                                      static_cast<double>(p.item.size))
                                : 0.0;
        file_progress(p.display, part, op, TProgressPhase::ppProcess);
        continue;
      }
      writer.end_entry(p.crc, p.compressed, p.uncompressed);
      file_progress(p.display, 100, op, TProgressPhase::ppEnd);
      pending.pop_front();
      overall(total_bytes ? std::min(99.9, 100.0 * static_cast<double>(done_bytes) /
                                               static_cast<double>(total_bytes))
                          : 50.0,
              op, TProgressPhase::ppProcess);
    }
    writer.finish();
    file_->flush();
    dir_ = read_zip_directory(*file_);
  } catch (const FileError& e) {
    if (e.disk_full() && OnDiskFull) {
      bool cancel = false;
      OnDiskFull(*this, 1, FileName, cancel);
    }
    if (e.disk_full()) throw ArchiverError(native::kDiskFull, {}, FileName);
    throw ArchiverError(native::kCannotWrite, FileName, e.what());
  } catch (const ZipFormatError& e) {
    throw ArchiverError(native::kInvalidArchive, FileName, e.what());
  }
  overall(100, op, TProgressPhase::ppEnd);
}

}  // namespace qln::archive
