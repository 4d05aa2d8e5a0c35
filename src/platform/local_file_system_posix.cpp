// Real files for the native build and its tests.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/local_file_system.h"

namespace qln {
namespace {

namespace fs = std::filesystem;

bool write_all(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

class PosixFileSystem final : public FileSystem {
 public:
  bool file_exists(const std::string& p) override {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
  }
  bool directory_exists(const std::string& p) override {
    std::error_code ec;
    return fs::is_directory(p, ec);
  }
  std::optional<std::string> read_file(const std::string& p) override {
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  bool write_file_atomic(const std::string& p, const std::string& data) override {
    std::string tmp = p + ".new";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = write_all(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), p.c_str()) != 0) {
      ::unlink(tmp.c_str());
      return false;
    }
    return true;
  }
  bool write_file(const std::string& p, const std::string& data) override {
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = write_all(fd, data);
    return (::close(fd) == 0) && ok;
  }
  bool delete_file(const std::string& p) override { return ::unlink(p.c_str()) == 0; }
  bool move_file(const std::string& from, const std::string& to) override {
    std::error_code ec;
    if (fs::exists(to, ec)) return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
  bool create_directory(const std::string& p) override {
    std::error_code ec;
    return fs::create_directory(p, ec);
  }
  std::vector<DirEntry> list_directory(const std::string& p) override {
    std::vector<DirEntry> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(p, ec)) {
      DirEntry d;
      d.name = e.path().filename().string();
      d.is_directory = e.is_directory(ec);
      if (!d.is_directory) d.size = e.file_size(ec);
      out.push_back(std::move(d));
    }
    return out;
  }
};

}  // namespace

FileSystem& local_file_system() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace qln
