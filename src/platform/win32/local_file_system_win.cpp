// Real files through the Win32 API. Paths longer than MAX_PATH take the long-path form.
#include <windows.h>

#include "platform/local_file_system.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace qln {
namespace {

using win32::wide;

std::wstring api_path(const std::string& p) {
  std::wstring w = wide(p);
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  if (w.size() >= MAX_PATH - 12 && w.rfind(L"\\\\", 0) != 0 && w.size() > 2 && w[1] == L':')
    return L"\\\\?\\" + w;
  if (w.size() >= MAX_PATH - 12 && w.rfind(L"\\\\?\\", 0) != 0 && w.rfind(L"\\\\", 0) == 0)
    return L"\\\\?\\UNC\\" + w.substr(2);
  return w;
}

DWORD attributes(const std::string& p) { return GetFileAttributesW(api_path(p).c_str()); }

bool write_handle(HANDLE h, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    DWORD chunk = DWORD(std::min<std::size_t>(data.size() - done, 1u << 30)), written = 0;
    if (!WriteFile(h, data.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool write_new(const std::wstring& path, const std::string& data, bool flush) {
  win32::Handle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  if (!write_handle(h.get(), data)) return false;
  return !flush || FlushFileBuffers(h.get());
}

class Win32FileSystem final : public FileSystem {
 public:
  bool file_exists(const std::string& p) override {
    DWORD a = attributes(p);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool directory_exists(const std::string& p) override {
    DWORD a = attributes(p);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::optional<std::string> read_file(const std::string& p) override {
    win32::Handle h(CreateFileW(api_path(p).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size)) return std::nullopt;
    std::string data(std::size_t(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
      DWORD chunk = DWORD(std::min<std::size_t>(data.size() - done, 1u << 30)), got = 0;
      if (!ReadFile(h.get(), data.data() + done, chunk, &got, nullptr)) return std::nullopt;
      if (got == 0) break;
      done += got;
    }
    data.resize(done);
    return data;
  }
  bool write_file_atomic(const std::string& p, const std::string& data) override {
    std::wstring target = api_path(p);
    std::wstring tmp = api_path(p + ".new");
    if (!write_new(tmp, data, true)) {
      DeleteFileW(tmp.c_str());
      return false;
    }
    if (!MoveFileExW(tmp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DeleteFileW(tmp.c_str());
      return false;
    }
    return true;
  }
  bool write_file(const std::string& p, const std::string& data) override {
    return write_new(api_path(p), data, false);
  }
  bool delete_file(const std::string& p) override { return DeleteFileW(api_path(p).c_str()); }
  bool move_file(const std::string& from, const std::string& to) override {
    return MoveFileW(api_path(from).c_str(), api_path(to).c_str());
  }
  bool create_directory(const std::string& p) override {
    return CreateDirectoryW(api_path(p).c_str(), nullptr);
  }
  std::vector<DirEntry> list_directory(const std::string& p) override {
    std::vector<DirEntry> out;
    std::string pattern = p;
    if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(api_path(pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      DirEntry e;
      e.name = win32::narrow(name);
      e.is_directory = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      e.size = (std::uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
      out.push_back(std::move(e));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
  }
};

}  // namespace

FileSystem& local_file_system() {
  static Win32FileSystem instance;
  return instance;
}

}  // namespace qln
