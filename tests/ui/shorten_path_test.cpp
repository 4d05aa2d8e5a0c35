#include "ui/shorten_path.h"

#include <gtest/gtest.h>

#include <vector>

namespace qln::ui {
namespace {

// Every character 10 pixels wide; each measured text is recorded, which shows the sequence of
// shortenings the algorithm went through.
struct Measure {
  std::vector<std::string> seen;
  TextMeasure fn() {
    return [this](const std::string& t) {
      seen.push_back(t);
      return int(t.size()) * 10;
    };
  }
};

TEST(ShortenPath, Sequences) {
  const struct {
    std::string path;
    int width;
    std::vector<std::string> sequence;  // measured texts, the last one is the result
  } cases[] = {
      {"C:\\Users\\Name\\AppData\\Roaming\\The Bat!\\",
       0,
       {"C:\\Users\\Name\\AppData\\Roaming\\The Bat!\\",
        "C:\\...\\Name\\AppData\\Roaming\\The Bat!\\", "C:\\...\\AppData\\Roaming\\The Bat!\\",
        "C:\\...\\Roaming\\The Bat!\\", "C:\\...\\The Bat!\\", "C:\\...\\", "...\\", ""}},
      {"C:\\Users\\Name\\AppData\\Roaming\\The Bat!\\",
       300,
       {"C:\\Users\\Name\\AppData\\Roaming\\The Bat!\\",
        "C:\\...\\Name\\AppData\\Roaming\\The Bat!\\", "C:\\...\\AppData\\Roaming\\The Bat!\\",
        "C:\\...\\Roaming\\The Bat!\\"}},
      {"Mail\\IMAP\\Inbox\\messages.tbb",
       0,
       {"Mail\\IMAP\\Inbox\\messages.tbb", "...\\IMAP\\Inbox\\messages.tbb",
        "...\\Inbox\\messages.tbb", "...\\messages.tbb", "messages.tbb"}},
      {"\\\\server\\share\\x",
       0,
       {"\\\\server\\share\\x", "\\...\\server\\share\\x", "\\...\\share\\x", "\\...\\x", "...\\x",
        "x"}},
      // The earlier "...\" is cut by characters, not bytes: "\.ää\" goes as a whole.
      {"C:\\.\xC3\xA4\xC3\xA4\\b\\f",
       0,
       {"C:\\.\xC3\xA4\xC3\xA4\\b\\f", "C:\\...\\f", "...\\f", "f"}},
      {"C:\\file.txt", 0, {"C:\\file.txt", "C:file.txt", "file.txt"}},
      {"Kein The Bat! Verzeichnis gefunden! Eventuell manuell w\xC3\xA4hlen...",
       0,
       {"Kein The Bat! Verzeichnis gefunden! Eventuell manuell w\xC3\xA4hlen..."}},
      {"C:\\Users\\Name\\", 1000, {"C:\\Users\\Name\\"}},
      {"", 0, {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    Measure m;
    std::string result = ShortenPath(c.path, m.fn(), c.width);
    EXPECT_EQ(result, c.sequence.back());
    std::vector<std::string> expected_measured = c.sequence;
    // The last text is only measured when the loop had something left to drop.
    if (m.seen.size() + 1 == expected_measured.size()) expected_measured.pop_back();
    EXPECT_EQ(m.seen, expected_measured);
  }
}

}  // namespace
}  // namespace qln::ui
