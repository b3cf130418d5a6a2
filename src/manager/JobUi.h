// What a job shows its user. The headless program prints; the window shows a
// status panel and message boxes. Importers only ever talk to this.
#pragma once

#include <string_view>

namespace vx {

enum class TStatusColour { scNormal, scRed, scGreen };

class TJobUi {
 public:
  virtual ~TJobUi() = default;
  // The status line ("Unzipping...", "Processing data...", "DONE"); a window
  // repaints at once, since the importers block its thread.
  virtual void Status(std::string_view text, TStatusColour colour = TStatusColour::scNormal) = 0;
  // An information message with an OK button (the count messages).
  virtual void Information(std::string_view text) = 0;
  // An error box.
  virtual void Error(std::string_view text) = 0;
};

// Swallows everything; for tests and benchmarks that only want the files.
class TSilentUi : public TJobUi {
 public:
  void Status(std::string_view, TStatusColour) override {}
  void Information(std::string_view) override {}
  void Error(std::string_view) override {}
};

}  // namespace vx
