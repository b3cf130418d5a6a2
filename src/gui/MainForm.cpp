#include "gui/MainForm.h"

#include <QAbstractItemView>
#include <QStyle>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "app/EngineHelp.h"
#include "app/MapResolution.h"
#include "app/PopupRules.h"
#include "app/Version.h"
#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "engine/Process.h"
#include "gui/GuiText.h"
#include "gui/Shell.h"
#include "gui/StatusImg.h"
#include "views/BatchDlg.h"
#include "views/ChartFrm.h"
#include "views/CoordFrame.h"
#include "views/MapFrm.h"
#include "views/ProgrDlg.h"

namespace vx {

namespace {

const QColor kLime(0, 255, 0);

// The time of day of a day count, as a fraction of the day.
double DayPart(double days) { return days - std::floor(days); }

TMainFormServices WithDefaults(TMainFormServices s) {
  static TQtShell shell;
  static TUnavailableMonitor monitor;
  static TNoMapProgram mapProgram;
  if (!s.Shell) s.Shell = &shell;
  if (!s.Monitor) s.Monitor = &monitor;
  if (!s.MapProgram) s.MapProgram = &mapProgram;
  if (!s.Clock) s.Clock = &SystemClock();
  if (!s.Runner) s.Runner = std::make_unique<TProcess>();
  return s;
}

void SetBase(QWidget* w, bool lime) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, lime ? kLime : QApplication::palette(w).color(QPalette::Base));
  w->setPalette(p);
}

// Clicks and double-clicks on plain labels.
class TClickFilter : public QObject {
 public:
  TClickFilter(QObject* parent, QEvent::Type type, std::function<void()> action)
      : QObject(parent), Type_(type), Action_(std::move(action)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == Type_ && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) Action_();
    return false;
  }

 private:
  QEvent::Type Type_;
  std::function<void()> Action_;
};

}  // namespace

TMainForm::TMainForm(TSessionSetup setup, TMainFormServices services, QWidget* parent)
    : QMainWindow(parent),
      Setup_(std::move(setup)),
      Services_(WithDefaults(std::move(services))),
      Shell_(*Services_.Shell),
      Solar_(*Services_.Monitor, *Services_.Clock),
      MonthRepeat_(*Services_.Clock) {
  setObjectName("MainForm");
  BuildWindow();
  // The engine comes with the window; it checks the installation in FormCreate.
  auto engine = std::make_unique<TVoaEngine>(std::move(Services_.Runner), Setup_.Voacap);
  Ctl_ = std::make_unique<TPredictionController>(std::move(engine), Setup_.CacheFolder, *this);
  Batch_ = std::make_unique<TPreCompute>(Ctl_->Engine(), Setup_.CacheFolder, *this,
                                         std::make_unique<TVoaWorkerPool>(MakeProcessRunner));
  Ctl_->SetCallParser(&Parser_);
  ConnectControls();
  ConnectMenu();
}

TMainForm::~TMainForm() { Services_.Monitor->SetListener(nullptr); }

bool TMainForm::FormCreate() {
  const TSessionStart start = OpenSession(Setup_, {Ctl_->Engine(), Parser_, Solar_, MapHour()});
  EngineBox->setCurrentIndex(int(Setup_.Voacap.Engine));
  ShowEngine();
  Services_.Monitor->SetListener(this);
  for (const std::string& warning : start.Warnings) Shell_.ShowError(this, FromCp1252(warning));
  ShowSolarIndices();
  if (Ctl_->Engine().Status() != vsReady && Ctl_->Engine().Builtin()) {
    SetStatus(stFailed);
    ShowStatusMessage();
    return false;
  }
  if (Ctl_->Engine().Status() != vsReady) {
    SetStatus(stFailed);
    const TVoaEngine& e = Ctl_->Engine();
    TEngineFacts facts{e.Status(),        e.VoacapProgram(),   Setup_.Voacap.Program, e.VoacapFolder(),
                       e.AntennaFolder(), Setup_.SettingsFile, e.DownloadPage()};
    const TEngineHelp help = DescribeEngineProblem(facts);
    if (Shell_.AskYesNo(this, QString::fromStdString(help.Title),
                        QString::fromStdString(help.Text + "\n\n" + help.Question)))
      Shell_.OpenUrl(QString::fromStdString(help.DownloadPage));
    return false;
  }
  SetStatus(stReady);
  FillAntennaLists();
  LoadSettings(Setup_.Settings);
  // What the user changes from here on is what a failed run would lose.
  Loaded_ = CurrentSettings();
  SettingsLoaded_ = true;
  FocusCallEdit();
  ClockTimer->start();
  StatusTimer->start();
  return true;
}

bool TMainForm::FormDestroy() {
  ClockTimer->stop();
  StatusTimer->stop();
  MonthTimer->stop();
  Services_.Monitor->SetListener(nullptr);
  return ShouldSaveSettings(Ctl_->Engine().Status()) || KeepSettings_ ? SaveSettings() : true;
}

bool TMainForm::AskToKeepSettings() {
  const TVoaEngine& engine = Ctl_->Engine();
  if (!SettingsLoaded_ || ShouldSaveSettings(engine.Status())) return true;
  const std::vector<std::string> changed = ChangedSettings(Loaded_, CurrentSettings());
  if (changed.empty()) return true;
  std::string names;
  for (const std::string& n : changed) names += (names.empty() ? "" : ", ") + n;
  const std::string why = engine.Status() == vsCancelled
                              ? "The last prediction was cancelled"
                              : std::string("The last prediction failed (") + engine.StatusText() + ")";
  const QString text = FromCp1252(
      why + ", so the settings are not saved by default. These changes would be lost: " + names + ".\n\nKeep them?");
  switch (Shell_.AskYesNoCancel(this, kVantorName, text)) {
    case anYes: KeepSettings_ = true; return true;
    case anNo: KeepSettings_ = false; return true;
    default: return false;
  }
}

bool TMainForm::SaveSettings() {
  TIniFile ini = TIniFile::Load(Setup_.SettingsFile);
  WriteSettings(CurrentSettings(), ini);
  if (EngineChosen_) ini.WriteString("VOACAP", "Engine", EngineChoiceName(Setup_.Voacap.Engine));
  MakeDirectories(FolderOf(Setup_.SettingsFile));
  if (ini.UpdateFile()) return true;
  Shell_.ShowError(this, "The settings could not be written to " + QFile::decodeName(Setup_.SettingsFile.c_str()));
  return false;
}

TVantorSettings TMainForm::CurrentSettings() const {
  TVantorSettings s;
  s.Left = pos().x();
  s.Top = pos().y();
  s.MapStyle = MapStyleGroup->checkedId();
  s.GridSize = ResolutionGroup->checkedId();
  s.ShowMuf = PlotMufItem->isChecked();
  s.ShowBestHour = MarkBestHourItem->isChecked();
  s.ShowSun = ShowSunItem->isChecked();
  s.ShowPath = PlotPathItem->isChecked();
  s.UseKp = UseKpBox->isChecked();
  s.Home = HomeCoordFrame->GetPoint();
  s.TxPower = PowerSpin->value();
  const TAlStringList& files = Ctl_->Engine().AntennaFiles();
  for (int b = 0; b < kBandCount; ++b) {
    s.RxAntenna[size_t(b)] = AntennaFileAt(files, RxAntennaList[size_t(b)]->currentIndex());
    s.TxAntenna[size_t(b)] = AntennaFileAt(files, TxAntennaList[size_t(b)]->currentIndex());
  }
  return s;
}

void TMainForm::LoadSettings(const TVantorSettings& s) {
  adjustSize();
  if (s.HasWindowPosition()) {
    move(s.Left, s.Top);
    KeepOnScreen();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
    KeepOnScreen();
  }
  MapStyleGroup->button(s.MapStyle)->setChecked(true);
  MapFrame->SetStyle(TMapStyle(s.MapStyle));
  ResolutionGroup->button(s.GridSize)->setChecked(true);
  SetPlotMuf(s.ShowMuf);
  SetMarkBestHour(s.ShowBestHour);
  SetShowSun(s.ShowSun);
  SetPlotPath(s.ShowPath);
  UseKpBox->setChecked(s.UseKp);
  HomeCoordFrame->SetPoint(s.Home);
  PowerSpin->setValue(s.TxPower);
  const TAlStringList& files = Ctl_->Engine().AntennaFiles();
  for (int b = 0; b < kBandCount; ++b) {
    RxAntennaList[size_t(b)]->setCurrentIndex(SelectAntenna(files, s.RxAntenna[size_t(b)]));
    TxAntennaList[size_t(b)]->setCurrentIndex(SelectAntenna(files, s.TxAntenna[size_t(b)]));
  }
}

void TMainForm::KeepOnScreen() {
  // A position saved on a larger screen, or a window made larger by the
  // desktop's scale, comes back whole onto the screen it is on (or the
  // first); what cannot fit keeps its title bar and left edge in view.
  QScreen* screen = QGuiApplication::screenAt(geometry().center());
  if (!screen) screen = QGuiApplication::screenAt(pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QSize size = frameGeometry().size();
  const int x = std::max(room.left(), std::min(pos().x(), room.left() + room.width() - size.width()));
  const int y = std::max(room.top(), std::min(pos().y(), room.top() + room.height() - size.height()));
  move(x, y);
}

void TMainForm::FillAntennaLists() {
  QStringList names;
  for (const std::string& n : Ctl_->Engine().AntennaNames()) names << FromCp1252(n);
  int widest = 0;
  for (int b = 0; b < kBandCount; ++b) {
    for (QComboBox* list : {TxAntennaList[size_t(b)], RxAntennaList[size_t(b)]}) {
      list->clear();
      list->addItems(names);
      list->setCurrentIndex(names.isEmpty() ? -1 : 0);
      // The drop-down shows every name whole, however narrow the box.
      QAbstractItemView* view = list->view();
      for (const QString& name : names) widest = std::max(widest, view->fontMetrics().horizontalAdvance(name));
      view->setMinimumWidth(widest + 2 * view->frameWidth() + 8 +
                            view->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
  }
}

void TMainForm::ShowEngine() {
  const TVoaEngine& e = Ctl_->Engine();
  QString text;
  if (e.Status() == vsNotFound || e.Status() == vsTooOld)
    text = "None usable: " + FromCp1252(e.StatusText());
  else if (e.Builtin())
    text = "The built-in engine answers.";
  else
    text = "voacapl answers (" + QFile::decodeName(e.VoacapProgram().c_str()) + ").";
  EngineLabel->SetFullText(text);
  Ctl_->UpdateTitle();
}

void TMainForm::EngineChoiceChanged(int index) {
  if (index < 0 || TEngineChoice(index) == Setup_.Voacap.Engine) return;
  const TVantorSettings before = CurrentSettings();
  Ctl_->CancelPrediction();
  Setup_.Voacap.Engine = TEngineChoice(index);
  EngineChosen_ = true;
  Ctl_->Engine().ChooseEngine(Setup_.Voacap.Engine);
  ShowEngine();
  if (Ctl_->Engine().Status() != vsReady) {
    SetStatus(stFailed);
    ShowStatusMessage();
    return;
  }
  SetStatus(stReady);
  FillAntennaLists();
  const TAlStringList& files = Ctl_->Engine().AntennaFiles();
  for (int b = 0; b < kBandCount; ++b) {
    RxAntennaList[size_t(b)]->setCurrentIndex(SelectAntenna(files, before.RxAntenna[size_t(b)]));
    TxAntennaList[size_t(b)]->setCurrentIndex(SelectAntenna(files, before.TxAntenna[size_t(b)]));
  }
}

// ---- Wiring ----------------------------------------------------------------

void TMainForm::ConnectControls() {
  connect(EngineBox, &QComboBox::activated, this, &TMainForm::EngineChoiceChanged);
  connect(Pages, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
  connect(CallEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { Ctl_->CallEditChange(ToCp1252(text)); });
  connect(CallEdit, &QLineEdit::returnPressed, this, &TMainForm::CallEntered);
  connect(DxCoordFrame, &TCoordFrame::Changed, this, [this] { Ctl_->CoordinatesChanged(true); });
  connect(HomeCoordFrame, &TCoordFrame::Changed, this, [this] { Ctl_->CoordinatesChanged(false); });

  HeaderLabel->installEventFilter(
      new TClickFilter(HeaderLabel, QEvent::MouseButtonRelease, [this] { Shell_.OpenUrl(kVantorWebPage); }));
  MonthLabel->installEventFilter(
      new TClickFilter(MonthLabel, QEvent::MouseButtonDblClick, [this] { StepMonth(TStepDirection::sdCurrent); }));
  connect(MonthBackButton, &QToolButton::pressed, this, [this] { MonthButtonDown(TStepDirection::sdBack); });
  connect(MonthForwardButton, &QToolButton::pressed, this, [this] { MonthButtonDown(TStepDirection::sdForward); });
  connect(MonthBackButton, &QToolButton::released, this, &TMainForm::MonthButtonUp);
  connect(MonthForwardButton, &QToolButton::released, this, &TMainForm::MonthButtonUp);
  connect(MonthTimer, &QTimer::timeout, this, &TMainForm::MonthTimerTimer);
  connect(SsnSpin, &QSpinBox::valueChanged, this, [this](int v) {
    Solar_.EditSsn(v);
    ShowSolarIndices();
  });
  connect(KpSpin, &QSpinBox::valueChanged, this, [this](int v) {
    Solar_.EditKp(v);
    ShowSolarIndices();
  });
  connect(SsnSourceButton, &QToolButton::clicked, this, [this] { Shell_.OpenUrl(kSsnSourceUrl); });
  connect(KpSourceButton, &QToolButton::clicked, this, [this] { Shell_.OpenUrl(kKpSourceUrl); });
  connect(MonitorButton, &QToolButton::clicked, this, &TMainForm::MonitorButtonClick);
  connect(MapProgramButton, &QToolButton::clicked, this, &TMainForm::MapProgramButtonClick);
  connect(MapStyleGroup, &QButtonGroup::idClicked, this, [this](int id) { MapFrame->SetStyle(TMapStyle(id)); });

  connect(StatusImage, &TStatusImage::Clicked, this, [this] {
    Ctl_->StatusImageClick();
    StatusChanged();
  });
  connect(StatusTimer, &QTimer::timeout, this, [this] {
    Ctl_->AnimateStatus();
    StatusChanged();
  });
  connect(ClockTimer, &QTimer::timeout, this, [this] { Ctl_->ClockTick(Services_.Clock->UtcNow()); });

  // The views: readouts into the status bar, requests to the controller.
  auto readouts = [this](const QStringList& panels) {
    for (size_t i = 0; i < StatusPanels.size(); ++i)
      StatusPanels[i]->setText(int(i) < panels.size() ? panels[int(i)] : QString());
  };
  connect(ChartFrame, &TChartFrame::StatusTexts, this, readouts);
  connect(MapFrame, &TMapFrame::StatusTexts, this, readouts);
  connect(ChartFrame, &TChartFrame::BoxDblClick, this, [this] { SetMarkBestHour(!MarkBestHourItem->isChecked()); });
  connect(MapFrame, &TMapFrame::ComputeMap, this, [this] { Ctl_->ComputeMap(); });
  connect(MapFrame, &TMapFrame::MapShown, this, &TMainForm::MapShown);
  connect(MapFrame, &TMapFrame::RefreshSpaceWeather, this, &TMainForm::RefreshSpaceWeather);
  connect(MapFrame, &TMapFrame::LocationClicked, this,
          [this](TLocation point, bool home) { (home ? HomeCoordFrame : DxCoordFrame)->SetPoint(point); });
  MapFrame->EngineYear = [this] { return int(Ctl_->Engine().JobInputs().Year); };
  MapFrame->EngineMonth = [this] { return int(Ctl_->Engine().JobInputs().Month); };
  MapFrame->EngineLongPath = [this] { return Ctl_->Engine().JobInputs().LongPath; };
  MapFrame->HomePoint = [this] { return HomeCoordFrame->GetPoint(); };
  MapFrame->DxPoint = [this] { return DxCoordFrame->GetPoint(); };
  // The views read the one clock the window was given.
  MapFrame->NowDays = [this] { return Services_.Clock->UtcNow(); };
  MapFrame->UtcHour = [this] { return int(DayPart(Services_.Clock->UtcNow()) * 24.0) % 24; };
  ChartFrame->Now = [this] { return DayPart(Services_.Clock->UtcNow()); };
  MapFrame->MonitorConnected = [this] { return Services_.Monitor->Active(); };
  ChartFrame->Results = &Ctl_->Engine().PointResults();

  connect(ProgressDialog, &TProgressDialog::CancelClicked, this, [this] { Batch_->Cancel(); });
  connect(ProgressDialog, &TProgressDialog::Closed, this, [this] { Batch_->ProgressClosed(); });
}

void TMainForm::PageChanged() { Ctl_->PageChanged(TPage(Pages->currentIndex())); }

void TMainForm::CallEntered() {
  {
    const QSignalBlocker quiet(Pages);
    Pages->setCurrentIndex(pgChart);
  }
  PageChanged();
}

// ---- Month, SSN and Kp -----------------------------------------------------

void TMainForm::StepMonth(TStepDirection dir) {
  Solar_.StepMonth(dir, MapHour());
  ShowSolarIndices();
}

void TMainForm::MonthButtonDown(TStepDirection dir) {
  StepMonth(dir);
  MonthRepeat_.Press(dir);
  MonthTimer->start(int(MonthRepeat_.MsUntilDue().value_or(TAutoRepeat::kFirstDelayMs)));
}

void TMainForm::MonthButtonUp() {
  MonthRepeat_.Release();
  MonthTimer->stop();
}

void TMainForm::MonthTimerTimer() {
  if (auto dir = MonthRepeat_.Poll()) StepMonth(*dir);
  if (auto ms = MonthRepeat_.MsUntilDue()) MonthTimer->start(int(*ms));
}

void TMainForm::ShowSolarIndices() {
  MonthLabel->setText(FromCp1252(Solar_.MonthText()));
  {
    const QSignalBlocker a(SsnSpin), b(KpSpin);
    SsnSpin->setValue(Solar_.Ssn());
    KpSpin->setValue(Solar_.Kp());
  }
  SetBase(SsnSpin, Solar_.SsnLime());
  SetBase(KpSpin, Solar_.KpLime());
}

void TMainForm::RefreshSpaceWeather() {
  Solar_.RefreshSpaceWeather(MapHour());
  ShowSolarIndices();
}

void TMainForm::MonitorToggled(bool ask) {
  const TMonitorToggle result = Solar_.ToggleMonitor(MonitorButton->isChecked(), MapHour());
  ShowSolarIndices();
  if (result != TMonitorToggle::mtUnavailable) return;
  if (ask && Shell_.AskYesNo(this, kVantorName, kMonitorMissingQuestion))
    Shell_.OpenUrl(QString::fromStdString(MonitorDownloadPage(kVantorName)));
  MonitorButton->setChecked(false);
}

void TMainForm::SpaceWeatherArrived() {
  // Read the new values once the monitor's call has returned.
  QMetaObject::invokeMethod(
      this,
      [this] {
        const bool changed = Services_.Monitor->Active() && Solar_.RefreshSpaceWeather(MapHour());
        ShowSolarIndices();
        if (changed) Ctl_->SpaceWeatherChanged();
      },
      Qt::QueuedConnection);
}

void TMainForm::SpaceWeatherMonitorLeft() {
  Solar_.ClearSpaceWeatherDisplay();
  MonitorButton->setChecked(false);
  ShowSolarIndices();
}

// ---- The map program -------------------------------------------------------

void TMainForm::MapProgramToggled(bool ask) {
  IMapProgram& program = *Services_.MapProgram;
  if (!program.SetActive(MapProgramButton->isChecked()) && ask &&
      Shell_.AskYesNo(this, kVantorName, kMapProgramMissingQuestion))
    Shell_.OpenUrl(QString::fromStdString(MapProgramDownloadPage(kVantorName)));
  if (!program.Active())
    MapProgramButton->setChecked(false);
  else if (MapFrame->Model.GridCopy.empty())
    Ctl_->ComputeMap();
}

void TMainForm::MapShown() {
  if (Services_.MapProgram->Active()) Services_.MapProgram->SendMap(MapFrame->Model.GridCopy);
}

void TMainForm::ViewPatternClick(bool tx, int band) {
  const QComboBox* list = (tx ? TxAntennaList : RxAntennaList)[size_t(band)];
  const std::string file = AntennaFileAt(Ctl_->Engine().AntennaFiles(), list->currentIndex());
  if (file.empty()) return;
  emit PatternRequested(QFile::decodeName((Ctl_->Engine().AntennaFolder() + file).c_str()), band);
}

// ---- IPredictionView -------------------------------------------------------

TPredictionInputs TMainForm::ReadInputs() const {
  TPredictionInputs in;
  in.Home = HomeCoordFrame->GetPoint();
  // An empty DX box is no position (the frame would read it as 0 degrees).
  const bool dxEmpty = DxCoordFrame->LatitudeEdit()->text().trimmed().isEmpty() ||
                       DxCoordFrame->LongitudeEdit()->text().trimmed().isEmpty();
  in.Dx = dxEmpty ? kNoLocationPoint : DxCoordFrame->GetPoint();
  in.LongPath = LongPathRadio->isChecked();
  in.Year = Solar_.Year();
  in.Month = Solar_.Month();
  in.Ssn = SsnSpin->value();
  in.Kp = KpSpin->value();
  in.UseKp = UseKpBox->isChecked();
  in.TxPower = PowerSpin->value();
  const TAlStringList& files = Ctl_->Engine().AntennaFiles();
  for (int b = 0; b < kBandCount; ++b) {
    in.TxAntenna[size_t(b)] = AntennaFileAt(files, TxAntennaList[size_t(b)]->currentIndex());
    in.RxAntenna[size_t(b)] = AntennaFileAt(files, RxAntennaList[size_t(b)]->currentIndex());
  }
  in.GridSize = GridSizeOfResolution(ResolutionGroup->checkedId());
  in.MapBand = MapFrame->Model.MapBand;
  in.MapHour = MapFrame->Model.MapHour;
  return in;
}

std::string TMainForm::CallText() const { return ToCp1252(CallEdit->text()); }
std::string TMainForm::DxText() const { return DxCoordFrame->AsText(); }
void TMainForm::SetDxPoint(TLocation point) {
  // Whoever sets the point runs the frame's change handling if it should run.
  const QSignalBlocker quiet(DxCoordFrame);
  DxCoordFrame->SetPoint(point);
}
void TMainForm::ClearCallText() { CallEdit->clear(); }

void TMainForm::SetCallUnknown(bool red) {
  QPalette p = CallEdit->palette();
  p.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QApplication::palette(CallEdit).color(QPalette::Text));
  CallEdit->setPalette(p);
}

void TMainForm::SetTitle(const std::string& caption) { setWindowTitle(FromCp1252(caption)); }

void TMainForm::StatusChanged() {
  const TStatusIndicator& status = Ctl_->Status();
  StatusImage->Show(status);
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

void TMainForm::RepaintChart() {
  // The chart reads the check boxes; the menu items always agree with them.
  ChartFrame->Options.PlotMuf = PlotMufBox->isChecked();
  ChartFrame->Options.MarkBestHour = MarkBestHourBox->isChecked();
  ChartFrame->PaintChart();
  ChartFrame->Box()->update();
}

void TMainForm::ShowMap(const TVoaGrid& grid) { MapFrame->SetData(grid); }
void TMainForm::FollowClock() { MapFrame->FollowClock(); }
void TMainForm::FocusCallEdit() { CallEdit->setFocus(); }

void TMainForm::ClientEventsQueued() {
  if (EventsPosted_) return;
  EventsPosted_ = true;
  QMetaObject::invokeMethod(this, &TMainForm::FireClientEvents, Qt::QueuedConnection);
}

void TMainForm::FireClientEvents() {
  EventsPosted_ = false;
  for (TClientEvent code : Ctl_->TakeClientEvents()) emit ClientEvent(code);
}

// ---- IPreComputeHost -------------------------------------------------------

void TMainForm::SyncEngineInputs() { Ctl_->SyncEngineInputs(); }
void TMainForm::SetStatus(TStatusState state) { Ctl_->SetStatus(state); }
void TMainForm::SetBatchState(TBatchState state) { SetStatus(StatusOfBatch(state)); }

void TMainForm::ShowStatusMessage() {
  const TVoaEngine::TStatusMessage box = Ctl_->Engine().StatusMessageBox();
  QString text = FromCp1252(box.Text).replace('\r', '\n');
  if (!box.Detail.empty()) text += "\n\n" + FromCp1252(box.Detail);
  if (!box.Warning)
    Shell_.ShowError(this, text);
  else if (Shell_.AskYesNo(this, kVantorName, text))
    Shell_.OpenUrl(QString::fromLatin1(Ctl_->Engine().DownloadPage()));
}

void TMainForm::ShowError(const std::string& text) { Shell_.ShowError(this, FromCp1252(text)); }
void TMainForm::ShowInfo(const std::string& text) { Ctl_->SetMessage(text); }
const TRgbImage& TMainForm::MapBitmap() { return MapFrame->Model.MapBitmap; }
int TMainForm::MapBand() { return MapFrame->Model.MapBand; }
int TMainForm::MapHour() { return MapFrame->Model.MapHour; }
bool TMainForm::RealTime() { return MapFrame->RealTime(); }
void TMainForm::SetRealTime(bool down) { MapFrame->SetRealTime(down); }
void TMainForm::SetProgressMax(int max) { ProgressDialog->StartProgress(max, Services_.Clock->SteadyMs()); }

void TMainForm::SetProgressPosition(int position) {
  ProgressDialog->SetProgress(position, Services_.Clock->SteadyMs());
}
void TMainForm::ShowProgress() { ProgressDialog->open(); }

void TMainForm::CloseProgress() {
  if (ProgressDialog->isVisible()) ProgressDialog->accept();
}

// ---- Closing ---------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* e) {
  emit ClientEvent(ceExitRequest);  // at once: the clients may let go now
  if (!ShuttingDown && AutomationClients > 0) {
    e->ignore();
    hide();
  } else if (!ShuttingDown && !AskToKeepSettings()) {
    e->ignore();  // the user would rather stay
  } else {
    e->accept();
  }
}

void TMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // The frame the desktop adds is known once the window is shown.
  if (!ShownOnce_) KeepOnScreen();
  ShownOnce_ = true;
}

void TMainForm::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && isMinimized()) emit Minimised();
}

}  // namespace vx
