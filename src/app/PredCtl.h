// TPredictionController: the logic between the user's inputs and the engine.
// It decides when a prediction runs (never because an input changed), takes
// a snapshot of the inputs for each job, serves maps from the area cache,
// reacts to the engine's events, drives the status indicator and the window
// caption, and queues the automation events. It knows no widget: the window,
// vantor-cli and the automation service reach it through IPredictionView.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "common/Location.h"
#include "engine/Antennas.h"
#include "engine/VoaEng.h"
#include "views/PreComp.h"

namespace vx {

class TCallParser;

// The main window's tabs, in their order.
enum TPage : int { pgParams = 0, pgChart = 1, pgMap = 2, pgSettings = 3, pgAnt = 4 };

// Automation event codes, in the order clients number them.
enum TClientEvent : int { ceExitRequest = 0, ceError = 1, ceMapChange = 2, ceChartChange = 3 };

// The inputs a prediction reads, in the domain's terms, as the front end
// holds them at the moment it starts.
struct TPredictionInputs {
  TLocation Home{-79 * 180, 44 * 180};  // whole degrees x 180
  TLocation Dx;                         // whole degrees x 180
  bool LongPath = false;
  int Year = 0;   // 0 and 0: no month is shown
  int Month = 0;  // 1..12
  int Ssn = 0;
  int Kp = 3;
  bool UseKp = false;
  int TxPower = 100;
  // Antenna model file names per band, as the settings file stores them;
  // every antenna folder holds the isotropic one.
  std::array<std::string, kBandCount> TxAntenna = AllBands(kIsotropeFile);
  std::array<std::string, kBandCount> RxAntenna = AllBands(kIsotropeFile);
  int GridSize = 16;  // points per side: 61, 31 or 16
  int MapBand = 3;
  int MapHour = 0;

  static std::array<std::string, kBandCount> AllBands(const std::string& file) {
    std::array<std::string, kBandCount> all;
    all.fill(file);
    return all;
  }
};

// What the controller needs of its front end. Every call arrives on the
// thread that owns the controller.
class IPredictionView {
 public:
  virtual ~IPredictionView() = default;
  virtual TPredictionInputs ReadInputs() const = 0;
  // The call-sign box and the DX frame's text form (for the caption).
  virtual std::string CallText() const = 0;
  virtual std::string DxText() const = 0;
  // Puts a point into the DX frame (whole degrees; kNoLocationPoint empties it).
  virtual void SetDxPoint(TLocation point) = 0;
  // Where the point just set comes from ("country centre", a licence in a
  // callbook; empty: nowhere), and notes on callbooks that could not be used.
  virtual void SetDxSource(const std::string& /*source*/, const std::string& /*notes*/) {}
  virtual void ClearCallText() = 0;
  virtual void SetCallUnknown(bool red) = 0;
  virtual void SetTitle(const std::string& caption) = 0;
  virtual void StatusChanged() = 0;  // read Status() again
  virtual void RepaintChart() = 0;   // the chart reads PointResults()
  virtual void ShowMap(const TVoaGrid& grid) = 0;
  virtual void FollowClock() = 0;  // the map follows the UTC hour
  virtual void FocusCallEdit() = 0;
  // Events were queued: drain them (TakeClientEvents) once the current
  // handler has returned.
  virtual void ClientEventsQueued() = 0;
};

// The states of the status indicator.
enum TStatusState : int { stReady = 0, stFailed = 1, stComputing = 2, stDone = 4 };

// A batch shows on the indicator as any other run.
inline TStatusState StatusOfBatch(TBatchState state) {
  switch (state) {
    case TBatchState::bsComputing: return stComputing;
    case TBatchState::bsFailed: return stFailed;
    case TBatchState::bsDone: break;
  }
  return stDone;
}

// The status indicator: a strip of five 15-pixel frames, and what the
// status bar says in words (empty: nothing to say).
struct TStatusIndicator {
  TStatusState State = stReady;
  int StripLeft = 0;  // 0, -15, -30, -45 or -60
  std::string Hint;
  bool HandCursor = false;
  std::string Message;
  int Frame() const { return -StripLeft / 15; }
};

class TPredictionController {
 public:
  // The engine is the controller's; cacheFolder ends with a separator. An
  // empty cacheFolder turns the area cache off (maps are always computed).
  TPredictionController(std::unique_ptr<TVoaEngine> engine, std::string cacheFolder, IPredictionView& view);
  ~TPredictionController();
  TPredictionController(const TPredictionController&) = delete;
  TPredictionController& operator=(const TPredictionController&) = delete;

  TVoaEngine& Engine() { return *Engine_; }
  const TVoaEngine& Engine() const { return *Engine_; }
  const TStatusIndicator& Status() const { return Status_; }
  TPage ActivePage() const { return Page_; }

  // Optional collaborators, owned by the front end.
  void SetCallParser(TCallParser* parser) { Parser_ = parser; }
  // The folder whose callbooks place a looked-up call; empty: none.
  void SetCallbookFolder(std::string folder) { CallbookFolder_ = std::move(folder); }

  // Operations.
  void ComputeChart();
  void ComputeMap();
  void ShowMap();
  void CancelPrediction();
  void SyncEngineInputs();
  // A failure's message names the engine's status and what it could not do.
  void SetStatus(TStatusState state);
  // Words for the status bar until the next run or message.
  void SetMessage(const std::string& text);
  void UpdateTitle();
  void NotifyClients(TClientEvent code);
  // The queued events, oldest first; the queue is empty afterwards.
  std::deque<TClientEvent> TakeClientEvents();

  // Event handlers of the window.
  void PageChanged(TPage page);
  // A tab was shown without its change handling (by an automation client):
  // the caption follows, nothing is computed.
  void SelectPage(TPage page);
  void CallEditChange(const std::string& text);
  void CallEditEnter();
  void CoordinatesChanged(bool dxFrame);
  void StatusImageClick();
  void AnimateStatus();            // every 150 ms
  void ClockTick(double utcDays);  // every 1000 ms
  void SpaceWeatherChanged();      // the monitor reported new values

  // The Kp rule: the SSN that reaches the engine.
  static int32_t SsnAfterKp(int ssn, int kp, bool useKp);

 private:
  void VoaEngine1Predict();
  void VoaEngine1Error();
  void SetStatus(TStatusState state, std::string message);
  // A chart without a DX position is not computed at all.
  void RefuseChart();
  // The engine's status in words, or what it could not do when it said.
  std::string FailureText() const;

  std::unique_ptr<TVoaEngine> Engine_;
  std::string CacheFolder_;
  IPredictionView& View_;
  TCallParser* Parser_ = nullptr;
  std::string CallbookFolder_;
  TStatusIndicator Status_;
  TPage Page_ = pgParams;
  bool InputsGuard_ = false;
  bool ChartFailed_ = false;  // the last chart run failed or was refused: no chart to name
  int LastMinute_ = -1;
  std::deque<TClientEvent> Events_;
};

}  // namespace vx
