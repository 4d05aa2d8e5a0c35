#include "lang/lang_system.h"

#include <vector>

#include "platform/codepage.h"
#include "settings/ini_file.h"
#include "settings/ini_text.h"

namespace qln::lang {
namespace {

constexpr char kCrLf[] = "\r\n";

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
  return text;
}

std::vector<std::string> split(std::string_view text, std::string_view sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t pos; (pos = text.find(sep, start)) != std::string_view::npos;
       start = pos + sep.size())
    parts.emplace_back(text.substr(start, pos - start));
  parts.emplace_back(text.substr(start));
  return parts;
}

// Characters, not bytes: "ä" is one.
std::size_t length_in_characters(std::string_view utf8) { return utf8_to_utf16(utf8).size(); }

// Pieces but the last joined by CR LF, leading empty pieces left out, then CR LF and the last.
std::string join_marker_pieces(const std::vector<std::string>& pieces) {
  std::string head;
  bool started = false;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    if (!started && pieces[i].empty()) continue;
    if (started) head += kCrLf;
    head += pieces[i];
    started = true;
  }
  return head + kCrLf + pieces.back();
}

}  // namespace

Tlang_system::Tlang_system(ui::Application& app, FileSystem& fs)
    : ui::Component("lang_system"), app_(app), fs_(fs) {}

void Tlang_system::LoadLanguage(const std::string& LFile) {
  lang_file_ = LFile;
  IniFile file(fs_, LFile);
  for (const std::string& section : file.sections()) {
    if (trim_blanks(section) == "INFOS") continue;  // settings, never captions
    ui::Form* form = app_.find_form(section);
    if (!form) continue;
    for (const IniEntry& entry : file.entries(section)) {
      if (entry.value.find('=') != std::string::npos) continue;  // caption lines hold one "="
      auto name = split(entry.name, ".");
      if (name.size() != 2) continue;
      ui::Component* control = form->find_component(name[0]);
      if (!control) continue;  // lines for controls of other versions of the window
      control->set_property(name[1], replace_all(entry.value, "~~", kCrLf));
    }
  }
}

std::string Tlang_system::misc(const std::string& VAL, const std::string& KEY) const {
  std::string text = IniFile(fs_, lang_file_).find_value("Misc", KEY).value_or(VAL);
  text = replace_all(std::move(text), "~~", kCrLf);
  if (length_in_characters(trim_blanks(text)) <= 2) return VAL;
  if (text.find("*|*") == std::string::npos) return text;
  return join_marker_pieces(split(text, "*|*"));
}

}  // namespace qln::lang
