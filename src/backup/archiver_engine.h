#pragma once
// The backup job's archive engine over the program's one Archiver. Its four events are bound
// to the given handlers for the length of each call only, so the restore job can bind its own.
#include "archive/archiver.h"
#include "backup/archive_engine.h"

namespace qln::backup {

class ArchiverEngine final : public ArchiveEngine {
 public:
  explicit ArchiverEngine(archive::Archiver& archiver) : archiver_(archiver) {}

  // FileName, OpenArchive in create mode, BaseDir, AddFiles("*.*", 0x28BF, ""), CloseArchive,
  // which flushes the file to the disk.
  void create_archive(const std::string& archive_path, const std::string& base_dir,
                      ArchiveEvents& events) override;
  // IsValidArchiveFile, and then every entry read back and checked against its CRC: an
  // archive with its end record is otherwise taken on trust. False on any failure; a cancel
  // request (Cancelled) goes on to the caller.
  bool test_archive(const std::string& archive_path, ArchiveEvents& events) override;

 private:
  archive::Archiver& archiver_;
};

}  // namespace qln::backup
