#pragma once
// The files the archive component touches, behind one thin interface: real files through
// POSIX calls in the native build and through Win32 in the Windows build. Paths are UTF-8.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"

namespace qln::archive {

// A failure of the system, with its error number (errno or GetLastError).
class FileError : public Error {
 public:
  FileError(const std::string& message, std::uint32_t system_error, bool disk_full = false)
      : Error(message), system_error_(system_error), disk_full_(disk_full) {}
  std::uint32_t system_error() const { return system_error_; }
  bool disk_full() const { return disk_full_; }

 private:
  std::uint32_t system_error_;
  bool disk_full_;
};

struct FileInfo {
  std::string name;              // without folder
  std::uint32_t attributes = 0;  // the platform's attribute bits (directory 0x10, ...)
  bool is_directory = false;
  bool is_link = false;  // symbolic link, junction or other reparse point: never followed
  std::uint64_t size = 0;
  std::optional<std::uint32_t> dos_time;  // last write, local MS-DOS form
};

// How a file to be added is opened. Compatibility and exclusive modes refuse a file that
// another process holds open.
enum class TShareMode {
  smShareCompat,
  smShareExclusive,
  smShareDenyWrite,
  smShareDenyRead,
  smShareDenyNone
};

// A file read from front to back.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Up to n bytes; 0 at the end.
  virtual std::size_t read(void* buffer, std::size_t n) = 0;
};

// The archive file itself. read_at may be called from several threads at once.
class ArchiveFile {
 public:
  virtual ~ArchiveFile() = default;
  virtual std::uint64_t size() = 0;
  virtual std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) = 0;
  virtual void write_at(std::uint64_t offset, const void* data, std::size_t n) = 0;
  virtual void truncate(std::uint64_t size) = 0;
  virtual void flush() = 0;
  virtual bool writable() const = 0;
};

// A new file being extracted.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void write(const void* data, std::size_t n) = 0;
  // Closes the file; with `to_device` its data reaches the disk first.
  virtual void close(bool to_device) = 0;
};

enum class ArchiveAccess {
  create,      // new file, replacing any of that name
  update,      // existing file, read and write, others may only read
  read_shared  // existing file, read only, others may do anything
};

class ArchiveFileSystem {
 public:
  virtual ~ArchiveFileSystem() = default;

  virtual std::string join(const std::string& dir, const std::string& name) const = 0;
  virtual std::string absolute(const std::string& path) const = 0;
  // Both paths absolute: whether they name the same place (case rules of the platform).
  virtual bool same_path(const std::string& a, const std::string& b) const = 0;

  // Without following links; nullopt when nothing is there.
  virtual std::optional<FileInfo> stat(const std::string& path) = 0;
  virtual std::vector<FileInfo> list(const std::string& dir) = 0;

  virtual std::unique_ptr<InputFile> open_input(const std::string& path, TShareMode mode) = 0;
  virtual std::unique_ptr<ArchiveFile> open_archive(const std::string& path, ArchiveAccess a) = 0;
  // Fails when the file exists.
  virtual std::unique_ptr<OutputFile> create_output(const std::string& path) = 0;

  // Fine when the directory exists already.
  virtual void make_directory(const std::string& path) = 0;
  // Moves `from` onto `to`, replacing a file there even when it is read-only.
  virtual void replace_file(const std::string& from, const std::string& to) = 0;
  virtual void remove_file(const std::string& path) = 0;
  virtual void set_attributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual void set_dos_time(const std::string& path, std::uint32_t dos_time) = 0;
  virtual bool is_removable(const std::string& path) = 0;
  // The current local time, for files whose own time cannot be read.
  virtual std::uint32_t now_dos_time() = 0;
};

// The real file system of this platform.
std::unique_ptr<ArchiveFileSystem> make_local_archive_file_system();

}  // namespace qln::archive
