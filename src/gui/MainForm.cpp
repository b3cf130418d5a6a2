#include "gui/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/MapResolution.h"
#include "common/ClickFilter.h"
#include "common/StatusLabel.h"
#include "engine/Process.h"
#include "gui/GuiText.h"
#include "gui/PathTexts.h"
#include "gui/ScreenPlace.h"
#include "gui/Shell.h"
#include "gui/StatusImg.h"
#include "gui/ViewBinding.h"
#include "views/ChartFrm.h"
#include "views/Conditions.h"
#include "views/CoordFrame.h"
#include "views/MapFrm.h"
#include "views/ProgrDlg.h"

namespace vx {

namespace {

void SetBase(QWidget* w, bool lime) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, lime ? QColor(0, 255, 0) : QApplication::palette(w).color(QPalette::Base));
  w->setPalette(p);
}

// Puts a value into a control without the control reporting it back.
template <class W, class F>
void Quietly(W* w, F&& set) {
  const QSignalBlocker quiet(w);
  set(w);
}

}  // namespace

TMainForm::TMainForm(TSessionSetup setup, TMainFormServices services, QWidget* parent)
    : QMainWindow(parent), TShellFace(ShellOf(services), this), Services_(std::move(services)) {
  setObjectName("MainForm");
  Model_ = MakeSession(std::move(setup), TakeSessionServices(Services_));
  W.Build(this, &Model_->Map, &Model_->Chart);
  Model_->SetPost([this](std::function<void()> work) { QTimer::singleShot(0, this, std::move(work)); });
  Model_->OnClientEvent = [this](TClientEvent code) { emit ClientEvent(code); };
  ConnectControls();
  ConnectMenu();
  Model_->SetFace(this);
  Show(wpEverything);
}

TMainForm::~TMainForm() { Model_->SetFace(nullptr); }

bool TMainForm::FormCreate() {
  if (!Model_->Open()) return false;
  const TVantorSettings& s = Model_->Setup().Settings;
  PlaceOnScreen(*this, s.HasWindowPosition() ? std::optional(QPoint(s.Left, s.Top)) : std::nullopt);
  if (Services_.AskForHome) AskForHome();
  W.ClockTimer->start();
  W.StatusTimer->start();
  return true;
}

bool TMainForm::FormDestroy() {
  W.ClockTimer->stop();
  W.StatusTimer->stop();
  W.MonthTimer->stop();
  return Model_->Close();
}

// ---- What the user does goes to the model ----------------------------------

void TMainForm::ConnectControls() {
  TWindowModel& m = *Model_;
  connect(W.EngineBox, &QComboBox::activated, this, [&m](int i) {
    if (i >= 0) m.ChooseEngine(TEngineChoice(i));
  });
  connect(W.Pages, &QTabWidget::currentChanged, this, [&m](int page) { m.ChangePage(TPage(page)); });
  connect(W.CallEdit, &QLineEdit::textChanged, this, [&m](const QString& text) { m.EditCall(ToCp1252(text)); });
  connect(W.CallEdit, &QLineEdit::returnPressed, this, [&m] { m.EnterCall(); });
  for (TCoordFrame* frame : {W.DxCoordFrame, W.HomeCoordFrame}) {
    const bool home = frame == W.HomeCoordFrame;
    connect(frame, &TCoordFrame::Changed, this, [&m, frame, home] { m.EditCoordinates(home, frame->Fields(), true); });
    connect(frame, &TCoordFrame::LongitudeEdited, this,
            [&m, frame, home] { m.EditCoordinates(home, frame->Fields(), false); });
  }
  connect(W.QthEdit, &QLineEdit::returnPressed, this, [this, &m] {
    // A text that is no position stays, red, with the reason as its tip.
    const std::string error = m.EnterHome(ToCp1252(W.QthEdit->text()));
    QPalette p = W.QthEdit->palette();
    p.setColor(QPalette::Text, error.empty() ? QApplication::palette(W.QthEdit).color(QPalette::Text) : Qt::red);
    W.QthEdit->setPalette(p);
    W.QthEdit->setToolTip(error.empty() ? QString("Home as a grid locator, a call sign or LAT,LON in degrees")
                                        : FromCp1252(error));
  });
  connect(W.ShortPathRadio, &QRadioButton::toggled, this, [&m](bool on) { m.SetLongPath(!on); });
  connect(W.PowerSpin, &QSpinBox::valueChanged, this, [&m](int v) { m.SetTxPower(v); });
  connect(W.UseKpBox, &QCheckBox::toggled, this, [&m](bool on) { m.SetUseKp(on); });
  connect(W.ResolutionGroup, &QButtonGroup::idToggled, this, [&m](int id, bool on) {
    if (on) m.SetGridSize(GridSizeOfResolution(id));
  });
  connect(W.MapStyleGroup, &QButtonGroup::idClicked, this, [&m](int id) { m.SetMapStyle(id); });
  for (bool tx : {true, false})
    for (int b = 0; b < kBandCount; ++b) {
      connect((tx ? W.TxAntennaList : W.RxAntennaList)[size_t(b)], &QComboBox::currentIndexChanged, this,
              [&m, tx, b](int i) { m.SetAntenna(tx, b, i); });
      connect((tx ? W.TxPatternBtn : W.RxPatternBtn)[size_t(b)], &QToolButton::clicked, this, [this, tx, b] {
        const std::string file = Model_->AntennaPath(tx, b);
        if (!file.empty()) emit PatternRequested(QString::fromStdString(file), b);
      });
    }

  TClickFilter::Install(W.HeaderLabel, QEvent::MouseButtonRelease, [this] { OpenUrl(kVantorWebPage); });
  TClickFilter::Install(W.MonthLabel, QEvent::MouseButtonDblClick, [&m] { m.StepMonth(TStepDirection::sdCurrent); });
  auto repeatIn = [this](std::optional<int64_t> ms) {
    if (ms) W.MonthTimer->start(int(*ms));
  };
  connect(W.MonthBackButton, &QToolButton::pressed, this,
          [&m, repeatIn] { repeatIn(m.PressMonth(TStepDirection::sdBack)); });
  connect(W.MonthForwardButton, &QToolButton::pressed, this,
          [&m, repeatIn] { repeatIn(m.PressMonth(TStepDirection::sdForward)); });
  for (QToolButton* button : {W.MonthBackButton, W.MonthForwardButton})
    connect(button, &QToolButton::released, this, [this, &m] {
      m.ReleaseMonth();
      W.MonthTimer->stop();
    });
  connect(W.MonthTimer, &QTimer::timeout, this, [&m, repeatIn] { repeatIn(m.RepeatMonth()); });
  connect(W.SsnSpin, &QSpinBox::valueChanged, this, [&m](int v) { m.EditSsn(v); });
  connect(W.KpSpin, &QSpinBox::valueChanged, this, [&m](int v) { m.EditKp(v); });
  connect(W.SsnSourceButton, &QToolButton::clicked, this, [&m] { m.DownloadSsnTable(); });
  connect(W.KpSourceButton, &QToolButton::clicked, this, [this] { OpenUrl(kKpSourceUrl); });
  connect(W.MonitorButton, &QToolButton::clicked, this, [&m](bool down) { m.ToggleMonitor(down, true); });
  connect(W.MapProgramButton, &QToolButton::clicked, this, [&m](bool down) { m.ToggleMapProgram(down, true); });

  connect(W.StatusImage, &TStatusImage::Clicked, this, [&m] { m.ClickStatus(); });
  connect(W.StatusTimer, &QTimer::timeout, this, [&m] { m.AnimateStatus(); });
  connect(W.ClockTimer, &QTimer::timeout, this, [&m] { m.ClockTick(); });

  BindViews(*W.MapFrame, *W.ChartFrame, m);
  connect(W.ProgressDialog, &TProgressDialog::CancelClicked, this, [&m] { m.Batch()->Cancel(); });
  connect(W.ProgressDialog, &TProgressDialog::Closed, this, [&m] { m.Batch()->ProgressClosed(); });
}

// ---- What the model shows --------------------------------------------------

void TMainForm::Show(uint32_t parts) {
  const TWindowModel& m = *Model_;
  if (parts & wpCall) {
    if (W.CallEdit->text() != FromCp1252(m.Call)) Quietly(W.CallEdit, [&](auto* e) { e->setText(FromCp1252(m.Call)); });
    QPalette p = W.CallEdit->palette();
    p.setColor(QPalette::Text, m.CallRed ? QColor(255, 0, 0) : QApplication::palette(W.CallEdit).color(QPalette::Text));
    W.CallEdit->setPalette(p);
  }
  if (parts & wpDx) Quietly(W.DxCoordFrame, [&](auto* f) { f->SetFields(m.DxFields()); });
  if (parts & wpHome) Quietly(W.HomeCoordFrame, [&](auto* f) { f->SetFields(m.HomeFields()); });
  ShowPathTexts(W, m, parts);
  if (parts & (wpInputs | wpEngine)) ShowInputs();
  if (parts & wpSolar) ShowSolar();
  if (parts & (wpOptions | wpChart)) ShowOptions();
  if (parts & (wpOptions | wpMap)) W.MapFrame->ShowModel();
  if (parts & wpStatus) ShowStatus();
  if (parts & wpReadouts)
    for (size_t i = 0; i < W.StatusPanels.size(); ++i) W.StatusPanels[i]->setText(FromCp1252(m.StatusPanels[i]));
  if (parts & wpTitle) setWindowTitle(FromCp1252(m.Title));
  if (parts & wpPage) Quietly(W.Pages, [&](auto* p) { p->setCurrentIndex(m.Page); });
  if (parts & wpToggles) {
    Quietly(W.MonitorButton, [&](auto* b) { b->setChecked(Model_->MonitorOn()); });
    Quietly(W.MapProgramButton, [&](auto* b) { b->setChecked(Model_->MapProgramOn()); });
  }
  if (parts & wpEngine) ShowEngine();
}

void TMainForm::ShowInputs() {
  const TWindowModel& m = *Model_;
  {
    const QSignalBlocker shortPath(W.ShortPathRadio), longPath(W.LongPathRadio);
    (m.Inputs.LongPath ? W.LongPathRadio : W.ShortPathRadio)->setChecked(true);
  }
  if (W.PowerSpin->value() != m.Inputs.TxPower) Quietly(W.PowerSpin, [&](auto* s) { s->setValue(m.Inputs.TxPower); });
  Quietly(W.UseKpBox, [&](auto* b) { b->setChecked(m.Inputs.UseKp); });
  if (QAbstractButton* b = W.ResolutionGroup->button(ResolutionOfGridSize(m.Inputs.GridSize)))
    Quietly(b, [](auto* r) { r->setChecked(true); });
  if (QAbstractButton* b = W.MapStyleGroup->button(m.Map.MapStyle)) Quietly(b, [](auto* r) { r->setChecked(true); });
  for (bool tx : {true, false})
    for (int b = 0; b < kBandCount; ++b)
      Quietly((tx ? W.TxAntennaList : W.RxAntennaList)[size_t(b)],
              [&](auto* list) { list->setCurrentIndex(m.AntennaIndex(tx, b)); });
}

void TMainForm::ShowSolar() {
  const TSolarIndices& solar = Model_->Solar;
  W.MonthLabel->setText(FromCp1252(solar.MonthText()));
  if (W.SsnSpin->value() != solar.Ssn()) Quietly(W.SsnSpin, [&](auto* s) { s->setValue(solar.Ssn()); });
  if (W.KpSpin->value() != solar.Kp()) Quietly(W.KpSpin, [&](auto* s) { s->setValue(solar.Kp()); });
  SetBase(W.SsnSpin, solar.SsnLime());
  SetBase(W.KpSpin, solar.KpLime());
}

void TMainForm::ShowOptions() {
  const TWindowModel& m = *Model_;
  const std::pair<QCheckBox*, QAction*> faces[] = {{W.PlotMufBox, W.PlotMufItem},
                                                   {W.MarkBestHourBox, W.MarkBestHourItem},
                                                   {W.ShowSunBox, W.ShowSunItem},
                                                   {W.PlotPathBox, W.PlotPathItem}};
  const bool on[] = {m.PlotMufOn, m.MarkBestHourOn, m.ShowSunOn, m.PlotPathOn};
  for (size_t i = 0; i < 4; ++i) {
    Quietly(faces[i].first, [&](auto* box) { box->setChecked(on[i]); });
    Quietly(faces[i].second, [&](auto* item) { item->setChecked(on[i]); });
  }
  W.ChartFrame->Options.PlotMuf = m.PlotMufOn;
  W.ChartFrame->Options.MarkBestHour = m.MarkBestHourOn;
  W.ChartFrame->Box()->update();
  W.MapFrame->ShowSun = m.ShowSunOn;
  W.MapFrame->PlotPath = m.PlotPathOn;
}

void TMainForm::ShowStatus() {
  const TStatusIndicator& status = Model_->Controller().Status();
  W.StatusImage->Show(status);
  // The words cover the readout panels until the next run; the tooltip holds
  // what the bar's width cuts off.
  const QString message = FromCp1252(status.Message);
  if (message == statusBar()->currentMessage()) return;
  if (message.isEmpty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(message);
  statusBar()->setToolTip(message);
}

void TMainForm::ShowEngine() {
  const TWindowModel& m = *Model_;
  Quietly(W.EngineBox, [&](auto* box) { box->setCurrentIndex(int(m.EngineChoice())); });
  W.EngineLabel->SetFullText(FromCp1252(m.EngineText()));
  QStringList names;
  for (const std::string& n : m.Engine().AntennaNames()) names << FromCp1252(n);
  W.ShowAntennaNames(names);
  ShowInputs();
}

// ---- The face's frame and the user -----------------------------------------

void TMainForm::RaiseFrame() {
  // A hidden window stays hidden: a client shows it through Visible.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  raise();
  activateWindow();
}

// Until the user answers with a position or cancels (home then stays where
// it was); a text that is none is asked again, with the reason.
void TMainForm::AskForHome() {
  const QString question = "Your call sign or grid locator (or LAT,LON in degrees):";
  QString text, label = question;
  while (Shell_.AskText(this, "Where is your station?", label, text)) {
    const std::string error = Model_->EnterHome(ToCp1252(text));
    if (error.empty()) return;
    label = FromCp1252(error) + "\n\n" + question;
  }
}

void TMainForm::FocusCall() { W.CallEdit->setFocus(); }

void TMainForm::StartProgress(int max) { W.ProgressDialog->StartProgress(max, Model_->Clock().SteadyMs()); }
void TMainForm::MoveProgress(int position) { W.ProgressDialog->SetProgress(position, Model_->Clock().SteadyMs()); }
void TMainForm::OpenProgress() { W.ProgressDialog->open(); }

void TMainForm::CloseProgress() {
  if (W.ProgressDialog->isVisible()) W.ProgressDialog->accept();
}

// ---- Closing ---------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* e) {
  emit ClientEvent(ceExitRequest);  // at once: the clients may let go now
  if (!ShuttingDown && AutomationClients > 0) {
    e->ignore();
    hide();
  } else if (!ShuttingDown && !Model_->AskToKeepSettings()) {
    e->ignore();  // the user would rather stay
  } else {
    e->accept();
  }
}

void TMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // The frame the desktop adds is known once the window is shown.
  if (!ShownOnce_) KeepOnScreen(*this);
  ShownOnce_ = true;
}

void TMainForm::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && isMinimized()) emit Minimised();
}

}  // namespace vx
