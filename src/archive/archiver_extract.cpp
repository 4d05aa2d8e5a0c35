// ExtractFiles and TestFiles: entries are read on worker threads, each one checked against
// its size and CRC-32 before it counts; this thread raises the events in archive order.
// An extracted file is written beside its target under a temporary name and takes the
// target's place only once its data has proved sound.
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <thread>

#include "archive/archiver.h"
#include "archive/compress_pool.h"
#include "archive/entry_name.h"
#include "archive/run_cancelled.h"
#include "archive/wildcard.h"

namespace qln::archive {
namespace {

constexpr std::uint32_t kStoredAttributes = 0x01 | 0x02 | 0x04 | 0x20;

ArchiverError entry_failure(const EntryError& e, const std::string& name) {
  switch (e.fault()) {
    case EntryFault::crc:
      return ArchiverError(native::kBadCrc, name, e.what());
    case EntryFault::size:
      return ArchiverError(native::kBadSize, name, e.what());
    case EntryFault::method:
      return ArchiverError(native::kBadMethod, name, e.what());
    case EntryFault::encrypted:
      return ArchiverError(native::kEncrypted, name, e.what());
    case EntryFault::damaged:
      break;
  }
  return ArchiverError(native::kDamaged, name, e.what());
}

std::string parent_of(const std::string& path) {
  const auto cut = path.find_last_of("/\\");
  if (cut == std::string::npos || cut == 0) return {};
  return path.substr(0, cut);
}

// Everything one extract or test run shares between its threads.
class EntryRun {
 public:
  EntryRun(ArchiveFileSystem& fs, ArchiveFile& file, const ZipDirectory& dir,
           const TArchiverOptions& options, std::string base, bool extract)
      : fs_(fs),
        file_(file),
        dir_(dir),
        options_(options),
        base_(std::move(base)),
        extract_(extract) {}

  void prepare_base() {
    if (!extract_) return;
    make_base(base_);
    flush_ = options_.FlushBuffers && fs_.is_removable(base_);
  }

  // Throws ArchiverError for a failed entry.
  void run(std::size_t index) {
    const ZipEntry& e = dir_.entries[index];
    const std::string shown = display_name(e.name);
    try {
      if (!extract_) {
        if (!e.is_directory) read_entry_data(file_, dir_, e, [](const char*, std::size_t) {});
        return;
      }
      const auto parts = safe_path_parts(e.name);
      if (!parts) throw ArchiverError(native::kUnsafeName, shown);
      if (e.is_directory) {
        ensure_directories(*parts, parts->size());
        return;
      }
      const std::string target = ensure_directories(*parts, parts->size() - 1);
      extract_file(e, index, join(target, parts->back()), shown);
    } catch (const EntryError& x) {
      throw entry_failure(x, shown);
    } catch (const FileError& x) {
      system_error_ = x.system_error();
      throw ArchiverError(native::kCannotCreate, shown, x.what());
    }
  }

 private:
  std::string join(const std::string& dir, const std::string& name) const {
    return fs_.join(dir, name);
  }

  void make_base(const std::string& path) {
    if (path.empty() || fs_.stat(path)) return;
    if (!options_.CreateDirs) throw ArchiverError(native::kCannotCreate, path);
    const std::string parent = parent_of(path);
    if (parent != path) make_base(parent);
    fs_.make_directory(path);
  }

  // The directory of the first `count` parts below the base, made where missing. A part
  // that is a link or junction is refused: extraction never writes through one.
  std::string ensure_directories(const std::vector<std::string>& parts, std::size_t count) {
    std::string path = base_;
    for (std::size_t i = 0; i < count; ++i) {
      path = join(path, parts[i]);
      {
        std::lock_guard lock(mutex_);
        if (checked_.count(path)) continue;
      }
      auto info = fs_.stat(path);
      if (!info) {
        if (!options_.CreateDirs) throw ArchiverError(native::kCannotCreate, path);
        fs_.make_directory(path);
        info = fs_.stat(path);
      }
      if (!info || info->is_link || !info->is_directory) {
        throw ArchiverError(native::kCannotCreate, path, "not a plain directory");
      }
      std::lock_guard lock(mutex_);
      checked_.insert(path);
    }
    return path;
  }

  void extract_file(const ZipEntry& e, std::size_t index, const std::string& target,
                    const std::string& shown) {
    if (const auto existing = fs_.stat(target)) {
      if (existing->is_directory && !existing->is_link) {
        throw ArchiverError(native::kCannotCreate, shown, "a directory of that name exists");
      }
      if (options_.OverwriteMode == TOverwriteMode::omNever) return;
      if ((existing->attributes & 0x01) && !options_.ReplaceReadOnly) {
        throw ArchiverError(native::kCannotCreate, shown, "the file is read-only");
      }
    }
    const std::string dir = parent_of(target);
    std::unique_ptr<OutputFile> out;
    std::string temp;
    for (int attempt = 0; !out; ++attempt) {
      temp = join(dir, ".qln-" + std::to_string(index) + "-" + std::to_string(attempt) + ".tmp");
      try {
        out = fs_.create_output(temp);
      } catch (const FileError&) {
        if (attempt >= 8 || !fs_.stat(temp)) throw;
      }
    }
    try {
      read_entry_data(file_, dir_, e,
                      [&](const char* data, std::size_t n) { out->write(data, n); });
      out->close(flush_);
      out.reset();
      fs_.replace_file(temp, target);
    } catch (...) {
      out.reset();
      try {
        fs_.remove_file(temp);
      } catch (const FileError&) {
        // The temporary file stays behind under its own name; the target is untouched.
      }
      throw;
    }
    fs_.set_dos_time(target, e.dos_time);
    if (options_.SetAttributes) {
      const std::uint32_t attributes = e.external_attributes & kStoredAttributes;
      fs_.set_attributes(target, attributes ? attributes : 0x20);
    }
  }

 public:
  std::atomic<std::uint32_t> system_error_{0};

 private:
  ArchiveFileSystem& fs_;
  ArchiveFile& file_;
  const ZipDirectory& dir_;
  const TArchiverOptions& options_;
  std::string base_;
  bool extract_;
  bool flush_ = false;
  std::mutex mutex_;
  std::set<std::string> checked_;
};

// Runs entries on worker threads ahead of the caller, who collects them in order.
class ParallelRunner {
 public:
  ParallelRunner(EntryRun& run, const std::vector<std::size_t>& order, unsigned threads)
      : run_(run), order_(order), outcomes_(order.size()) {
    threads = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(order.size())));
    for (unsigned i = 0; i < threads && !order.empty(); ++i) {
      workers_.emplace_back([this] { work(); });
    }
  }
  ParallelRunner(const ParallelRunner&) = delete;
  ParallelRunner& operator=(const ParallelRunner&) = delete;
  ~ParallelRunner() {
    stop_ = true;
    for (auto& t : workers_) t.join();
  }

  // The failure of the k-th entry of the order, or null once it succeeded.
  std::exception_ptr wait(std::size_t k) {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return outcomes_[k].done; });
    return outcomes_[k].error;
  }

 private:
  struct Outcome {
    bool done = false;
    std::exception_ptr error;
  };

  void work() {
    for (;;) {
      const std::size_t k = next_++;
      if (stop_ || k >= order_.size()) return;
      std::exception_ptr error;
      try {
        run_.run(order_[k]);
      } catch (...) {
        error = std::current_exception();
      }
      {
        std::lock_guard lock(mutex_);
        outcomes_[k].done = true;
        outcomes_[k].error = error;
      }
      done_.notify_all();
    }
  }

  EntryRun& run_;
  const std::vector<std::size_t>& order_;
  std::vector<Outcome> outcomes_;
  std::mutex mutex_;
  std::condition_variable done_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> stop_{false};
  std::vector<std::thread> workers_;
};

}  // namespace

void Archiver::ExtractFiles(const std::string& FileMask, std::uint32_t,
                            const std::string& ExclusionMask) {
  require_active();
  try {
    process_entries(*file_, dir_, TProcessOperation::poExtract, FileMask, ExclusionMask, false);
  } catch (const RunCancelled&) {
  }
}

void Archiver::TestFiles(const std::string& FileMask, std::uint32_t,
                         const std::string& ExclusionMask) {
  require_active();
  try {
    process_entries(*file_, dir_, TProcessOperation::poTest, FileMask, ExclusionMask, false);
  } catch (const RunCancelled&) {
  }
}

void Archiver::process_entries(ArchiveFile& file, const ZipDirectory& dir, TProcessOperation op,
                               const std::string& mask, const std::string& exclusion, bool strict) {
  std::vector<std::size_t> order;
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < dir.entries.size(); ++i) {
    const ZipEntry& e = dir.entries[i];
    std::string leaf = e.name;
    while (!leaf.empty() && leaf.back() == '/') leaf.pop_back();
    leaf = leaf.substr(leaf.find_last_of('/') + 1);
    if (!matches_mask(leaf, mask)) continue;
    if (!exclusion.empty() && (matches_mask(leaf, exclusion) || matches_mask(e.name, exclusion))) {
      continue;
    }
    order.push_back(i);
    total += e.uncompressed_size;
  }
  overall(0, op, TProgressPhase::ppStart);
  const bool extract = op == TProcessOperation::poExtract;
  EntryRun run(fs_, file, dir, Options, extract ? fs_.absolute(BaseDir) : std::string(), extract);
  if (!order.empty()) {
    try {
      run.prepare_base();
    } catch (const FileError& e) {
      throw ArchiverError(native::kCannotCreate, BaseDir, e.what());
    }
  }
  ParallelRunner runner(run, order, worker_count());
  std::uint64_t done = 0;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const ZipEntry& e = dir.entries[order[k]];
    const std::string shown = display_name(e.name);
    file_progress(shown, 0, op, TProgressPhase::ppStart);
    std::exception_ptr error = runner.wait(k);
    bool failed = false;
    while (error) {
      try {
        std::rethrow_exception(error);
      } catch (const ArchiverError& x) {
        failed = true;
        const bool retry =
            offer_failure(shown, op, x, static_cast<std::int32_t>(run.system_error_.load()));
        if (!retry && strict) throw;
        error = nullptr;
        if (retry) {
          try {
            run.run(order[k]);
            failed = false;
          } catch (...) {
            error = std::current_exception();
          }
        }
      }
    }
    if (!failed) file_progress(shown, 100, op, TProgressPhase::ppEnd);
    done += e.uncompressed_size;
    overall(total ? std::min(99.9, 100.0 * static_cast<double>(done) / static_cast<double>(total))
                  : 50.0,
            op, TProgressPhase::ppProcess);
  }
  overall(100, op, TProgressPhase::ppEnd);
}

}  // namespace qln::archive
