#include "manager/MainForm.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Ini.h"
#include "common/QtText.h"
#include "common/StatusLabel.h"
#include "manager/DLoader.h"
#include "manager/Sources.h"

namespace vx {

TMainForm::TMainForm(int source, std::string settingsFile, std::string referenceFolder, QWidget* parent)
    : QDialog(parent), Source_(source), SettingsFile_(std::move(settingsFile)) {
  Job_ = std::make_unique<TKestrixJob>(source, std::move(referenceFolder), *this);
  Dl_ = new TDownloader(this);
  Dl_->OnData = [this](TDownloader&) { DlData(); };
  Dl_->OnError = [this](TDownloader&) { DlError(); };
  Dl_->OnSuccess = [this](TDownloader&) { DlSuccess(); };

  ShowMessage = [this](TMessageKind kind, const QString& text) {
    if (kind == TMessageKind::mkInformation)
      QMessageBox::information(this, windowTitle(), text);
    else
      QMessageBox::critical(this, windowTitle(), text);
  };

  // 431 x 123 at first, the controls where they always were; the window
  // may be made larger, and the address and the status grow with it.
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
  Label1 = new QLabel("URL:", this);
  UrlEdit = new QLineEdit(this);
  UrlEdit->setMinimumHeight(21);
  StatusPanel = new QFrame(this);
  StatusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StatusPanel->setMinimumHeight(25);
  auto* panelLayout = new QHBoxLayout(StatusPanel);
  panelLayout->setContentsMargins(2, 2, 2, 2);
  StatusLabel = new TStatusLabel(StatusPanel);
  StatusLabel->setAlignment(Qt::AlignCenter);
  ProgressBar = new QProgressBar(StatusPanel);
  ProgressBar->setRange(0, 100);
  ProgressBar->setTextVisible(false);
  panelLayout->addWidget(StatusLabel);
  panelLayout->addWidget(ProgressBar);
  DownloadBtn = new QPushButton("Download", this);
  AbortBtn = new QPushButton("Abort", this);
  CloseBtn = new QPushButton("Close", this);
  for (QPushButton* b : {DownloadBtn, AbortBtn, CloseBtn}) {
    b->setAutoDefault(false);
    b->setFixedSize(75, 25);
  }

  auto* urlRow = new QHBoxLayout;
  urlRow->setSpacing(7);
  urlRow->addWidget(Label1);
  urlRow->addWidget(UrlEdit, 1);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->setSpacing(9);
  buttonRow->addStretch(1);
  buttonRow->addWidget(DownloadBtn);
  buttonRow->addWidget(AbortBtn);
  buttonRow->addWidget(CloseBtn);
  buttonRow->addSpacing(14);
  auto* form = new QVBoxLayout(this);
  form->setContentsMargins(12, 12, 14, 10);
  form->setSpacing(11);
  form->addLayout(urlRow);
  form->addWidget(StatusPanel, 1);
  form->addLayout(buttonRow);
  resize(431, 123);

  connect(DownloadBtn, &QPushButton::clicked, this,
          [this] { DownloadBtnClick(QApplication::keyboardModifiers() & Qt::ControlModifier); });
  connect(AbortBtn, &QPushButton::clicked, this, [this] { AbortBtnClick(); });
  connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseBtnClick(); });
}

void TMainForm::Load() {
  Job_->LoadLookupLists();
  Urls_.Read(TIniFile::Load(SettingsFile_));
}

TMainForm::~TMainForm() {
  Dl_->OnData = Dl_->OnError = Dl_->OnSuccess = nullptr;
  Dl_->Abort();
  SaveSettings();
}

void TMainForm::SaveSettings() {
  if (Saved_) return;
  Saved_ = true;
  TIniFile ini = TIniFile::Load(SettingsFile_);
  Urls_.Write(ini);
  // Only touch the file when there is something to keep.
  if (ini.SectionExists("URL")) ini.UpdateFile();
}

void TMainForm::showEvent(QShowEvent* e) {
  setWindowTitle(FromCp1252(SourceCaption(Source_)));
  UrlEdit->setText(FromCp1252(Urls_.Urls[static_cast<size_t>(Source_)]));
  ProgressBar->hide();
  // Say at once when a list the job needs is missing (the IOTA lookup
  // lists, the FCC ZIP list) rather than after a download that cannot be used.
  if (InputsReady()) Status("Ready");
  SetButtons(true, false, true);
  if (screen()) move(screen()->availableGeometry().center() - rect().center());
  QDialog::showEvent(e);
}

// Esc, the close box and Close all end here: a running transfer stops first.
void TMainForm::done(int r) {
  Dl_->Abort();
  SaveSettings();
  QDialog::done(r);
}

void TMainForm::SetButtons(bool download, bool abort, bool close) {
  DownloadBtn->setEnabled(download);
  AbortBtn->setEnabled(abort);
  CloseBtn->setEnabled(close);
}

bool TMainForm::InputsReady() {
  const std::string missing = Job_->MissingInput();
  if (missing.empty()) return true;
  Status(missing, TStatusColour::scRed);
  return false;
}

QString TMainForm::StatusText() const { return StatusLabel->FullText(); }

void TMainForm::Status(std::string_view text, TStatusColour colour) {
  StatusLabel->SetFullText(FromCp1252(text));
  const char* style = colour == TStatusColour::scRed     ? "color: red;"
                      : colour == TStatusColour::scGreen ? "color: green;"
                                                         : "";
  StatusLabel->setStyleSheet(style);
  StatusLabel->show();
  // Importers block the thread: show the text now.
  StatusLabel->repaint();
}

void TMainForm::Information(std::string_view text) { ShowMessage(TMessageKind::mkInformation, FromCp1252(text)); }
void TMainForm::Error(std::string_view text) { ShowMessage(TMessageKind::mkError, FromCp1252(text)); }

void TMainForm::DownloadBtnClick(bool ctrlHeld) {
  Urls_.Urls[static_cast<size_t>(Source_)] = ToCp1252(UrlEdit->text().trimmed());
  // Nothing is fetched that could not be used; the user may put the list
  // in place and try again.
  if (!InputsReady()) return;
  SetButtons(false, true, false);
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  StatusLabel->hide();
  ProgressBar->show();
  if (ctrlHeld && Source_ == srFcc) {
    ProgressBar->hide();
    Status("Processing data...");
    SetButtons(false, false, false);
    Job_->Reprocess();
    if (Job_->Done()) SetButtons(true, false, true);
    return;
  }
  Dl_->Download(Urls_.Urls[static_cast<size_t>(Source_)]);
}

void TMainForm::AbortBtnClick() {
  Dl_->Abort();
  ProgressBar->hide();
  Status("Aborted", TStatusColour::scRed);
  SetButtons(true, false, true);
}

void TMainForm::CloseBtnClick() { reject(); }

void TMainForm::DlData() {
  const TDownloadedFile& f = Dl_->File();
  // The bar counts bytes; without a length the maximum follows what came in.
  const int maximum = f.ContentLength > 0 ? f.ContentLength : std::max(1, f.BytesReceived);
  ProgressBar->setRange(0, maximum);
  ProgressBar->setValue(std::min(f.BytesReceived, maximum));
}

void TMainForm::DlError() {
  ProgressBar->hide();
  Status("Download failed: " + Dl_->File().ResultText, TStatusColour::scRed);
  SetButtons(true, false, true);
}

void TMainForm::DlSuccess() {
  ProgressBar->hide();
  Status("Processing data...");
  SetButtons(false, false, false);
  const bool ok = Job_->ImportDownloaded(Dl_->File().Data);
  // On failure the error box has been shown; the window stays as it is and
  // closes with Esc or its close box (exit code 1).
  if (ok) SetButtons(false, false, true);
}

}  // namespace vx
