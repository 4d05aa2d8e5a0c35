// qlnzip: the archive component on the command line.
//   qlnzip [-0..-9] [-j THREADS] create ARCHIVE DIR | extract ARCHIVE DIR | test ARCHIVE |
//          list ARCHIVE
// Exit code 0 on success; otherwise the failures go to standard error, naming the archive and
// the entry, and the exit code is 1 (2 for wrong usage).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "archive/archiver.h"
#include "archive/dos_time.h"
#include "arguments.h"

namespace {

using namespace qln::archive;

int usage() {
  std::fprintf(stderr,
               "usage: qlnzip [-0..-9] [-j THREADS] create ARCHIVE DIR\n"
               "       qlnzip [-j THREADS] extract ARCHIVE DIR\n"
               "       qlnzip [-j THREADS] test ARCHIVE\n"
               "       qlnzip list ARCHIVE\n");
  return 2;
}

void list(const Archiver& a) {
  std::printf("%12s %12s  %-19s  %s\n", "size", "packed", "modified", "name");
  for (const ZipEntry& e : a.Entries()) {
    const LocalTime t = from_dos_time(e.dos_time);
    std::printf("%12llu %12llu  %04d-%02d-%02d %02d:%02d:%02d  %s\n",
                static_cast<unsigned long long>(e.uncompressed_size),
                static_cast<unsigned long long>(e.compressed_size), t.year, t.month, t.day, t.hour,
                t.minute, t.second, e.name.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = command_line_arguments(argc, argv);
  int level = 1;
  unsigned threads = 0;
  std::size_t at = 0;
  while (at < args.size() && args[at].size() >= 2 && args[at][0] == '-') {
    const std::string& opt = args[at];
    if (opt.size() == 2 && opt[1] >= '0' && opt[1] <= '9') {
      level = opt[1] - '0';
      ++at;
    } else if (opt == "-j" && at + 1 < args.size()) {
      threads = static_cast<unsigned>(std::strtoul(args[at + 1].c_str(), nullptr, 10));
      at += 2;
    } else {
      return usage();
    }
  }
  if (at >= args.size()) return usage();
  const std::string command = args[at++];
  const std::vector<std::string> rest(args.begin() + static_cast<long>(at), args.end());
  const bool two = command == "create" || command == "extract";
  const bool one = command == "test" || command == "list";
  if (!(two && rest.size() == 2) && !(one && rest.size() == 1)) return usage();

  const std::string archive = rest[0];
  auto fs = make_local_archive_file_system();
  Archiver a(*fs);
  a.Threads = threads;
  int failures = 0;
  a.OnProcessFileFailure = [&](Archiver&, const std::string& name, TProcessOperation op,
                               std::int32_t, std::int32_t, const std::string& message,
                               TFailureAction& action) {
    std::fprintf(stderr, "qlnzip: %s: %s: %s\n", archive.c_str(), name.c_str(), message.c_str());
    ++failures;
    // A backup that silently lacks a file is worse than none.
    action = op == TProcessOperation::poAdd ? TFailureAction::fxaAbort : TFailureAction::fxaIgnore;
  };
  try {
    a.FileName = archive;
    if (command == "create") {
      a.SetCompressionMode(level);
      a.OpenArchive(TOpenMode::fmCreate);
      a.BaseDir = rest[1];
      a.AddFiles("*.*", kDefaultSearchAttr, "");
    } else {
      a.OpenArchive(TOpenMode::fmOpenRead);
      if (command == "extract") {
        a.BaseDir = rest[1];
        a.ExtractFiles("*.*", kDefaultSearchAttr, "");
      } else if (command == "test") {
        a.TestFiles("*.*", kDefaultSearchAttr, "");
      } else {
        list(a);
      }
    }
    a.CloseArchive();
  } catch (const std::exception& e) {
    if (failures == 0) std::fprintf(stderr, "qlnzip: %s: %s\n", archive.c_str(), e.what());
    return 1;
  }
  return failures == 0 ? 0 : 1;
}
