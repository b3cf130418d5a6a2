#include "common/TextUtil.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

namespace vx {

static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string_view Columns(std::string_view line, size_t first, size_t last) {
  if (first == 0 || last < first || first > line.size()) return {};
  return line.substr(first - 1, last - first + 1);
}

// Plain decimals ("-12.5", "3", ".5") of up to 15 digits: the mantissa and
// the power of ten are exact doubles, so one division gives the correctly
// rounded value, the same as a full conversion. Returns false for anything
// else, which then takes the general path.
static bool ParseSimpleDecimal(std::string_view s, double& out) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) ++i;
  uint64_t mantissa = 0;
  int digits = 0, decimals = 0;
  bool dot = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      if (++digits > 15) return false;
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (dot) ++decimals;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  double v = static_cast<double>(mantissa);
  if (decimals) v /= kPow10[decimals];
  out = negative ? -v : v;
  return true;
}

std::optional<double> ParseDouble(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (double fast; ParseSimpleDecimal(s, fast)) return fast;
  if (s.empty() || s[0] == '+' || s[0] == ' ') return std::nullopt;
  double v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int64_t> ParseInt(std::string_view s) {
  s = TrimLeft(s);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty() || s[0] == '+') return std::nullopt;
  int64_t v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

double RoundHalfEven(double v) {
  // nearbyint follows the current rounding mode, which is to-nearest-even
  // unless somebody changed it; make the intent explicit and independent of it.
  double r = std::floor(v);
  double diff = v - r;
  if (diff > 0.5) return r + 1;
  if (diff < 0.5) return r;
  return std::fmod(r, 2.0) == 0 ? r : r + 1;
}

int32_t RoundToInt32(double v) {
  if (std::isnan(v)) return 0;
  double r = RoundHalfEven(v);
  if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

std::string FormatFixed(double v, int width, int precision) {
  char buf[400];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  std::string s = ec == std::errc() ? std::string(buf, p) : std::string("NAN");
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
  return s;
}

std::string FormatInt(int64_t v, int width, bool zeroPad) {
  char buf[32];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  std::string s(buf, p);
  if (static_cast<int>(s.size()) < width) {
    if (zeroPad) {
      size_t at = (!s.empty() && s[0] == '-') ? 1 : 0;
      s.insert(at, width - s.size(), '0');
    } else {
      s.insert(0, width - s.size(), ' ');
    }
  }
  return s;
}

std::string PadRight(std::string_view s, size_t width) {
  std::string r(s);
  if (r.size() < width) r.append(width - r.size(), ' ');
  return r;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  ForEachLine(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::string ReadQuotedItem(std::string_view text, size_t& i) {
  std::string item;
  const size_t n = text.size();
  ++i;  // the opening quote
  while (i < n && text[i] != '\0') {
    if (text[i] == '"') {
      if (i + 1 < n && text[i + 1] == '"') {
        item += '"';
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    item += text[i++];
  }
  return item;
}

std::string UpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

}  // namespace vx
