// The archive component's files on Windows. Every path goes to the system in the long-path
// form once it nears MAX_PATH, so deep mail trees are archived and extracted like any other.
#include <windows.h>

#include <algorithm>

#include "archive/archive_file_system.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace qln::archive {
namespace {

using win32::Handle;
using win32::narrow;
using win32::wide;

[[noreturn]] void fail(const std::string& what, const std::string& path,
                       DWORD error = GetLastError()) {
  throw FileError(what + " " + path + " (system error " + std::to_string(error) + ")", error,
                  error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL);
}

std::wstring full_path(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring out(n, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
  out.resize(got < n ? got : 0);
  return out.empty() ? path : out;
}

// The form the system takes for this path: "\\?\" in front of long ones.
std::wstring sys_path(const std::string& utf8) {
  std::wstring w = wide(utf8);
  std::replace(w.begin(), w.end(), L'/', L'\\');
  if (w.size() < 240 || w.rfind(L"\\\\?\\", 0) == 0) return w;
  w = full_path(w);
  if (w.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + w.substr(2);
  return L"\\\\?\\" + w;
}

std::uint32_t dos_time_of(const FILETIME& ft) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
    return 0;
  }
  return static_cast<std::uint32_t>(date) << 16 | time;
}

bool is_link_tag(DWORD attributes, DWORD tag) {
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  // Symbolic links and junctions lead elsewhere; other reparse points (deduplicated or
  // cloud files) hold their own data and are read like any file.
  return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT ||
         (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileInfo info_of(const WIN32_FIND_DATAW& d) {
  FileInfo info;
  info.name = narrow(d.cFileName);
  info.attributes = d.dwFileAttributes;
  info.is_directory = (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.is_link = is_link_tag(d.dwFileAttributes, d.dwReserved0);
  info.size = static_cast<std::uint64_t>(d.nFileSizeHigh) << 32 | d.nFileSizeLow;
  if (const std::uint32_t t = dos_time_of(d.ftLastWriteTime)) info.dos_time = t;
  return info;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class WinInput final : public InputFile {
 public:
  WinInput(Handle h, std::string path) : h_(std::move(h)), path_(std::move(path)) {}
  std::size_t read(void* buffer, std::size_t n) override {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!ReadFile(h_.get(), buffer, want, &got, nullptr)) fail("cannot read", path_);
    return got;
  }

 private:
  Handle h_;
  std::string path_;
};

OVERLAPPED at_offset(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

class WinArchive final : public ArchiveFile {
 public:
  WinArchive(Handle h, std::string path, bool writable)
      : h_(std::move(h)), path_(std::move(path)), writable_(writable) {}
  std::uint64_t size() override {
    LARGE_INTEGER s;
    if (!GetFileSizeEx(h_.get(), &s)) fail("cannot read", path_);
    return static_cast<std::uint64_t>(s.QuadPart);
  }
  std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) override {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
      OVERLAPPED o = at_offset(offset + done);
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
      if (!ReadFile(h_.get(), out + done, want, &got, &o)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        fail("cannot read", path_);
      }
      if (got == 0) break;
      done += got;
    }
    return done;
  }
  void write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
      OVERLAPPED o = at_offset(offset + done);
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
      if (!WriteFile(h_.get(), in + done, want, &put, &o)) fail("cannot write", path_);
      done += put;
    }
  }
  void truncate(std::uint64_t size) override {
    FILE_END_OF_FILE_INFO info{};
    info.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(h_.get(), FileEndOfFileInfo, &info, sizeof info)) {
      fail("cannot write", path_);
    }
  }
  void flush() override {
    if (!FlushFileBuffers(h_.get())) fail("cannot write", path_);
  }
  bool writable() const override { return writable_; }

 private:
  Handle h_;
  std::string path_;
  bool writable_;
};

class WinOutput final : public OutputFile {
 public:
  WinOutput(Handle h, std::string path) : h_(std::move(h)), path_(std::move(path)) {}
  void write(const void* data, std::size_t n) override {
    const auto* in = static_cast<const char*>(data);
    while (n > 0) {
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
      if (!WriteFile(h_.get(), in, want, &put, nullptr)) fail("cannot write", path_);
      in += put;
      n -= put;
    }
  }
  void close(bool to_device) override {
    if (to_device && !FlushFileBuffers(h_.get())) fail("cannot write", path_);
    if (!CloseHandle(h_.release())) fail("cannot write", path_);
  }

 private:
  Handle h_;
  std::string path_;
};

DWORD share_flags(TShareMode mode) {
  switch (mode) {
    case TShareMode::smShareCompat:
    case TShareMode::smShareExclusive:
      return 0;
    case TShareMode::smShareDenyWrite:
      return FILE_SHARE_READ;
    case TShareMode::smShareDenyRead:
      return FILE_SHARE_WRITE;
    case TShareMode::smShareDenyNone:
      break;
  }
  return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

class WinArchiveFileSystem final : public ArchiveFileSystem {
 public:
  std::string join(const std::string& dir, const std::string& name) const override {
    if (dir.empty()) return name;
    const char last = dir.back();
    return last == '\\' || last == '/' ? dir + name : dir + "\\" + name;
  }

  std::string absolute(const std::string& path) const override {
    std::wstring w = wide(path);
    std::replace(w.begin(), w.end(), L'/', L'\\');
    return narrow(full_path(w));
  }

  bool same_path(const std::string& a, const std::string& b) const override {
    std::wstring x = wide(a), y = wide(b);
    std::replace(x.begin(), x.end(), L'/', L'\\');
    std::replace(y.begin(), y.end(), L'/', L'\\');
    return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
  }

  std::optional<FileInfo> stat(const std::string& path) override {
    const std::wstring p = sys_path(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &data)) {
      const DWORD e = GetLastError();
      if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME) {
        return std::nullopt;
      }
      fail("cannot read", path, e);
    }
    WIN32_FIND_DATAW d{};
    d.dwFileAttributes = data.dwFileAttributes;
    d.ftLastWriteTime = data.ftLastWriteTime;
    d.nFileSizeHigh = data.nFileSizeHigh;
    d.nFileSizeLow = data.nFileSizeLow;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      FindHandle h(FindFirstFileW(p.c_str(), &d));
    }
    FileInfo info = info_of(d);
    const auto cut = path.find_last_of("/\\");
    info.name = cut == std::string::npos ? path : path.substr(cut + 1);
    return info;
  }

  std::vector<FileInfo> list(const std::string& dir) override {
    const std::wstring pattern = sys_path(join(dir, "*"));
    WIN32_FIND_DATAW d;
    FindHandle h(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &d, FindExSearchNameMatch,
                                  nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (h.get() == INVALID_HANDLE_VALUE) fail("cannot read the directory", dir);
    std::vector<FileInfo> out;
    do {
      const std::wstring_view name = d.cFileName;
      if (name == L"." || name == L"..") continue;
      out.push_back(info_of(d));
    } while (FindNextFileW(h.get(), &d));
    if (GetLastError() != ERROR_NO_MORE_FILES) fail("cannot read the directory", dir);
    return out;
  }

  std::unique_ptr<InputFile> open_input(const std::string& path, TShareMode mode) override {
    Handle h(CreateFileW(sys_path(path).c_str(), GENERIC_READ, share_flags(mode), nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h) fail("cannot open", path);
    return std::make_unique<WinInput>(std::move(h), path);
  }

  std::unique_ptr<ArchiveFile> open_archive(const std::string& path, ArchiveAccess a) override {
    DWORD access = GENERIC_READ | GENERIC_WRITE, share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    if (a == ArchiveAccess::create) disposition = CREATE_ALWAYS;
    if (a == ArchiveAccess::read_shared) {
      access = GENERIC_READ;
      share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    }
    Handle h(CreateFileW(sys_path(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) fail("cannot open", path);
    return std::make_unique<WinArchive>(std::move(h), path, a != ArchiveAccess::read_shared);
  }

  std::unique_ptr<OutputFile> create_output(const std::string& path) override {
    Handle h(CreateFileW(sys_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h) fail("cannot create", path);
    return std::make_unique<WinOutput>(std::move(h), path);
  }

  void make_directory(const std::string& path) override {
    const std::wstring p = sys_path(path);
    if (CreateDirectoryW(p.c_str(), nullptr)) return;
    const DWORD e = GetLastError();
    const DWORD attributes = GetFileAttributesW(p.c_str());
    if (e == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return;
    }
    fail("cannot create the directory", path, e);
  }

  void replace_file(const std::string& from, const std::string& to) override {
    const std::wstring target = sys_path(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!MoveFileExW(sys_path(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      fail("cannot replace", to);
    }
  }

  void remove_file(const std::string& path) override {
    if (!DeleteFileW(sys_path(path).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      fail("cannot delete", path);
    }
  }

  void set_attributes(const std::string& path, std::uint32_t attributes) override {
    constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD a = attributes & kSettable;
    if (a == 0) a = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(sys_path(path).c_str(), a)) fail("cannot set the attributes of", path);
  }

  void set_dos_time(const std::string& path, std::uint32_t dos_time) override {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dos_time >> 16),
                               static_cast<WORD>(dos_time & 0xFFFF), &local) ||
        !LocalFileTimeToFileTime(&local, &utc)) {
      return;  // no valid time in the entry: the file keeps the time it was written
    }
    Handle h(CreateFileW(sys_path(path).c_str(), FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr));
    if (!h || !SetFileTime(h.get(), nullptr, nullptr, &utc)) fail("cannot set the time of", path);
  }

  bool is_removable(const std::string& path) override {
    wchar_t volume[MAX_PATH + 1];
    if (!GetVolumePathNameW(sys_path(path).c_str(), volume, MAX_PATH + 1)) return false;
    return GetDriveTypeW(volume) == DRIVE_REMOVABLE;
  }

  std::uint32_t now_dos_time() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return dos_time_of(now);
  }
};

}  // namespace

std::unique_ptr<ArchiveFileSystem> make_local_archive_file_system() {
  return std::make_unique<WinArchiveFileSystem>();
}

}  // namespace qln::archive
