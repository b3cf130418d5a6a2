#include "manager/SourceFormat.h"

#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"

namespace vx {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text up to the first of the given separators.
std::string_view FirstField(std::string_view line, std::string_view separators) {
  return line.substr(0, line.find_first_of(separators));
}

// Field number index of a line cut at every sep (no quoting).
std::string_view FieldAt(std::string_view line, char sep, size_t index) {
  size_t start = 0;
  for (size_t k = 0; k < index; ++k) {
    const size_t cut = line.find(sep, start);
    if (cut == std::string_view::npos) return {};
    start = cut + 1;
  }
  const size_t end = line.find(sep, start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

bool LooksLikeCallSign(std::string_view s) {
  if (s.size() < 3 || s.size() > 20) return false;
  bool letter = false, digit = false;
  for (char c : s) {
    if (IsLetter(c)) {
      letter = true;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (c != '/') {
      return false;
    }
  }
  return letter && digit;
}

bool IsLotwLine(std::string_view line) { return LooksLikeCallSign(FirstField(Trim(line), ",; \t")); }

bool IsFccEnLine(std::string_view line) {
  return line.substr(0, 3) == "EN|" && LooksLikeCallSign(FieldAt(line, '|', 4));
}

bool IsRacLine(std::string_view line) {
  // The call fills columns 1-6 as far as it goes; a separator may follow a
  // shorter one.
  return !line.empty() && line[0] == 'V' && LooksLikeCallSign(FirstField(Columns(line, 1, 6), " ;,\t"));
}

bool IsRdaLine(std::string_view line) {
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos || !LooksLikeCallSign(line.substr(0, blank))) return false;
  const std::string_view d = Columns(line, 71, 75);
  return d.size() == 5 && IsLetter(d[0]) && IsLetter(d[1]) && d[2] == '-' && IsDigit(d[3]) && IsDigit(d[4]);
}

bool IsSpecialCallRow(std::string_view row) {
  // Split as the table builder splits it, quotes and all.
  TAlStringList fields;
  fields.Delimiter = ';';
  fields.SetDelimitedItems(row);
  return fields.Count() >= 6 && fields[0].size() >= 4 && LooksLikeCallSign(fields[0]);
}

void TRecordTally::Add(bool record) {
  (record ? Records_ : Others_) += 1;
  if (Others_ > Records_ + kLead) Refuse(true);
}

void TRecordTally::Finish() const {
  if (Records_ == 0 || Records_ <= Others_) Refuse(false);
}

void TRecordTally::Refuse(bool early) const {
  std::string why;
  if (Lines() == 0) {
    why = "it is empty";
  } else {
    why = FormatInt(static_cast<int64_t>(Records_)) + (early ? " of the first " : " of ") +
          FormatInt(static_cast<int64_t>(Lines())) + " lines look like its records";
  }
  throw ESourceFormat("Not " + What_ + ": " + why);
}

void TLineSplitter::Keep(std::string_view part) {
  if (Partial_.size() + part.size() > MaxLine_)
    throw ESourceFormat("Not " + What_ + ": a line is longer than " + FormatInt(static_cast<int64_t>(MaxLine_)) +
                        " bytes");
  Partial_.append(part);
}

void TLineSplitter::Feed(std::string_view chunk) {
  size_t i = 0;
  const size_t n = chunk.size();
  if (AfterCr_ && n > 0) {
    AfterCr_ = false;
    if (chunk[0] == '\n') i = 1;
  }
  size_t start = i;
  for (; i < n; ++i) {
    const char c = chunk[i];
    if (c != '\n' && c != '\r') continue;
    if (Partial_.empty()) {
      Sink_(chunk.substr(start, i - start));
    } else {
      Keep(chunk.substr(start, i - start));
      Sink_(Partial_);
      Partial_.clear();
    }
    if (c == '\r') {
      if (i + 1 < n) {
        if (chunk[i + 1] == '\n') ++i;
      } else {
        AfterCr_ = true;
      }
    }
    start = i + 1;
  }
  if (start < n) Keep(chunk.substr(start));
}

void TLineSplitter::Finish() {
  if (!Partial_.empty()) Sink_(Partial_);
  Partial_.clear();
  AfterCr_ = false;
}

}  // namespace vx
