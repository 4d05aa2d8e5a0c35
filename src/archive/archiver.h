#pragma once
// The archive component: writes and reads ZIP archives with Deflate through zlib. The backup
// job creates one archive at a time and adds a directory tree to it; the restore job opens
// one and extracts it. Progress and failures are reported through four events, always on the
// calling thread; a handler stops a run by throwing.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_file_system.h"
#include "archive/archiver_error.h"
#include "archive/zip_reader.h"
#include "archive/zip_writer.h"

namespace qln::archive {

enum class TCompressionLevel { clNone, clFastest, clNormal, clMax };
enum class TEncryptionMethod { caPkzipClassic, caAES_128, caAES_192, caAES_256 };
enum class TSpanningMode { smNone, smSpanning, smSplitting };
enum class TStorePath { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };
enum class TOverwriteMode { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum class TProcessOperation {
  poAdd,
  poMove,
  poDelete,
  poUpdate,
  poExtract,
  poTest,
  poRename,
  poChangeAttr,
  poChangeComment,
  poMakeSFX,
  poMerge
};
enum class TProgressPhase { ppStart, ppProcess, ppEnd };
enum class TFailureAction { fxaRetry, fxaIgnore, fxaAbort };
enum class TOpenMode { fmCreate, fmOpenRead, fmOpenReadWrite };

constexpr std::uint32_t kDefaultSearchAttr = 0x28BF;

struct TArchiverOptions {
  TStorePath StorePath = TStorePath::spRelativePath;
  bool Recurse = true;
  TOverwriteMode OverwriteMode = TOverwriteMode::omAlways;
  bool CreateDirs = true;
  bool ReplaceReadOnly = true;
  bool SetAttributes = true;
  std::uint32_t SearchAttr = kDefaultSearchAttr;
  TShareMode ShareMode = TShareMode::smShareCompat;
  bool FlushBuffers = true;
  bool OEMFileNames = true;
};

class Archiver {
 public:
  using FileProgressEvent =
      std::function<void(Archiver& Sender, const std::string& FileName, double Progress,
                         TProcessOperation Operation, TProgressPhase ProgressPhase, bool& Cancel)>;
  using OverallProgressEvent =
      std::function<void(Archiver& Sender, double Progress, TProcessOperation Operation,
                         TProgressPhase ProgressPhase, bool& Cancel)>;
  using ProcessFileFailureEvent =
      std::function<void(Archiver& Sender, const std::string& FileName, TProcessOperation Operation,
                         std::int32_t NativeError, std::int32_t ErrorCode,
                         const std::string& ErrorMessage, TFailureAction& Action)>;
  using DiskFullEvent = std::function<void(Archiver& Sender, std::int32_t VolumeNumber,
                                           const std::string& VolumeFileName, bool& Cancel)>;

  explicit Archiver(ArchiveFileSystem& fs);
  Archiver(const Archiver&) = delete;
  Archiver& operator=(const Archiver&) = delete;
  ~Archiver();

  std::string FileName;
  std::string BaseDir;
  TZip64Mode Zip64Mode = TZip64Mode::zmAuto;
  bool UnicodeFilenames = true;
  TEncryptionMethod EncryptionMethod = TEncryptionMethod::caPkzipClassic;
  std::string Password;  // never used: no entry is encrypted
  TSpanningMode SpanningMode = TSpanningMode::smNone;
  bool ExtractCorruptedFiles = false;
  bool OpenCorruptedArchives = true;
  bool InMemory = false;
  TArchiverOptions Options;
  // Worker threads for compressing, extracting and testing (0: one per processor).
  unsigned Threads = 0;

  TCompressionLevel CompressionLevel() const;
  void SetCompressionLevel(TCompressionLevel level);
  int CompressionMode() const { return compression_mode_; }
  void SetCompressionMode(int mode);  // 0..9, anything else is refused

  FileProgressEvent OnFileProgress;
  OverallProgressEvent OnOverallProgress;
  ProcessFileFailureEvent OnProcessFileFailure;
  DiskFullEvent OnDiskFull;

  // Without a mode: opens FileName when it exists, else makes a new, empty archive.
  void OpenArchive();
  void OpenArchive(TOpenMode mode);
  void AddFiles(const std::string& FileMask = "*.*", std::uint32_t SearchAttr = kDefaultSearchAttr,
                const std::string& ExclusionMask = "");
  void ExtractFiles(const std::string& FileMask = "*.*",
                    std::uint32_t SearchAttr = kDefaultSearchAttr,
                    const std::string& ExclusionMask = "");
  void TestFiles(const std::string& FileMask = "*.*", std::uint32_t SearchAttr = kDefaultSearchAttr,
                 const std::string& ExclusionMask = "");
  void CloseArchive();
  bool IsValidArchiveFile();

  bool Active() const { return file_ != nullptr; }
  // The entries of the open archive.
  const std::vector<ZipEntry>& Entries() const { return dir_.entries; }

 private:
  struct Selection;
  void require_active() const;
  void check_settings() const;
  unsigned worker_count() const;
  void add_files(const std::string& mask, std::uint32_t attr, const std::string& exclusion);
  void restore_directory(std::uint64_t start, const std::string& central, std::uint64_t count);
  void process_entries(ArchiveFile& file, const ZipDirectory& dir, TProcessOperation op,
                       const std::string& mask, const std::string& exclusion, bool strict);
  // Offers a failure to the handler; returns true to retry, false to skip; throws to abort.
  bool offer_failure(const std::string& name, TProcessOperation op, const ArchiverError& e,
                     std::int32_t system_error);
  void overall(double progress, TProcessOperation op, TProgressPhase phase);
  void file_progress(const std::string& name, double progress, TProcessOperation op,
                     TProgressPhase phase);

  ArchiveFileSystem& fs_;
  int compression_mode_ = 1;
  std::unique_ptr<ArchiveFile> file_;
  ZipDirectory dir_;
  bool cancelled_ = false;
};

}  // namespace qln::archive
