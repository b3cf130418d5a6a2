#include "manager/SsnForecast.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "common/DayCount.h"
#include "common/TextUtil.h"
#include "manager/SourceFormat.h"

namespace vx {

namespace {

const std::string kWhat = "Not a sunspot number forecast";

// Just enough JSON for the list: strings, numbers, literals, and arrays and
// objects nested no deeper than kMaxDepth, read over where they are not used.
class TJsonReader {
 public:
  explicit TJsonReader(std::string_view text) : S_(text) {}

  [[noreturn]] void Fail(const std::string& why) const {
    throw ESourceFormat(kWhat + ": " + why + " (at byte " + FormatInt(static_cast<int64_t>(I_)) + ")");
  }

  void SkipBlanks() {
    while (I_ < S_.size() && (S_[I_] == ' ' || S_[I_] == '\t' || S_[I_] == '\n' || S_[I_] == '\r')) ++I_;
  }
  bool AtEnd() const { return I_ >= S_.size(); }
  char Peek() const { return AtEnd() ? '\0' : S_[I_]; }
  // Takes c after any blanks; false (nothing taken) when another character is next.
  bool Take(char c) {
    SkipBlanks();
    if (Peek() != c) return false;
    ++I_;
    return true;
  }
  void Expect(char c, const char* what) {
    if (!Take(c)) Fail(std::string("expected ") + what);
  }

  // A string; escapes are checked, and "\u" ones kept as "?" (no name or
  // month this reader looks for holds one).
  std::string String() {
    SkipBlanks();
    if (Peek() != '"') Fail("expected a string");
    ++I_;
    std::string out;
    while (true) {
      if (AtEnd()) Fail("unterminated string");
      const char c = S_[I_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (AtEnd()) Fail("unterminated string");
      const char e = S_[I_++];
      switch (e) {
        case '"':
        case '\\':
        case '/': out += e; break;
        case 'b':
        case 'f':
        case 'n':
        case 'r':
        case 't': out += ' '; break;
        case 'u':
          for (int k = 0; k < 4; ++k, ++I_)
            if (AtEnd() || !std::isxdigit(static_cast<unsigned char>(S_[I_]))) Fail("bad \\u escape");
          out += '?';
          break;
        default: Fail("bad escape in a string");
      }
    }
  }

  // A number in JSON's own form (no "+", no leading zeros, no "nan").
  double Number() {
    SkipBlanks();
    const size_t start = I_;
    auto digits = [&] {
      const size_t from = I_;
      while (!AtEnd() && S_[I_] >= '0' && S_[I_] <= '9') ++I_;
      return I_ - from;
    };
    if (Peek() == '-') ++I_;
    if (Peek() == '0') {
      ++I_;
    } else if (digits() == 0) {
      I_ = start;
      Fail("expected a number");
    }
    if (Peek() == '.') {
      ++I_;
      if (digits() == 0) Fail("bad number");
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++I_;
      if (Peek() == '+' || Peek() == '-') ++I_;
      if (digits() == 0) Fail("bad number");
    }
    const auto v = ParseDouble(S_.substr(start, I_ - start));
    if (!v || !std::isfinite(*v)) Fail("number out of range");
    return *v;
  }

  // Any value, read over.
  void SkipValue(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    SkipBlanks();
    const char c = Peek();
    if (c == '"') {
      String();
    } else if (c == '[') {
      ++I_;
      if (Take(']')) return;
      do SkipValue(depth + 1);
      while (Take(','));
      Expect(']', "\",\" or \"]\"");
    } else if (c == '{') {
      ++I_;
      if (Take('}')) return;
      do {
        String();
        Expect(':', "\":\"");
        SkipValue(depth + 1);
      } while (Take(','));
      Expect('}', "\",\" or \"}\"");
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      Number();
    } else if (!Literal("true") && !Literal("false") && !Literal("null")) {
      Fail("expected a value");
    }
  }
  bool Literal(std::string_view word) {
    if (S_.substr(I_, word.size()) != word) return false;
    I_ += word.size();
    return true;
  }

 private:
  static constexpr int kMaxDepth = 32;
  std::string_view S_;
  size_t I_ = 0;
};

// "2026-12": four digits, "-", two digits, a month 1..12.
std::optional<TSsnMonth> ParseTimeTag(const std::string& tag) {
  if (tag.size() != 7 || tag[4] != '-') return std::nullopt;
  for (size_t k : {0, 1, 2, 3, 5, 6})
    if (tag[k] < '0' || tag[k] > '9') return std::nullopt;
  TSsnMonth m;
  m.Year = std::stoi(tag.substr(0, 4));
  m.Month = std::stoi(tag.substr(5, 2));
  if (m.Year < 1000 || m.Month < 1 || m.Month > 12) return std::nullopt;
  return m;
}

TSsnMonth ReadMonth(TJsonReader& r, size_t index) {
  const std::string where = "entry " + FormatInt(static_cast<int64_t>(index + 1));
  r.Expect('{', ("an object as " + where).c_str());
  std::optional<TSsnMonth> month;
  std::optional<double> ssn;
  bool sawTag = false;
  if (!r.Take('}')) {
    do {
      const std::string name = r.String();
      r.Expect(':', "\":\"");
      if (name == "time-tag") {
        if (sawTag) r.Fail(where + " has two \"time-tag\" members");
        sawTag = true;
        r.SkipBlanks();
        if (r.Peek() != '"') r.Fail(where + ": \"time-tag\" is not a month such as \"2026-12\"");
        const std::string tag = r.String();
        month = ParseTimeTag(tag);
        if (!month) r.Fail(where + ": \"time-tag\" \"" + tag.substr(0, 20) + "\" is not a month such as \"2026-12\"");
      } else if (name == "predicted_ssn") {
        if (ssn) r.Fail(where + " has two \"predicted_ssn\" members");
        r.SkipBlanks();
        const char c = r.Peek();
        if (c != '-' && (c < '0' || c > '9')) r.Fail(where + ": \"predicted_ssn\" is not a number");
        ssn = r.Number();
        if (*ssn < 0 || *ssn > kMaxForecastSsn)
          r.Fail(where + ": \"predicted_ssn\" " + FormatFixed(*ssn, 0, 1) + " is outside 0.." +
                 FormatInt(static_cast<int64_t>(kMaxForecastSsn)));
      } else {
        r.SkipValue(1);
      }
    } while (r.Take(','));
    r.Expect('}', "\",\" or \"}\"");
  }
  if (!month) r.Fail(where + " has no \"time-tag\"");
  if (!ssn) r.Fail(where + " has no \"predicted_ssn\"");
  month->Ssn = *ssn;
  return *month;
}

}  // namespace

std::vector<TSsnMonth> ParseSsnForecast(std::string_view body) {
  if (body.size() > kMaxSsnForecastBytes)
    throw ESourceFormat(kWhat + ": larger than " + FormatInt(static_cast<int64_t>(kMaxSsnForecastBytes >> 20)) +
                        " MB, far more than any forecast");
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  TJsonReader r(body);
  r.SkipBlanks();
  if (r.AtEnd()) throw ESourceFormat(kWhat + ": the file is empty");
  if (r.Peek() == '<') throw ESourceFormat(kWhat + ": it is a web page (the server may have sent an error page)");
  r.Expect('[', "a JSON array \"[\"");
  std::vector<TSsnMonth> months;
  if (!r.Take(']')) {
    do {
      const TSsnMonth m = ReadMonth(r, months.size());
      if (!months.empty() && m.Key() <= months.back().Key())
        r.Fail(std::string(MonthAbbreviation(m.Month)) + " " + FormatInt(m.Year) +
               (m.Key() == months.back().Key() ? " is listed twice" : " comes after a later month"));
      months.push_back(m);
    } while (r.Take(','));
    r.Expect(']', "\",\" or \"]\"");
  }
  r.SkipBlanks();
  if (!r.AtEnd()) r.Fail("text after the list");
  if (months.empty()) throw ESourceFormat(kWhat + ": the list holds no month");
  return months;
}

}  // namespace vx
