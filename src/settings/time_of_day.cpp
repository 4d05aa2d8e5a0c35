#include "settings/time_of_day.h"

#include <cstdio>
#include <vector>

#include "settings/ini_text.h"

namespace qln {

std::string format_time_of_day(const TimeOfDay& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::optional<TimeOfDay> parse_time_of_day(std::string_view text,
                                           std::string_view locale_separator) {
  text = trim_blanks(text);
  std::vector<int> parts;
  std::size_t i = 0;
  while (true) {
    int value = 0, digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 2) {
      value = value * 10 + (text[i] - '0');
      ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    parts.push_back(value);
    if (i == text.size()) break;
    if (parts.size() == 3) return std::nullopt;
    if (text[i] == ':') {
      ++i;
    } else if (!locale_separator.empty() && text.substr(i).starts_with(locale_separator)) {
      i += locale_separator.size();
    } else {
      return std::nullopt;
    }
  }
  if (parts.size() < 2) return std::nullopt;
  TimeOfDay t{parts[0], parts[1], parts.size() == 3 ? parts[2] : 0};
  if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}

}  // namespace qln
