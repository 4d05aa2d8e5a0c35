#pragma once
// An archive held in memory: for checking archives built in tests and for the fuzz target.
#include <algorithm>
#include <cstring>
#include <string>

#include "archive/archive_file_system.h"

namespace qln::archive {

class MemoryArchiveFile final : public ArchiveFile {
 public:
  explicit MemoryArchiveFile(std::string data = {}) : data_(std::move(data)) {}
  std::uint64_t size() override { return data_.size(); }
  std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) override {
    if (offset >= data_.size()) return 0;
    const std::size_t take = std::min<std::uint64_t>(n, data_.size() - offset);
    std::memcpy(buffer, data_.data() + offset, take);
    return take;
  }
  void write_at(std::uint64_t offset, const void* data, std::size_t n) override {
    if (data_.size() < offset + n) data_.resize(offset + n);
    std::memcpy(data_.data() + offset, data, n);
  }
  void truncate(std::uint64_t size) override { data_.resize(size); }
  void flush() override {}
  bool writable() const override { return true; }
  const std::string& data() const { return data_; }

 private:
  std::string data_;
};

}  // namespace qln::archive
