// IWindowFace: what the window model needs of a front end that shows it.
// The model keeps every value; the face only shows what Show names, moves
// its frame and asks the user. Texts are Windows-1252.
#pragma once

#include <cstdint>
#include <string>

namespace vx {

// What changed, for Show. A face may redraw more than it is told.
enum TWindowPart : uint32_t {
  wpCall = 1u << 0,       // the call-sign box and its colour
  wpDx = 1u << 1,         // the DX frame
  wpHome = 1u << 2,       // the home frame
  wpInputs = 1u << 3,     // path, power, Use Kp, grid, map style, antennas
  wpSolar = 1u << 4,      // month, SSN and Kp with their colours
  wpOptions = 1u << 5,    // Plot MUF, Mark Best Hour, Show Sun, Plot Path
  wpChart = 1u << 6,      // the chart's picture
  wpMap = 1u << 7,        // the map's picture, band and hour
  wpStatus = 1u << 8,     // the indicator and the status bar's words
  wpTitle = 1u << 9,      // the caption
  wpPage = 1u << 10,      // the tab shown
  wpToggles = 1u << 11,   // the monitor and map-program buttons
  wpEngine = 1u << 12,    // which engine answers, the antenna lists
  wpReadouts = 1u << 13,  // the values under the mouse (status panels 1..5)
  wpEverything = 0xFFFFFFFFu,
};

enum class TAnswerKind { akYes, akNo, akCancel };

class IWindowFace {
 public:
  virtual ~IWindowFace() = default;

  virtual void Show(uint32_t parts) = 0;

  // The window's frame.
  virtual bool FrameVisible() const = 0;
  virtual void SetFrameVisible(bool on) = 0;
  virtual int FrameLeft() const = 0;
  virtual int FrameTop() const = 0;
  virtual void MoveFrame(int left, int top) = 0;
  virtual void RaiseFrame() = 0;  // restore if minimised, raise, activate
  virtual void FocusCall() = 0;

  // The user.
  virtual void ShowError(const std::string& text) = 0;
  virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
  virtual TAnswerKind AskYesNoCancel(const std::string& title, const std::string& text) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // A problem nobody is there to see (the frame is hidden).
  virtual void Log(const std::string& /*text*/) {}

  // A batch's progress dialog: range, position, modal showing and closing.
  virtual void StartProgress(int /*max*/) {}
  virtual void MoveProgress(int /*position*/) {}
  virtual void OpenProgress() {}
  virtual void CloseProgress() {}
};

// The face of a model nobody sees (vantor-cli serve): it keeps the frame's
// values and says nothing; a question is answered No.
class THiddenFace final : public IWindowFace {
 public:
  bool Visible = false;
  int Left = 0, Top = 0;
  int Raised = 0;
  std::string LastError;

  void Show(uint32_t) override {}
  bool FrameVisible() const override { return Visible; }
  void SetFrameVisible(bool on) override { Visible = on; }
  int FrameLeft() const override { return Left; }
  int FrameTop() const override { return Top; }
  void MoveFrame(int left, int top) override { Left = left, Top = top; }
  void RaiseFrame() override { ++Raised; }
  void FocusCall() override {}
  void ShowError(const std::string& text) override { LastError = text; }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  TAnswerKind AskYesNoCancel(const std::string&, const std::string&) override { return TAnswerKind::akNo; }
  void OpenUrl(const std::string&) override {}
  void Log(const std::string& text) override { LastError = text; }
};

}  // namespace vx
