#include "archive/archiver.h"

#include "archive/compress_pool.h"
#include "archive/run_cancelled.h"

namespace qln::archive {

Archiver::Archiver(ArchiveFileSystem& fs) : fs_(fs) {}

Archiver::~Archiver() {
  try {
    CloseArchive();
  } catch (...) {
    // Nothing is pending at close: a failure to release the file changes no data.
  }
}

TCompressionLevel Archiver::CompressionLevel() const {
  if (compression_mode_ == 0) return TCompressionLevel::clNone;
  if (compression_mode_ <= 3) return TCompressionLevel::clFastest;
  if (compression_mode_ <= 6) return TCompressionLevel::clNormal;
  return TCompressionLevel::clMax;
}

void Archiver::SetCompressionLevel(TCompressionLevel level) {
  static constexpr int kModes[] = {0, 1, 6, 9};
  compression_mode_ = kModes[static_cast<int>(level)];
}

void Archiver::SetCompressionMode(int mode) {
  if (mode < 0 || mode > 9) throw ArchiverError(native::kBadCompression);
  compression_mode_ = mode;
}

unsigned Archiver::worker_count() const { return Threads ? Threads : default_worker_count(); }

void Archiver::require_active() const {
  if (!file_) throw ArchiverError(native::kNoArchiveOpen);
}

void Archiver::check_settings() const {
  if (!Password.empty() || SpanningMode != TSpanningMode::smNone || InMemory ||
      Options.StorePath != TStorePath::spRelativePath) {
    throw ArchiverError(native::kNotSupported);
  }
}

void Archiver::OpenArchive() {
  if (FileName.empty()) throw ArchiverError(native::kBlankOpen);
  CloseArchive();
  const auto info = fs_.stat(FileName);
  OpenArchive(info && !info->is_directory ? TOpenMode::fmOpenReadWrite : TOpenMode::fmCreate);
}

void Archiver::OpenArchive(TOpenMode mode) {
  if (FileName.empty()) {
    throw ArchiverError(mode == TOpenMode::fmCreate ? native::kBlankCreate : native::kBlankOpen);
  }
  check_settings();
  CloseArchive();
  if (mode == TOpenMode::fmCreate) {
    std::unique_ptr<ArchiveFile> file;
    try {
      file = fs_.open_archive(FileName, ArchiveAccess::create);
      ZipWriter(*file, 0, {}, 0, Zip64Mode).finish();
    } catch (const FileError& e) {
      throw ArchiverError(native::kCannotCreate, FileName, e.what());
    }
    file_ = std::move(file);
    dir_ = ZipDirectory{};
    dir_.has_end_record = true;
    return;
  }
  const auto info = fs_.stat(FileName);
  if (!info || info->is_directory) throw ArchiverError(native::kNotFound, FileName);
  std::unique_ptr<ArchiveFile> file;
  try {
    file = fs_.open_archive(FileName, mode == TOpenMode::fmOpenRead ? ArchiveAccess::read_shared
                                                                    : ArchiveAccess::update);
  } catch (const FileError&) {
    try {
      file = fs_.open_archive(FileName, ArchiveAccess::read_shared);
    } catch (const FileError& e) {
      throw ArchiverError(native::kCannotOpen, FileName, e.what());
    }
  }
  ZipDirectory dir;
  try {
    if (has_end_record(*file)) {
      dir = read_zip_directory(*file);
    } else if (OpenCorruptedArchives) {
      dir = recover_zip_entries(*file);
      if (dir.entries.empty()) throw ZipFormatError("no entry can be read");
    } else {
      throw ZipFormatError("the end of the central directory is missing");
    }
  } catch (const ZipFormatError& e) {
    throw ArchiverError(native::kInvalidArchive, FileName, e.what());
  } catch (const FileError& e) {
    throw ArchiverError(native::kCannotRead, FileName, e.what());
  }
  file_ = std::move(file);
  dir_ = std::move(dir);
}

void Archiver::CloseArchive() {
  if (!file_) return;
  auto file = std::move(file_);
  dir_ = ZipDirectory{};
  if (file->writable()) {
    try {
      file->flush();
    } catch (const FileError& e) {
      throw ArchiverError(native::kCannotWrite, FileName, e.what());
    }
  }
}

bool Archiver::IsValidArchiveFile() {
  if (file_) return true;
  const auto info = fs_.stat(FileName);
  if (FileName.empty() || !info || info->is_directory) return false;
  std::unique_ptr<ArchiveFile> file;
  try {
    file = fs_.open_archive(FileName, ArchiveAccess::read_shared);
    if (has_end_record(*file)) return true;
  } catch (const FileError& e) {
    throw ArchiverError(native::kCannotOpen, FileName, e.what());
  }
  // No end record: the archive counts only when the entries its local headers still show
  // all test sound. Any failed entry makes it invalid, whatever the failure handler answers.
  try {
    const ZipDirectory dir = recover_zip_entries(*file);
    if (dir.entries.empty()) return false;
    process_entries(*file, dir, TProcessOperation::poTest, "*.*", "", true);
    return true;
  } catch (...) {
    return false;
  }
}

bool Archiver::offer_failure(const std::string& name, TProcessOperation op, const ArchiverError& e,
                             std::int32_t system_error) {
  TFailureAction action = TFailureAction::fxaIgnore;
  if (OnProcessFileFailure) {
    OnProcessFileFailure(*this, name, op, e.native_error(), system_error, e.what(), action);
  }
  if (action == TFailureAction::fxaAbort) throw e;
  return action == TFailureAction::fxaRetry;
}

void Archiver::overall(double progress, TProcessOperation op, TProgressPhase phase) {
  if (!OnOverallProgress) return;
  bool cancel = false;
  OnOverallProgress(*this, progress, op, phase, cancel);
  if (cancel) throw RunCancelled{};
}

void Archiver::file_progress(const std::string& name, double progress, TProcessOperation op,
                             TProgressPhase phase) {
  if (!OnFileProgress) return;
  bool cancel = false;
  OnFileProgress(*this, name, progress, op, phase, cancel);
  if (cancel) throw RunCancelled{};
}

}  // namespace qln::archive
