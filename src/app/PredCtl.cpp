#include "app/PredCtl.h"

#include <cmath>
#include <utility>

#include "app/MapResolution.h"
#include "app/PositionLookup.h"
#include "common/DayCount.h"
#include "common/TextUtil.h"
#include "refdata/CallParser.h"
#include "refdata/DxPlace.h"

namespace vx {

namespace {

constexpr char kComputingHint[] = "Computing...  Click here to cancel";
constexpr char kProgramCaption[] = " Vantor " VANTOR_VERSION_TEXT;

}  // namespace

TPredictionController::TPredictionController(std::unique_ptr<TVoaEngine> engine, std::string cacheFolder,
                                             IPredictionView& view)
    : Engine_(std::move(engine)), CacheFolder_(std::move(cacheFolder)), View_(view) {
  Engine_->OnPredict = [this](TVoaEngine&) { VoaEngine1Predict(); };
  Engine_->OnError = [this](TVoaEngine&) { VoaEngine1Error(); };
}

TPredictionController::~TPredictionController() {
  Engine_->CancelPrediction();
  Engine_->OnPredict = Engine_->OnError = nullptr;
}

// ---- rules ----

int32_t TPredictionController::SsnAfterKp(int ssn, int kp, bool useKp) {
  if (!useKp) return ssn;
  // The factor is rounded to a whole number before it multiplies: the SSN
  // passes for Kp up to 7 and drops to 0 from Kp 8 on.
  const double factor = 1.0 - 0.1 * std::max(0, kp - 3);
  return RoundToInt32(factor) * ssn;
}

// ---- operations ----

void TPredictionController::SyncEngineInputs() {
  const TPredictionInputs in = View_.ReadInputs();
  TVoaInputs e = Engine_->Inputs();
  // A size the engine does not compute (no resolution chosen) leaves its own.
  if (ResolutionOfGridSize(in.GridSize) >= 0) e.GridSize = in.GridSize;
  e.TxLon = in.Home.X;
  e.TxLat = in.Home.Y;
  // Maps need no DX position: without one the engine gets 0 degrees, as
  // an empty frame has always read.
  const TLocation dx = HasLocation(in.Dx) ? in.Dx : TLocation{0, 0};
  e.RxLon = dx.X;
  e.RxLat = dx.Y;
  e.LongPath = in.LongPath;
  e.TxPower = in.TxPower;
  e.Hour = in.MapHour;
  e.Band = in.MapBand;
  e.Ssn = SsnAfterKp(in.Ssn, in.Kp, in.UseKp);
  e.Year = in.Year;
  e.Month = in.Month;
  // A name the antenna list lacks becomes no position in it, which the
  // engine refuses as "not in the antenna list".
  const TAlStringList& antennas = Engine_->AntennaFiles();
  for (int b = 0; b < kBandCount; ++b) {
    e.TxAntenna[b] = antennas.IndexOf(in.TxAntenna[size_t(b)]);
    e.RxAntenna[b] = antennas.IndexOf(in.RxAntenna[size_t(b)]);
  }
  Engine_->SetInputs(e);
}

void TPredictionController::ComputeChart() {
  if (!HasLocation(View_.ReadInputs().Dx)) {
    RefuseChart();
    return;
  }
  CancelPrediction();
  Engine_->ClearResults();
  View_.RepaintChart();
  ChartFailed_ = false;
  UpdateTitle();
  SyncEngineInputs();
  SetStatus(stComputing);
  Engine_->RunPointPrediction();
}

void TPredictionController::ComputeMap() {
  CancelPrediction();
  SyncEngineInputs();
  if (!CacheFolder_.empty() && Engine_->LoadAreaCache(CacheFolder_)) {
    ShowMap();
    SetStatus(stDone);
    return;
  }
  SetStatus(stComputing);
  Engine_->RunAreaPrediction();
}

void TPredictionController::ShowMap() {
  View_.ShowMap(Engine_->AreaGrid());
  NotifyClients(ceMapChange);
}

void TPredictionController::RefuseChart() {
  // A job for earlier inputs must not finish under this request; an idle
  // engine keeps its status, since nothing ran.
  if (Engine_->Running()) CancelPrediction();
  Engine_->ClearResults();
  View_.RepaintChart();
  ChartFailed_ = true;
  UpdateTitle();
  const std::string call(Trim(View_.CallText()));
  SetStatus(stFailed, call.empty() ? "No chart: no DX position. Type a call sign or the DX coordinates."
                                   : "No chart: " + call + " is an unknown call, there is no DX position.");
  // The engine had no part in this: its status would name an older run.
  Status_.Hint = Status_.Message;
  View_.StatusChanged();
  NotifyClients(ceError);
}

void TPredictionController::CancelPrediction() { Engine_->CancelPrediction(); }

std::string TPredictionController::FailureText() const {
  const std::string& detail = Engine_->FailureDetail();
  return detail.empty() || Engine_->Status() == vsCancelled ? std::string(Engine_->StatusText()) : detail;
}

void TPredictionController::SetStatus(TStatusState state) {
  SetStatus(state, state == stFailed ? FailureText() : std::string());
}

void TPredictionController::SetMessage(const std::string& text) {
  Status_.Message = text;
  View_.StatusChanged();
}

void TPredictionController::SetStatus(TStatusState state, std::string message) {
  Status_.State = state;
  Status_.Message = std::move(message);
  Status_.HandCursor = state == stComputing;
  switch (state) {
    case stReady:
      Status_.StripLeft = 0;
      Status_.Hint = Engine_->StatusText();
      break;
    case stFailed:
      Status_.StripLeft = -15;
      Status_.Hint = Engine_->StatusText();
      break;
    case stComputing:
      Status_.StripLeft = -60;
      Status_.Hint = kComputingHint;
      break;
    case stDone:
      Status_.StripLeft = 0;
      Status_.Hint = "Done";
      break;
  }
  View_.StatusChanged();
}

void TPredictionController::AnimateStatus() {
  int& l = Status_.StripLeft;
  if (l == 0 || l == -15) return;
  l += 15;
  if (l >= -29) l = -60;
  View_.StatusChanged();
}

void TPredictionController::UpdateTitle() {
  // The program's own caption names the engine that answers.
  const std::string programCaption =
      std::string(kProgramCaption) + (Engine_->Builtin() ? " (built-in engine)" : " (voacapl)");
  std::string caption;
  switch (Page_) {
    case pgChart: {
      if (ChartFailed_) {
        caption = programCaption;
        break;
      }
      std::string target = View_.CallText();
      if (target.empty()) target = View_.DxText();
      caption = std::string(" SNR, ") + (View_.ReadInputs().LongPath ? "long path" : "short path") + " to " + target;
      break;
    }
    case pgMap: caption = " S/N Ratio Prediction Map"; break;
    default: caption = programCaption;
  }
  View_.SetTitle(caption);
}

void TPredictionController::NotifyClients(TClientEvent code) {
  Events_.push_back(code);
  View_.ClientEventsQueued();
}

std::deque<TClientEvent> TPredictionController::TakeClientEvents() { return std::exchange(Events_, {}); }

// ---- event handlers ----

void TPredictionController::PageChanged(TPage page) {
  Page_ = page;
  UpdateTitle();
  switch (page) {
    case pgParams: View_.FocusCallEdit(); break;
    case pgChart: ComputeChart(); break;
    case pgMap: ComputeMap(); break;
    default: break;
  }
}

void TPredictionController::SelectPage(TPage page) {
  Page_ = page;
  UpdateTitle();
}

void TPredictionController::CallEditChange(const std::string& text) {
  if (InputsGuard_) return;
  InputsGuard_ = true;
  TDxPlace place;
  if (Parser_) {
    Parser_->Parse(text);
    place = ResolveDxPlace(text, Parser_->Results, CallbookFolder_);
  }
  const bool found = HasLocation(place.Point);
  View_.SetDxPoint(place.Point);
  std::string notes;
  for (const std::string& n : place.Notes) notes += (notes.empty() ? "" : "\n") + n;
  View_.SetDxSource(place.Source, notes);
  View_.SetCallUnknown(!found && Trim(text).size() > 1);
  InputsGuard_ = false;
}

void TPredictionController::CallEditEnter() { PageChanged(pgChart); }

void TPredictionController::CoordinatesChanged(bool dxFrame) {
  if (InputsGuard_) return;
  InputsGuard_ = true;
  if (dxFrame) View_.ClearCallText();
  InputsGuard_ = false;
}

void TPredictionController::StatusImageClick() {
  if (!Status_.HandCursor) return;
  CancelPrediction();
  VoaEngine1Error();
}

void TPredictionController::ClockTick(double utcDays) {
  const double minutes = std::floor(utcDays * 1440.0);
  const int minute = int(std::fmod(minutes, 65536.0));
  if (minute == LastMinute_) return;
  LastMinute_ = minute;
  View_.RepaintChart();
  View_.FollowClock();
}

void TPredictionController::SpaceWeatherChanged() {
  if (Page_ == pgMap) ComputeMap();
}

void TPredictionController::VoaEngine1Predict() {
  SetStatus(stDone);
  if (Engine_->AreaMode()) {
    if (!CacheFolder_.empty()) Engine_->SaveAreaCache(CacheFolder_);
    ShowMap();
  } else {
    View_.RepaintChart();
    NotifyClients(ceChartChange);
  }
}

void TPredictionController::VoaEngine1Error() {
  const bool area = Engine_->AreaMode();
  SetStatus(stFailed, (area ? "No map: " : "No chart: ") + FailureText());
  if (!area) {
    ChartFailed_ = true;
    UpdateTitle();
  }
  NotifyClients(ceError);
  Engine_->ClearResults();
  if (area) ShowMap();
}

}  // namespace vx
