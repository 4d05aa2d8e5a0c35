// Generates a mail-like tree (big message bases of text with base64 attachments, index
// files, many small files, incompressible attachments) and times, side by side, creating,
// extracting and testing a ZIP of it with qlnzip, Info-ZIP and 7-Zip. Each figure is the best
// of several runs, since the machine is shared.
//   qln_bench_archive [--mb SIZE] [--runs N] [--dir WORK] [--keep]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rng {
  std::uint64_t s;
  std::uint64_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
};

const char* const kWords[] = {"the",      "message", "mail",     "server",   "Received", "from",
                              "account",  "folder",  "regards",  "please",   "meeting",  "report",
                              "invoice",  "Subject", "tomorrow", "project",  "attached", "thanks",
                              "Quillane", "backup",  "client",   "delivery", "status",   "week"};

void append_text(std::string& out, Rng& rng, std::size_t bytes) {
  const std::size_t end = out.size() + bytes;
  std::size_t line = 0;
  while (out.size() < end) {
    out += kWords[rng.next() % (sizeof kWords / sizeof *kWords)];
    if (++line % 12 == 0) {
      out += "\r\n";
    } else {
      out += ' ';
    }
  }
}

void append_base64(std::string& out, Rng& rng, std::size_t bytes) {
  static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < bytes; ++i) {
    out += table[rng.next() & 63];
    if (i % 76 == 75) out += "\r\n";
  }
}

void append_random(std::string& out, Rng& rng, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; i += 8) {
    const std::uint64_t v = rng.next();
    out.append(reinterpret_cast<const char*>(&v), std::min<std::size_t>(8, bytes - i));
  }
}

void write(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
}

// About `mb` megabytes: 60 % message bases, 20 % incompressible attachments, 10 % indexes,
// 10 % small files.
std::uint64_t generate(const fs::path& root, std::uint64_t mb) {
  Rng rng{0x9E3779B97F4A7C15ull};
  const std::uint64_t total = mb << 20;
  std::uint64_t written = 0;
  auto put = [&](const fs::path& p, const std::string& d) {
    write(p, d);
    written += d.size();
  };
  const int accounts = 4;
  for (int a = 0; a < accounts; ++a) {
    const fs::path acc = root / ("Account " + std::to_string(a));
    for (int f = 0; f < 3; ++f) {
      std::string base;
      const std::uint64_t want = total * 6 / 10 / (accounts * 3);
      while (base.size() < want) {
        base += "From: someone@example.org\r\nSubject: ";
        append_text(base, rng, 60 + rng.next() % 4000);
        if (rng.next() % 3 == 0) {
          base += "\r\nContent-Transfer-Encoding: base64\r\n\r\n";
          append_base64(base, rng, 2000 + rng.next() % 60000);
        }
        base += "\r\n\r\n";
      }
      put(acc / ("Folder " + std::to_string(f)) / "messages.tbb", base);
      std::string index;
      for (std::size_t i = 0; index.size() < total / 10 / (accounts * 3); ++i) {
        const std::uint64_t rec[4] = {i, rng.next() % 100000, i * 4096, 0x2020202020202020ull};
        index.append(reinterpret_cast<const char*>(rec), sizeof rec);
        append_random(index, rng, 8);
      }
      put(acc / ("Folder " + std::to_string(f)) / "messages.tbn", index);
    }
    std::string attachments;
    append_random(attachments, rng, total * 2 / 10 / accounts);
    put(acc / "Attachments" / "photos.jpg", attachments);
    for (int s = 0; written < total && s < 100000; ++s) {
      if (s * 8192ull > total / 10 / accounts) break;
      std::string small;
      append_text(small, rng, 500 + rng.next() % 15000);
      put(acc / "Settings" / ("item" + std::to_string(s) + ".cfg"), small);
    }
  }
  return written;
}

struct Result {
  double seconds = 0;
  long peak_kib = 0;
  bool ok = false;
};

// Runs under /usr/bin/time, so that the peak memory is the program's own and not what a
// forked copy of this process had.
Result run_once(std::vector<std::string> args, const fs::path& cwd) {
  const fs::path report = fs::temp_directory_path() / "qln-bench-rss.txt";
  args.insert(args.begin(), {"/usr/bin/time", "-f", "%M", "-o", report.string()});
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(126);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (!freopen("/dev/null", "w", stdout)) _exit(126);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  Result r;
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::ifstream(report) >> r.peak_kib;
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return r;
}

// The best of `runs`; `before` runs ahead of each (clearing an output).
template <typename Before>
Result best_of(int runs, const std::vector<std::string>& args, const fs::path& cwd, Before before) {
  Result best;
  for (int i = 0; i < runs; ++i) {
    before();
    const Result r = run_once(args, cwd);
    if (!r.ok) return r;
    if (i == 0 || r.seconds < best.seconds) best = r;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t mb = 300;
  int runs = 3;
  bool keep = false;
  fs::path work = fs::temp_directory_path() / "qln-bench-archive";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--mb" && i + 1 < argc)
      mb = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--runs" && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else if (a == "--dir" && i + 1 < argc)
      work = argv[++i];
    else if (a == "--keep")
      keep = true;
    else {
      std::fprintf(stderr,
                   "usage: qln_bench_archive [--mb SIZE] [--runs N] [--dir WORK] [--keep]\n");
      return 2;
    }
  }
  const std::string qlnzip = QLN_QLNZIP;
  fs::remove_all(work);
  const fs::path tree = work / "tree";
  const std::uint64_t bytes = generate(tree, mb);
  std::size_t files = 0;
  for (auto& e : fs::recursive_directory_iterator(tree)) files += e.is_regular_file();
  std::printf("tree: %.1f MB in %zu files, best of %d runs, %u processors\n\n",
              static_cast<double>(bytes) / 1e6, files, runs, std::thread::hardware_concurrency());

  const fs::path ours = work / "ours.zip", zip1 = work / "zip1.zip", sz = work / "7zz.zip";
  auto rm = [](fs::path p) { return [p] { fs::remove_all(p); }; };
  struct Row {
    const char* op;
    const char* tool;
    Result r;
    std::uint64_t size = 0;
  };
  std::vector<Row> rows;
  rows.push_back(
      {"create", "qlnzip create", best_of(runs, {qlnzip, "create", ours, "."}, tree, rm(ours))});
  rows.back().size = fs::file_size(ours);
  rows.push_back(
      {"create", "zip -1 -r", best_of(runs, {"zip", "-1", "-r", "-q", zip1, "."}, tree, rm(zip1))});
  rows.back().size = fs::file_size(zip1);
  rows.push_back(
      {"create", "7zz a -tzip -mx=1",
       best_of(runs, {"7zz", "a", "-tzip", "-mx=1", "-bso0", "-bsp0", sz, "."}, tree, rm(sz))});
  rows.back().size = fs::file_size(sz);
  const fs::path out = work / "out";
  rows.push_back(
      {"extract", "qlnzip extract", best_of(runs, {qlnzip, "extract", ours, out}, work, rm(out))});
  rows.push_back(
      {"extract", "unzip", best_of(runs, {"unzip", "-qq", "-o", ours, "-d", out}, work, rm(out))});
  rows.push_back({"extract", "7zz x",
                  best_of(runs, {"7zz", "x", "-y", "-bso0", "-bsp0", ours, "-o" + out.string()},
                          work, rm(out))});
  rows.push_back({"test", "qlnzip test", best_of(runs, {qlnzip, "test", ours}, work, [] {})});
  rows.push_back({"test", "unzip -t", best_of(runs, {"unzip", "-tqq", ours}, work, [] {})});
  rows.push_back(
      {"test", "7zz t", best_of(runs, {"7zz", "t", "-bso0", "-bsp0", ours}, work, [] {})});
  fs::remove_all(out);

  std::printf("%-8s %-20s %9s %9s %12s %9s %s\n", "op", "tool", "seconds", "MB/s", "archive",
              "peak MiB", "");
  const Row* ours_row = nullptr;
  for (const Row& row : rows) {
    if (std::string(row.tool).rfind("qlnzip", 0) == 0) ours_row = &row;
    char size[32] = "";
    if (row.size)
      std::snprintf(size, sizeof size, "%12llu", static_cast<unsigned long long>(row.size));
    char versus[64] = "";
    if (ours_row && ours_row != &row && ours_row->r.seconds > 0) {
      std::snprintf(versus, sizeof versus, "qlnzip %.2fx as fast",
                    row.r.seconds / ours_row->r.seconds);
    }
    std::printf("%-8s %-20s %9.2f %9.1f %12s %9.1f %s%s\n", row.op, row.tool, row.r.seconds,
                static_cast<double>(bytes) / 1e6 / row.r.seconds, size, row.r.peak_kib / 1024.0,
                row.r.ok ? "" : "FAILED ", versus);
  }
  const double ratio = static_cast<double>(rows[0].size) / static_cast<double>(rows[1].size);
  std::printf("\nqlnzip archive size / zip -1 size: %.4f (%+.2f %%)\n", ratio, (ratio - 1) * 100);
  if (!keep) fs::remove_all(work);
  return 0;
}
