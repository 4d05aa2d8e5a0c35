#include "backup/archiver_engine.h"

#include "backup/job_errors.h"

namespace qln::backup {
namespace {

using archive::Archiver;
using archive::TFailureAction;
using archive::TProcessOperation;
using archive::TProgressPhase;

ProgressPhase phase_of(TProgressPhase p) {
  switch (p) {
    case TProgressPhase::ppStart:
      return ProgressPhase::ppStart;
    case TProgressPhase::ppEnd:
      return ProgressPhase::ppEnd;
    default:
      return ProgressPhase::ppProcess;
  }
}

// Binds the Archiver's events to `events` and unbinds them again, also when a handler throws.
class Binding {
 public:
  Binding(Archiver& a, ArchiveEvents& events, bool* failed = nullptr) : a_(a) {
    a.OnFileProgress = [&events](Archiver&, const std::string& name, double progress,
                                 TProcessOperation, TProgressPhase phase, bool& cancel) {
      events.ArchiverFileProgress(name, progress, phase_of(phase), cancel);
    };
    a.OnOverallProgress = [&events](Archiver&, double progress, TProcessOperation,
                                    TProgressPhase phase, bool& cancel) {
      events.ArchiverOverallProgress(progress, phase_of(phase), cancel);
    };
    a.OnProcessFileFailure = [&events, failed](Archiver&, const std::string& name,
                                               TProcessOperation, std::int32_t, std::int32_t,
                                               const std::string& message, TFailureAction&) {
      if (failed) *failed = true;
      events.ArchiverProcessFileFailure(name, message);
    };
    a.OnDiskFull = [&events, failed](Archiver&, std::int32_t volume, const std::string& file,
                                     bool& cancel) {
      if (failed) *failed = true;
      events.ArchiverDiskFull(volume, file, cancel);
    };
  }
  Binding(const Binding&) = delete;
  Binding& operator=(const Binding&) = delete;
  ~Binding() {
    a_.OnFileProgress = nullptr;
    a_.OnOverallProgress = nullptr;
    a_.OnProcessFileFailure = nullptr;
    a_.OnDiskFull = nullptr;
  }

 private:
  Archiver& a_;
};

// An error can leave the archive open; the next job must not find it so.
void close_quietly(Archiver& a) {
  try {
    a.CloseArchive();
  } catch (...) {
  }
}

}  // namespace

void ArchiverEngine::create_archive(const std::string& archive_path, const std::string& base_dir,
                                    ArchiveEvents& events) {
  Binding binding(archiver_, events);
  archiver_.FileName = archive_path;
  try {
    archiver_.OpenArchive(archive::TOpenMode::fmCreate);
    archiver_.BaseDir = base_dir;
    archiver_.AddFiles("*.*", archive::kDefaultSearchAttr, "");
    archiver_.CloseArchive();
  } catch (...) {
    close_quietly(archiver_);
    throw;
  }
}

bool ArchiverEngine::test_archive(const std::string& archive_path, ArchiveEvents& events) {
  bool failed = false;
  Binding binding(archiver_, events, &failed);
  archiver_.FileName = archive_path;
  try {
    if (!archiver_.IsValidArchiveFile()) return false;
    archiver_.OpenArchive(archive::TOpenMode::fmOpenRead);
    archiver_.TestFiles("*.*", archive::kDefaultSearchAttr, "");
    archiver_.CloseArchive();
  } catch (const Cancelled&) {
    close_quietly(archiver_);
    throw;
  } catch (...) {
    close_quietly(archiver_);
    return false;
  }
  return !failed;
}

}  // namespace qln::backup
