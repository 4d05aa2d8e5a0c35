// The archive component's files on POSIX: the native build and its interoperability tests.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "archive/archive_file_system.h"
#include "archive/dos_time.h"

namespace qln::archive {
namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path) {
  const int e = errno;
  throw FileError(what + " " + path + ": " + std::strerror(e), static_cast<std::uint32_t>(e),
                  e == ENOSPC || e == EDQUOT);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

class PosixInput final : public InputFile {
 public:
  PosixInput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  std::size_t read(void* buffer, std::size_t n) override {
    for (;;) {
      const ssize_t got = ::read(fd_.get(), buffer, n);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) fail("cannot read", path_);
    }
  }

 private:
  Fd fd_;
  std::string path_;
};

class PosixArchive final : public ArchiveFile {
 public:
  PosixArchive(int fd, std::string path, bool writable)
      : fd_(fd), path_(std::move(path)), writable_(writable) {}
  std::uint64_t size() override {
    struct stat st;
    if (::fstat(fd_.get(), &st) != 0) fail("cannot read", path_);
    return static_cast<std::uint64_t>(st.st_size);
  }
  std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
      const ssize_t got =
          ::pread(fd_.get(), out + done, n - done, static_cast<off_t>(offset + done));
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        fail("cannot read", path_);
      }
      done += static_cast<std::size_t>(got);
    }
    return done;
  }
  void write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
      const ssize_t put =
          ::pwrite(fd_.get(), in + done, n - done, static_cast<off_t>(offset + done));
      if (put < 0) {
        if (errno == EINTR) continue;
        fail("cannot write", path_);
      }
      done += static_cast<std::size_t>(put);
    }
  }
  void truncate(std::uint64_t size) override {
    if (::ftruncate(fd_.get(), static_cast<off_t>(size)) != 0) fail("cannot write", path_);
  }
  void flush() override {
    if (::fsync(fd_.get()) != 0 && errno != EINVAL) fail("cannot write", path_);
  }
  bool writable() const override { return writable_; }

 private:
  Fd fd_;
  std::string path_;
  bool writable_;
};

class PosixOutput final : public OutputFile {
 public:
  PosixOutput(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  void write(const void* data, std::size_t n) override {
    const auto* in = static_cast<const char*>(data);
    while (n > 0) {
      const ssize_t put = ::write(fd_.get(), in, n);
      if (put < 0) {
        if (errno == EINTR) continue;
        fail("cannot write", path_);
      }
      in += put;
      n -= static_cast<std::size_t>(put);
    }
  }
  void close(bool to_device) override {
    if (to_device && ::fsync(fd_.get()) != 0) fail("cannot write", path_);
    if (::close(fd_.release()) != 0) fail("cannot write", path_);
  }

 private:
  Fd fd_;
  std::string path_;
};

FileInfo info_of(const std::string& name, const struct stat& st) {
  FileInfo info;
  info.name = name;
  info.is_link = S_ISLNK(st.st_mode);
  info.is_directory = S_ISDIR(st.st_mode);
  info.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  // The Windows attribute bits as far as POSIX has them: dot names are hidden there.
  info.attributes = info.is_directory ? 0x10 : 0x20;
  if (!(st.st_mode & S_IWUSR)) info.attributes |= 0x01;
  if (!name.empty() && name[0] == '.') info.attributes |= 0x02;
  std::tm tm{};
  const std::time_t t = st.st_mtime;
  if (::localtime_r(&t, &tm)) {
    info.dos_time = to_dos_time(
        {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
  }
  return info;
}

std::string base_name(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PosixArchiveFileSystem final : public ArchiveFileSystem {
 public:
  std::string join(const std::string& dir, const std::string& name) const override {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
  }

  std::string absolute(const std::string& path) const override {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
      char buf[4096];
      if (!::getcwd(buf, sizeof buf)) fail("cannot read the current directory", path);
      full = join(buf, path);
    }
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at <= full.size()) {
      const auto end = std::min(full.find('/', at), full.size());
      const std::string part = full.substr(at, end - at);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      at = end + 1;
    }
    std::string out;
    for (const auto& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
  }

  bool same_path(const std::string& a, const std::string& b) const override { return a == b; }

  std::optional<FileInfo> stat(const std::string& path) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
      fail("cannot read", path);
    }
    return info_of(base_name(path), st);
  }

  std::vector<FileInfo> list(const std::string& dir) override {
    DIR* d = ::opendir(dir.c_str());
    if (!d) fail("cannot read the directory", dir);
    std::vector<FileInfo> out;
    while (const dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      struct stat st;
      if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      out.push_back(info_of(name, st));
    }
    ::closedir(d);
    return out;
  }

  std::unique_ptr<InputFile> open_input(const std::string& path, TShareMode) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) fail("cannot open", path);
    return std::make_unique<PosixInput>(fd, path);
  }

  std::unique_ptr<ArchiveFile> open_archive(const std::string& path, ArchiveAccess a) override {
    int flags = O_CLOEXEC;
    switch (a) {
      case ArchiveAccess::create:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
      case ArchiveAccess::update:
        flags |= O_RDWR;
        break;
      case ArchiveAccess::read_shared:
        flags |= O_RDONLY;
        break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) fail("cannot open", path);
    return std::make_unique<PosixArchive>(fd, path, a != ArchiveAccess::read_shared);
  }

  std::unique_ptr<OutputFile> create_output(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) fail("cannot create", path);
    return std::make_unique<PosixOutput>(fd, path);
  }

  void make_directory(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0) return;
    const int e = errno;
    struct stat st;
    if (e == EEXIST && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
    errno = e;
    fail("cannot create the directory", path);
  }

  void replace_file(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) fail("cannot replace", to);
  }

  void remove_file(const std::string& path) override {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("cannot delete", path);
  }

  void set_attributes(const std::string& path, std::uint32_t attributes) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) fail("cannot read", path);
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & 0x01) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
    if (::chmod(path.c_str(), mode) != 0) fail("cannot set the attributes of", path);
  }

  void set_dos_time(const std::string& path, std::uint32_t dos_time) override {
    const LocalTime t = from_dos_time(dos_time);
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = ::mktime(&tm);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
      fail("cannot set the time of", path);
    }
  }

  bool is_removable(const std::string&) override { return false; }

  std::uint32_t now_dos_time() override {
    std::tm tm{};
    const std::time_t t = std::time(nullptr);
    ::localtime_r(&t, &tm);
    return to_dos_time(
        {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
  }
};

}  // namespace

std::unique_ptr<ArchiveFileSystem> make_local_archive_file_system() {
  return std::make_unique<PosixArchiveFileSystem>();
}

}  // namespace qln::archive
