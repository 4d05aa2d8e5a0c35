#pragma once
// What the backup job asks of the archive component: write one archive of a directory tree
// and read it back. The component reports to the four handlers of the main window
// (ArchiveEvents); a handler stops a run by raising, and the error leaves the engine's call.
#include <string>

namespace qln::backup {

enum class ProgressPhase { ppStart, ppProcess, ppEnd };

class ArchiveEvents {
 public:
  virtual ~ArchiveEvents() = default;
  // `file_name` is the entry's stored path with "\" between its parts; `progress` in percent.
  virtual void ArchiverFileProgress(const std::string& file_name, double progress,
                                    ProgressPhase phase, bool& cancel) = 0;
  virtual void ArchiverOverallProgress(double progress, ProgressPhase phase, bool& cancel) = 0;
  virtual void ArchiverDiskFull(int volume_number, const std::string& volume_file_name,
                                bool& cancel) = 0;
  // `error_message` is the component's full text of the failure.
  virtual void ArchiverProcessFileFailure(const std::string& file_name,
                                          const std::string& error_message) = 0;
};

class ArchiveEngine {
 public:
  virtual ~ArchiveEngine() = default;
  // Writes a new archive at `archive_path` (replacing any file there) holding every file and
  // directory below `base_dir` (hidden and system ones too) with paths relative to it, and
  // returns once the archive is complete, closed and on the disk (flushed). Errors of the
  // component and errors raised by a handler leave this call.
  virtual void create_archive(const std::string& archive_path, const std::string& base_dir,
                              ArchiveEvents& events) = 0;
  // Whether the archive reads back: its structure and every entry's data against its CRC.
  // A handler's error during the test also gives false.
  virtual bool test_archive(const std::string& archive_path, ArchiveEvents& events) = 0;
};

}  // namespace qln::backup
