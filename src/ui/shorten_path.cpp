#include "ui/shorten_path.h"

#include "platform/codepage.h"

namespace qln::ui {
namespace {

constexpr char kEllipsisFolder[] = "...\\";

// Drops `count` characters (not bytes) from the front of a UTF-8 text.
void drop_characters(std::string& text, std::size_t count) {
  std::size_t i = 0;
  while (i < text.size() && count > 0) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    --count;
  }
  text.erase(0, i);
}

// Replaces the first folder of a folder part by "...\" ("\a\b\" -> "\...\b\").
void cut_first_folder(std::string& folder) {
  if (folder == "\\") {
    folder.clear();
    return;
  }
  bool rooted = !folder.empty() && folder.front() == '\\';
  if (rooted) folder.erase(0, 1);
  if (!folder.empty() && folder.front() == '.') drop_characters(folder, 4);  // earlier "...\"
  auto sep = folder.find('\\');
  folder = sep == std::string::npos ? std::string() : kEllipsisFolder + folder.substr(sep + 1);
  if (rooted) folder.insert(0, "\\");
}

}  // namespace

std::string ShortenPath(const std::string& path, const TextMeasure& measure, int width) {
  std::string result = path;
  auto split = path.find_last_of("\\:");
  std::string folder = split == std::string::npos ? std::string() : path.substr(0, split + 1);
  const std::string name = split == std::string::npos ? path : path.substr(split + 1);
  std::string drive;
  if (folder.size() >= 2 && folder[1] == ':') {
    drive = folder.substr(0, 2);
    folder.erase(0, 2);
  }
  while ((!folder.empty() || !drive.empty()) && measure(result) > width) {
    if (folder == "\\...\\") {
      drive.clear();
      folder = kEllipsisFolder;
    } else if (folder.empty()) {
      drive.clear();
    } else {
      cut_first_folder(folder);
    }
    result = drive + folder + name;
  }
  return result;
}

}  // namespace qln::ui
