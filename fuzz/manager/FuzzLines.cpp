// The line splitter on any text cut into pieces at places taken from the
// input: it must deliver exactly the lines of the whole text, and the record
// tallies must judge them without trouble.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextUtil.h"
#include "manager/SourceFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the piece sizes; the rest is the text.
  const size_t stepA = 1 + data[0] % 17, stepB = 1 + data[1] % 251;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

  std::vector<std::string> lines;
  vx::TRecordTally tallies[] = {vx::TRecordTally("a"), vx::TRecordTally("b"), vx::TRecordTally("c"),
                                vx::TRecordTally("d"), vx::TRecordTally("e")};
  bool (*const kinds[])(std::string_view) = {vx::IsLotwLine, vx::IsFccEnLine, vx::IsRacLine, vx::IsRdaLine,
                                             vx::IsSpecialCallRow};
  bool refused[5] = {};
  vx::TLineSplitter split(
      [&](std::string_view line) {
        lines.emplace_back(line);
        for (int k = 0; k < 5; ++k) {
          if (refused[k]) continue;
          try {
            tallies[k].Add(kinds[k](line));
          } catch (const vx::ESourceFormat&) {
            refused[k] = true;
          }
        }
      },
      size_t(1) << 20, "a fuzzed file");
  size_t at = 0;
  for (bool odd = false; at < text.size(); odd = !odd) {
    const size_t n = std::min(odd ? stepB : stepA, text.size() - at);
    split.Feed(text.substr(at, n));
    at += n;
  }
  split.Finish();

  const std::vector<std::string_view> whole = vx::SplitLines(text);
  if (whole.size() != lines.size()) __builtin_trap();
  for (size_t i = 0; i < whole.size(); ++i)
    if (whole[i] != lines[i]) __builtin_trap();
  for (int k = 0; k < 5; ++k) {
    if (refused[k]) continue;
    if (tallies[k].Lines() != lines.size()) __builtin_trap();
    try {
      tallies[k].Finish();
    } catch (const vx::ESourceFormat&) {
    }
  }
  return 0;
}
