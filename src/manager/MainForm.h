// TMainForm: the manager's one dialog. It downloads the source named on the
// command line, runs its importer on the body and remembers whether the job
// reached "DONE" (the program's exit code).
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "manager/Job.h"
#include "manager/JobUi.h"
#include "manager/UrlSettings.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QFrame;

namespace vx {

class TDownloader;
class TStatusLabel;

class TMainForm : public QDialog, public TJobUi {
  Q_OBJECT
 public:
  // settingsFile: the INI file Load() reads and the form writes when it goes.
  TMainForm(int source, std::string settingsFile, std::string referenceFolder, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Reads the settings and the lookup lists the job needs; once, before show().
  void Load();

  // Message boxes; tests replace them so that nothing waits for a click.
  enum class TMessageKind { mkInformation, mkError };
  std::function<void(TMessageKind, const QString&)> ShowMessage;

  // The job's result: 0 when it reached "DONE", else 1.
  int ExitCode() const { return Job_->ExitCode(); }
  bool Done() const { return Job_->Done(); }

  // Download clicked; with ctrl held on the FCC source the index is rebuilt
  // from the detail file already in the reference folder instead.
  void DownloadBtnClick(bool ctrlHeld);
  void AbortBtnClick();
  void CloseBtnClick();

  TDownloader& Dl() { return *Dl_; }
  const TUrlSettings& Urls() const { return Urls_; }

  // The whole status text (the label may show it shortened).
  QString StatusText() const;

  // TJobUi
  void Status(std::string_view text, TStatusColour colour = TStatusColour::scNormal) override;
  void Information(std::string_view text) override;
  void Error(std::string_view text) override;

  // The controls, public for tests and for the program's keyboard handling.
  QLabel* Label1;
  QLineEdit* UrlEdit;
  QFrame* StatusPanel;
  TStatusLabel* StatusLabel;
  QProgressBar* ProgressBar;
  QPushButton* DownloadBtn;
  QPushButton* AbortBtn;
  QPushButton* CloseBtn;

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int r) override;

 private:
  void DlData();
  void DlError();
  void DlSuccess();
  void SetButtons(bool download, bool abort, bool close);
  // False (with the reason in red) when the job lacks a list it needs.
  bool InputsReady();
  void SaveSettings();

  int Source_;
  std::string SettingsFile_;
  TUrlSettings Urls_;
  std::unique_ptr<TKestrixJob> Job_;
  TDownloader* Dl_;
  bool Saved_ = false;
};

}  // namespace vx
