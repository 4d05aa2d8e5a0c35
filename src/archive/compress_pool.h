#pragma once
// Deflate on worker threads. The data of every file goes in as chunks in archive order; each
// chunk is compressed on its own, primed with the 32 KiB before it, and ends on a byte
// boundary, so the chunks of one file put together form one Deflate stream. Results come
// back in the order they went in, and only a bounded number is in flight at once.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qln::archive {

struct Chunk {
  std::size_t entry = 0;  // the caller's index
  std::string input;
  std::string dictionary;  // the input just before this chunk, at most 32 KiB
  bool first = false;      // the first chunk of its entry
  bool last = false;       // finishes the entry's stream
  int level = 1;           // 0: stored as it is
  std::size_t input_size = 0;
  // Filled in by a worker.
  std::string output;
  std::uint32_t crc = 0;
  std::exception_ptr error;
  bool done = false;
};

class CompressPool {
 public:
  CompressPool(unsigned threads, std::size_t max_in_flight);
  CompressPool(const CompressPool&) = delete;
  CompressPool& operator=(const CompressPool&) = delete;
  ~CompressPool();

  bool full() const;
  bool empty() const;
  void submit(std::unique_ptr<Chunk> chunk);
  // A chunk to fill, reusing the buffers of one that was handed back.
  std::unique_ptr<Chunk> acquire();
  void recycle(std::unique_ptr<Chunk> chunk);
  // The oldest chunk once it is done; rethrows a worker's failure.
  std::unique_ptr<Chunk> next();

 private:
  void work();

  mutable std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable chunk_done_;
  std::deque<std::unique_ptr<Chunk>> in_order_;
  std::deque<Chunk*> todo_;
  std::vector<std::unique_ptr<Chunk>> spare_;
  std::size_t max_in_flight_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

// How many workers this machine is worth.
unsigned default_worker_count();

}  // namespace qln::archive
