#include "archive/compress_pool.h"

#include <zlib.h>

#include <stdexcept>

namespace qln::archive {
namespace {

// A stream for one level, made on first use and reset for every chunk.
class Deflater {
 public:
  Deflater() = default;
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  ~Deflater() {
    if (level_ >= 0) deflateEnd(&z_);
  }

  void compress(Chunk& c) { compress(c, c.level); }

  void compress(Chunk& c, int level) {
    prepare(level);
    if (!c.dictionary.empty()) {
      deflateSetDictionary(&z_, reinterpret_cast<const Bytef*>(c.dictionary.data()),
                           static_cast<uInt>(c.dictionary.size()));
    }
    c.output.resize(deflateBound(&z_, static_cast<uLong>(c.input.size())) + 64);
    z_.next_in = reinterpret_cast<Bytef*>(c.input.data());
    z_.avail_in = static_cast<uInt>(c.input.size());
    std::size_t produced = 0;
    const int flush = c.last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
      z_.next_out = reinterpret_cast<Bytef*>(c.output.data() + produced);
      z_.avail_out = static_cast<uInt>(c.output.size() - produced);
      const int rc = deflate(&z_, flush);
      produced = c.output.size() - z_.avail_out;
      if (rc == Z_STREAM_END || (flush == Z_SYNC_FLUSH && z_.avail_out != 0 && z_.avail_in == 0))
        break;
      if (rc != Z_OK && rc != Z_BUF_ERROR) throw std::runtime_error("Deflate failed");
      c.output.resize(c.output.size() * 2);
    }
    c.output.resize(produced);
  }

 private:
  void prepare(int level) {
    if (level_ == level) {
      deflateReset(&z_);
      return;
    }
    if (level_ >= 0) deflateEnd(&z_);
    level_ = -1;
    if (deflateInit2(&z_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw std::runtime_error("zlib cannot start compressing");
    }
    level_ = level;
  }

  z_stream z_{};
  int level_ = -1;
};

constexpr std::size_t kSample = 16 * 1024;

// Whether a sample from the middle of the chunk shrinks under Deflate at all: attachments
// that are compressed already (photos, archives) are stored in Deflate's own stored blocks,
// which costs next to nothing and loses nothing.
bool compressible(const Chunk& c, z_stream& probe, std::string& scratch) {
  if (c.input.size() < 4 * kSample) return true;
  deflateReset(&probe);
  scratch.resize(deflateBound(&probe, kSample) + 64);
  probe.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(c.input.data()) + c.input.size() / 2);
  probe.avail_in = static_cast<uInt>(kSample);
  probe.next_out = reinterpret_cast<Bytef*>(scratch.data());
  probe.avail_out = static_cast<uInt>(scratch.size());
  deflate(&probe, Z_FINISH);
  const std::size_t out = scratch.size() - probe.avail_out;
  return out < kSample * 97 / 100;
}

class Probe {
 public:
  Probe() {
    if (deflateInit2(&z_, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw std::runtime_error("zlib cannot start compressing");
    }
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;
  ~Probe() { deflateEnd(&z_); }
  bool compressible(const Chunk& c) { return archive::compressible(c, z_, scratch_); }

 private:
  z_stream z_{};
  std::string scratch_;
};

}  // namespace

unsigned default_worker_count() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 2 : std::min(n, 16u);
}

CompressPool::CompressPool(unsigned threads, std::size_t max_in_flight)
    : max_in_flight_(max_in_flight < 1 ? 1 : max_in_flight) {
  if (threads == 0) threads = 1;
  workers_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

CompressPool::~CompressPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_ready_.notify_all();
  for (auto& t : workers_) t.join();
}

bool CompressPool::full() const {
  std::lock_guard lock(mutex_);
  return in_order_.size() >= max_in_flight_;
}

bool CompressPool::empty() const {
  std::lock_guard lock(mutex_);
  return in_order_.empty();
}

void CompressPool::submit(std::unique_ptr<Chunk> chunk) {
  {
    std::lock_guard lock(mutex_);
    todo_.push_back(chunk.get());
    in_order_.push_back(std::move(chunk));
  }
  work_ready_.notify_one();
}

std::unique_ptr<Chunk> CompressPool::acquire() {
  std::lock_guard lock(mutex_);
  if (spare_.empty()) return std::make_unique<Chunk>();
  auto chunk = std::move(spare_.back());
  spare_.pop_back();
  return chunk;
}

void CompressPool::recycle(std::unique_ptr<Chunk> chunk) {
  // Buffers keep their capacity; the fields start afresh.
  std::string input = std::move(chunk->input), output = std::move(chunk->output);
  input.clear();
  output.clear();
  *chunk = Chunk{};
  chunk->input = std::move(input);
  chunk->output = std::move(output);
  std::lock_guard lock(mutex_);
  if (spare_.size() < max_in_flight_ + 2) spare_.push_back(std::move(chunk));
}

std::unique_ptr<Chunk> CompressPool::next() {
  std::unique_lock lock(mutex_);
  if (in_order_.empty()) throw std::logic_error("no chunk is in flight");
  chunk_done_.wait(lock, [&] { return in_order_.front()->done; });
  auto chunk = std::move(in_order_.front());
  in_order_.pop_front();
  lock.unlock();
  if (chunk->error) std::rethrow_exception(chunk->error);
  return chunk;
}

void CompressPool::work() {
  Deflater deflater, storer;
  Probe probe;
  for (;;) {
    Chunk* c = nullptr;
    {
      std::unique_lock lock(mutex_);
      work_ready_.wait(lock, [&] { return stopping_ || !todo_.empty(); });
      if (stopping_) return;
      c = todo_.front();
      todo_.pop_front();
    }
    try {
      c->crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(c->input.data()),
                                                static_cast<uInt>(c->input.size())));
      if (c->level == 0) {
        c->output.swap(c->input);
      } else {
        if (probe.compressible(*c)) {
          deflater.compress(*c);
        } else {
          storer.compress(*c, 0);
        }
      }
    } catch (...) {
      c->error = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      c->done = true;
    }
    chunk_done_.notify_all();
  }
}

}  // namespace qln::archive
