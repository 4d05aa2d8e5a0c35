#pragma once
// The language component: applies a language file to the application's windows and answers
// every request for a message text from the file applied last.
//
// A language file is INI text (ANSI, or UTF-8 / UTF-16LE with byte-order mark). Sections named
// after a window hold "Control.Property=text" lines; section [misc] holds the message texts by
// key. In both, "~~" stands for a line break.
#include <string>

#include "platform/file_system.h"
#include "ui/component.h"

namespace qln::lang {

class Tlang_system : public ui::Component {
 public:
  // Applies files to the forms that `app` owns and reads them through `fs`.
  Tlang_system(ui::Application& app, FileSystem& fs);

  // Remembers LFile (also when it does not exist) and applies its window sections in file
  // order. Section "INFOS" is never applied; sections without a window of that name, lines
  // that do not split into exactly "Control.Property=value" and controls the window lacks are
  // skipped. A property the control does not publish raises
  // Error("Eigenschaft <name> existiert nicht") and stops the load there.
  void LoadLanguage(const std::string& LFile);

  // The text of KEY in section Misc of the file last loaded, read afresh at every call, or VAL
  // when the file, the section or the key is missing. An entry of at most two characters gives
  // VAL exactly as passed; "~~" and "*|*" become line breaks.
  std::string misc(const std::string& VAL, const std::string& KEY) const;

  const std::string& lang_file() const { return lang_file_; }

 private:
  ui::Application& app_;
  FileSystem& fs_;
  std::string lang_file_;
};

}  // namespace qln::lang
