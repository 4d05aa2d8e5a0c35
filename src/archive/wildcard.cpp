#include "archive/wildcard.h"

#include <string>

#include "platform/codepage.h"

namespace qln::archive {
namespace {

bool match(std::string_view s, std::string_view m) {
  std::size_t si = 0, mi = 0, star = std::string_view::npos, mark = 0;
  while (si < s.size()) {
    if (mi < m.size() && (m[mi] == '?' || m[mi] == s[si])) {
      ++si;
      ++mi;
    } else if (mi < m.size() && m[mi] == '*') {
      star = mi++;
      mark = si;
    } else if (star != std::string_view::npos) {
      mi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == '*') ++mi;
  return mi == m.size();
}

}  // namespace

bool matches_mask(std::string_view name, std::string_view mask) {
  if (mask.empty() || mask == "*" || mask == "*.*") return true;
  const std::string n = to_lower(name), m = to_lower(mask);
  if (match(n, m)) return true;
  // "name.*" also takes a name without any dot, as the Windows shell does.
  if (m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos) {
    return match(n, std::string_view(m).substr(0, m.size() - 2));
  }
  return false;
}

}  // namespace qln::archive
