// TVoaEngine: drives the outside propagation program. It checks the
// installation once, then runs one job at a time: writes a deck, runs the
// program through its process runner, reads the output into its result
// arrays and reports through OnPredict or OnError on the runner's thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Locator.h"
#include "engine/ProcessRunner.h"
#include "engine/VoaTypes.h"
#include "refdata/AlStrLst.h"

namespace vx {

class TVoaEngine : public TVoaInputs, public TPointResults {
 public:
  using TNotifyEvent = std::function<void(TVoaEngine& sender)>;

  // Checks the installation; never fails: the outcome is in Status.
  TVoaEngine(std::unique_ptr<IProcessRunner> runner, const TVoacapSetup& setup = {});
  ~TVoaEngine();
  TVoaEngine(const TVoaEngine&) = delete;
  TVoaEngine& operator=(const TVoaEngine&) = delete;

  TVoaStatus Status = vsReady;
  std::string VoacapFolder;   // data folder with its trailing separator; "" when not found
  std::string VoacapProgram;  // the executable
  std::string AntennaFolder;
  TAlStringList AntennaFiles;
  std::vector<std::string> AntennaNames;
  std::string DownloadPage = kDownloadPage;
  bool AreaMode = false;
  TVoaGrid AreaGrid;

  TNotifyEvent OnPredict;
  TNotifyEvent OnError;

  void RunPointPrediction();
  void RunAreaPrediction();
  void CancelPrediction();
  void ClearResults();
  bool Running() const;

  const char* StatusText() const { return StatusMessage(Status); }

  // What the status message box says for the current status.
  struct TStatusMessage {
    bool Warning;       // a Yes/No warning that offers the download page
    std::string Text;   // lines separated by "\r"
    std::string Detail; // an extra hint for the user, may be empty
  };
  TStatusMessage StatusMessageBox() const;

  void LoadAntennaList();
  void ImportAntennas(const std::string& folder);

  // The deck and output steps of a job, exposed for the command-line front
  // end and for tests.
  bool WritePointDeck();
  void ParsePointOutput();
  bool WriteAreaDeck();
  void ParseAreaOutput();

  std::string DeckFileName() const;
  std::string OutputFileName() const;

 private:
  void RunJob(bool area);
  void ProcessFinished(uint32_t exitCode);
  void Raise(const TNotifyEvent& event);

  std::unique_ptr<IProcessRunner> Process_;
  TVoacapInstallation Installation_;
  std::string NotFoundDetail_;
};

}  // namespace vx
