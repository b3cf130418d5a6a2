// What the records of each source look like, and the tally that decides
// whether a download is that source at all. An importer judges the content
// as a whole: a real file with a stray odd line still passes, while an error
// page, random bytes or an empty file is refused before anything is
// replaced.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vx {

// A download (or an archive member) that is not what the source publishes.
// The text is meant for the user.
class ESourceFormat : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Letters, digits and "/", 3 to 20 characters, at least one letter and one
// digit: "K1ABC", "VE3XYZ", "4U1ITU", "VP2E/K1ABC".
bool LooksLikeCallSign(std::string_view s);

// One line of each text source (without its line end).
bool IsLotwLine(std::string_view line);       // a call sign first, then anything
bool IsFccEnLine(std::string_view line);      // "EN|...", a call sign in field 4
bool IsRacLine(std::string_view line);        // a "V" call in columns 1-6
bool IsRdaLine(std::string_view line);        // a call sign, then "AA-00" in columns 71-75
bool IsSpecialCallRow(std::string_view row);  // ";" fields: a call of 4+ characters, 6+ fields

// Counts record lines against all others (blank lines included) and keeps
// the verdict. What: the source's file as the user knows it ("an FCC
// licence file"), for the messages.
class TRecordTally {
 public:
  explicit TRecordTally(std::string what) : What_(std::move(what)) {}

  // Throws ESourceFormat as soon as the lines that are not records lead by
  // so much that no real file of the source could look like this, so a huge
  // foreign file is refused after a glance instead of being read whole.
  void Add(bool record);
  // Throws ESourceFormat unless most lines were records.
  void Finish() const;

  size_t Records() const { return Records_; }
  size_t Lines() const { return Records_ + Others_; }

  // How far the other lines may lead before reading stops.
  static constexpr size_t kLead = 1000;

 private:
  [[noreturn]] void Refuse(bool early) const;
  std::string What_;
  size_t Records_ = 0, Others_ = 0;
};

// Cuts a text that arrives in pieces into lines exactly as SplitLines cuts
// the whole text (CR LF, LF or a lone CR end a line; a line end at the very
// end adds no empty line). A line longer than maxLine is refused: no real
// file of these sources comes near it, and holding it would cost memory
// without bound.
class TLineSplitter {
 public:
  using TLineSink = std::function<void(std::string_view line)>;
  TLineSplitter(TLineSink sink, size_t maxLine, std::string what)
      : Sink_(std::move(sink)), MaxLine_(maxLine), What_(std::move(what)) {}

  void Feed(std::string_view chunk);
  // Delivers the last line when the text does not end with a line end.
  void Finish();

 private:
  void Keep(std::string_view part);
  TLineSink Sink_;
  size_t MaxLine_;
  std::string What_;
  std::string Partial_;
  bool AfterCr_ = false;  // an LF right after this CR ends nothing more
};

}  // namespace vx
