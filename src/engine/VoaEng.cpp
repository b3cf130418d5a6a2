#include "engine/VoaEng.h"

#include "common/FileUtil.h"
#include "engine/Antennas.h"
#include "engine/Decks.h"
#include "engine/VoaParse.h"

namespace vx {

static std::string NotFoundProgramText(const TVoacapSetup& setup) {
  return setup.Program.empty() ? "The VOACAP program (voacapl) was not found on the PATH."
                               : "The VOACAP program " + setup.Program + " was not found.";
}

TVoaEngine::TVoaEngine(std::unique_ptr<IProcessRunner> runner, const TVoacapSetup& setup)
    : Process_(std::move(runner)) {
  GridSize = 16;
  Installation_ = LocateVoacap(setup);
  VoacapFolder = Installation_.Folder;
  VoacapProgram = Installation_.Program;

  if (!DirectoryExists(VoacapFolder)) {
    Status = vsNotFound;
    NotFoundDetail_ = VoacapProgram.empty()
                          ? NotFoundProgramText(setup)
                          : "The VOACAP data folder " + VoacapFolder + " is missing. Run makeitshfbc once to create it.";
  } else {
    AntennaFolder = VoacapFolder + TVoacapFiles::AntennaFolder;
    if (!MakeDirectories(AntennaFolder) || !MakeDirectories(VoacapFolder + TVoacapFiles::AreaFolder)) {
      Status = vsNotFound;
    } else if (VoacapProgram.empty()) {
      Status = vsNotFound;
      NotFoundDetail_ = NotFoundProgramText(setup);
    } else {
      auto version = ReadWholeFile(VoacapFolder + TVoacapFiles::VersionFile, 4096);
      Status = version ? CheckVersionText(*version) : vsNotFound;
    }
  }

  if (Process_) Process_->OnFinished = [this](uint32_t code) { ProcessFinished(code); };
  if (Status == vsReady) LoadAntennaList();
}

TVoaEngine::~TVoaEngine() {
  if (Process_) {
    CancelPrediction();
    Process_->OnFinished = nullptr;
  }
}

void TVoaEngine::ClearResults() {
  TPointResults::ClearResults();
  AreaGrid.clear();
}

bool TVoaEngine::Running() const { return Process_ && Process_->Running(); }

void TVoaEngine::CancelPrediction() {
  Status = vsCancelled;
  if (Process_) Process_->Terminate();
}

void TVoaEngine::RunPointPrediction() { RunJob(false); }
void TVoaEngine::RunAreaPrediction() { RunJob(true); }

std::string TVoaEngine::DeckFileName() const {
  return VoacapFolder + (AreaMode ? TVoacapFiles::AreaDeck : TVoacapFiles::PointDeck);
}

std::string TVoaEngine::OutputFileName() const {
  return VoacapFolder + (AreaMode ? TVoacapFiles::AreaOutput : TVoacapFiles::PointOutput);
}

void TVoaEngine::RunJob(bool area) {
  CancelPrediction();
  Status = vsReady;
  AreaMode = area;
  ClearResults();
  if (!(area ? WriteAreaDeck() : WritePointDeck())) {
    Status = vsDeckError;
    Raise(OnError);
    return;
  }
  // An output left by a cancelled job must not pass for this job's result
  // when the program ends without writing one.
  RemoveFile(OutputFileName());
  if (!Process_ || Installation_.Program.empty()) {
    Status = vsExecError;
    Raise(OnError);
    return;
  }
  Process_->Run(VoacapCommand(Installation_, area));
}

void TVoaEngine::ProcessFinished(uint32_t exitCode) {
  RemoveFile(DeckFileName());
  if (exitCode != 0) {
    Status = vsExecError;
  } else if (AreaMode) {
    ParseAreaOutput();
  } else {
    ParsePointOutput();
  }
  RemoveFile(OutputFileName());
  if (Status == vsReady)
    Raise(OnPredict);
  else if (Status != vsCancelled)
    Raise(OnError);
}

void TVoaEngine::Raise(const TNotifyEvent& event) {
  if (event) event(*this);
}

bool TVoaEngine::WritePointDeck() {
  auto deck = BuildPointDeck(*this, AntennaFiles);
  return deck && WriteWholeFile(VoacapFolder + TVoacapFiles::PointDeck, *deck);
}

bool TVoaEngine::WriteAreaDeck() {
  auto deck = BuildAreaDeck(*this, AntennaFiles);
  return deck && WriteWholeFile(VoacapFolder + TVoacapFiles::AreaDeck, *deck);
}

// Outputs of a few MB at most; anything far larger is not the program's.
static constexpr size_t kMaxOutputBytes = size_t(64) << 20;

void TVoaEngine::ParsePointOutput() {
  const std::string file = VoacapFolder + TVoacapFiles::PointOutput;
  if (!FileExists(file)) {
    Status = vsExecError;
    return;
  }
  auto text = ReadWholeFile(file, kMaxOutputBytes);
  Status = text ? ParsePointText(*text, *this) : vsOutputError;
}

void TVoaEngine::ParseAreaOutput() {
  const std::string file = VoacapFolder + TVoacapFiles::AreaOutput;
  if (!FileExists(file)) {
    Status = vsExecError;
    return;
  }
  auto text = ReadWholeFile(file, kMaxOutputBytes);
  Status = text ? ParseAreaText(*text, AreaGrid) : vsOutputError;
}

void TVoaEngine::LoadAntennaList() {
  if (!vx::LoadAntennaList(AntennaFolder, AntennaFiles, AntennaNames)) Status = vsAntennaError;
}

void TVoaEngine::ImportAntennas(const std::string& folder) {
  if (Status != vsReady) return;
  if (!vx::ImportAntennas(folder, AntennaFolder, AntennaFiles, AntennaNames)) Status = vsAntennaError;
}

TVoaEngine::TStatusMessage TVoaEngine::StatusMessageBox() const {
  switch (Status) {
    case vsNotFound:
      return {true, "VOACAP v.08.1124W is required for this program to run.\rOpen the VOACAP download page?",
              NotFoundDetail_};
    case vsTooOld:
      return {true, "Your version of VOACAP is too old, please upgrade.\rOpen the VOACAP download page?", ""};
    default:
      return {false, StatusText(), ""};
  }
}

}  // namespace vx
