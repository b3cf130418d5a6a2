// Locale-independent text and number helpers shared by every core module.
// Text is Windows-1252 bytes held in std::string; numbers always use ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Blanks and control characters (codes 0..32) removed at both ends.
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);

// Characters at 1-based columns first..last, cut at the end of the line
// (a line too short for the field gives the part it has, maybe empty).
std::string_view Columns(std::string_view line, size_t first, size_t last);

// A decimal number such as "-12.5", "3", "+1e3" with nothing else around it
// (callers trim first). Empty text and trailing garbage are errors.
std::optional<double> ParseDouble(std::string_view s);
// A whole decimal number; leading blanks allowed, nothing after the digits.
std::optional<int64_t> ParseInt(std::string_view s);

// Round to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double v);
// Same, clamped into the 32-bit range (NaN gives 0).
int32_t RoundToInt32(double v);

// printf("%*.*f") with "." whatever the locale; right-aligned in width.
std::string FormatFixed(double v, int width, int precision);
// printf("%*d") whatever the locale; zeroPad gives "%0*d".
std::string FormatInt(int64_t v, int width = 0, bool zeroPad = false);
// Left-aligned in width (pads with blanks, cuts nothing).
std::string PadRight(std::string_view s, size_t width);

// Lines of a text: CR LF, LF and a lone CR each end a line; a line end at the
// very end of the text adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);
// The same lines one at a time, for texts whose lines are not all kept (a
// file of blank lines must not cost a vector entry per line).
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\n' && c != '\r') continue;
    visit(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) visit(text.substr(start));
}

// A double-quoted item starting at text[i] (the opening quote), where a
// doubled quote stands for one. Leaves i after the closing quote; stops at
// the end of the text or at a NUL, as a C string would.
std::string ReadQuotedItem(std::string_view text, size_t& i);

// ASCII upper case; other bytes unchanged.
std::string UpperAscii(std::string_view s);

}  // namespace vx
