#pragma once
// Fitting a path into a label of fixed width: leading folders give way to "...", the name
// part never does. Portable: the Win32 side passes a measure in the label's font.
#include <functional>
#include <string>

namespace qln::ui {

// Pixel width of a text as drawn in the label's font.
using TextMeasure = std::function<int(const std::string& text)>;

// `path` shortened folder by folder ("C:\...\Roaming\The Bat!\") until it fits into `width`
// pixels or nothing but the name part is left; a text without "\" or ":" stays as it is.
std::string ShortenPath(const std::string& path, const TextMeasure& measure, int width);

}  // namespace qln::ui
