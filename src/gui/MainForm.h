// TMainForm: Vantor's main window. Five tabs along the bottom (Params,
// Chart, Map, Settings, Ant), a status bar of six panels with the status
// indicator in the first, and the context menu of the chart and the map.
// It holds controls and wiring only: the prediction logic is the
// controller's, the month and indices are TSolarIndices', the settings file
// is app/Settings'. Automation clients and the map program reach the same
// controls through IAutomationView and IGeomiraHost (MainAuto.cpp).
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/AutoRepeat.h"
#include "app/AutomationView.h"
#include "app/MapProgram.h"
#include "app/PredCtl.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/SolarIndices.h"
#include "app/SpaceWeather.h"
#include "com/Geomira.h"
#include "common/StatusLabel.h"
#include "engine/Locator.h"
#include "refdata/CallParser.h"
#include "views/PreComp.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;

namespace vx {

class IShell;
class TBatchDialog;
class TChartFrame;
class TCoordFrame;
class TMapFrame;
class TProgressDialog;
class TStatusImage;

// What the window talks to besides its own controls; tests bring stand-ins.
struct TMainFormServices {
  IShell* Shell = nullptr;
  ISpaceWeatherMonitor* Monitor = nullptr;
  IMapProgram* MapProgram = nullptr;
  const IClock* Clock = nullptr;
  std::unique_ptr<IProcessRunner> Runner;  // the engine's; null: the Qt runner
};

class TMainForm : public QMainWindow,
                  public IPredictionView,
                  public IPreComputeHost,
                  public ISpaceWeatherListener,
                  public IAutomationView,
                  public IGeomiraHost {
  Q_OBJECT
 public:
  TMainForm(TSessionSetup setup, TMainFormServices services, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Start-up: checks the engine, loads the lists and the sunspot table,
  // fills the antenna lists and applies the settings. False when the engine
  // is not ready; the user has been told what is missing and the program
  // should end without saving anything.
  bool FormCreate();
  // The window goes: the settings are written if the engine's last status
  // is vsReady, or if the user chose to keep them when the window closed.
  // Returns false only when writing them failed (reported).
  bool FormDestroy();

  TPredictionController& Controller() { return *Ctl_; }
  TVantorSettings CurrentSettings() const;
  void LoadSettings(const TVantorSettings& s);

  // The options, each a check box on the Settings tab and a menu item.
  void SetPlotMuf(bool on) override;
  void SetMarkBestHour(bool on);
  void SetShowSun(bool on) override;
  void SetPlotPath(bool on) override;

  // Commands of the controls, open for tests and the automation service.
  void PageChanged();
  void CallEntered();  // Enter
  void PreparePopup(bool ctrlHeld);
  void StepMonth(TStepDirection dir);
  void MonthButtonDown(TStepDirection dir);
  void MonthButtonUp();
  void MonthTimerTimer();
  void MonitorButtonClick() { MonitorToggled(true); }
  void MapProgramButtonClick() { MapProgramToggled(true); }
  void ViewPatternClick(bool tx, int band);
  // Automation clients connected (the close then only hides the window),
  // and the desktop session ending (the close is never refused).
  int AutomationClients = 0;
  bool ShuttingDown = false;

  // IPredictionView
  TPredictionInputs ReadInputs() const override;
  std::string CallText() const override;
  std::string DxText() const override;
  void SetDxPoint(TLocation point) override;
  void ClearCallText() override;
  void SetCallUnknown(bool red) override;
  void SetTitle(const std::string& caption) override;
  void StatusChanged() override;
  void RepaintChart() override;
  void ShowMap(const TVoaGrid& grid) override;
  void FollowClock() override;
  void FocusCallEdit() override;
  void ClientEventsQueued() override;

  // IPreComputeHost
  void SyncEngineInputs() override;
  void SetBatchState(TBatchState state) override;
  void ShowStatusMessage() override;
  void ShowError(const std::string& text) override;
  void ShowInfo(const std::string& text) override;
  const TRgbImage& MapBitmap() override;
  int MapBand() override;
  int MapHour() override;
  bool RealTime() override;
  void SetRealTime(bool down) override;
  void SetProgressMax(int max) override;
  void SetProgressPosition(int position) override;
  void ShowProgress() override;
  void CloseProgress() override;

  // ISpaceWeatherListener
  void SpaceWeatherArrived() override;
  void SpaceWeatherMonitorLeft() override;

  // IAutomationView: each setter puts the value into its control with the
  // control's signals blocked, so that the change is not handled twice.
  bool WindowVisible() const override { return isVisible(); }
  void SetWindowVisible(bool on) override { setVisible(on); }
  int WindowLeft() const override { return pos().x(); }
  int WindowTop() const override { return pos().y(); }
  void MoveWindow(int left, int top) override { move(left, top); }
  void BringToFront() override;
  void ShowPage(TPage page) override;
  void SetHomePoint(TLocation p) override;
  void SetCallText(const std::string& text) override;
  void SetLongPath(bool on) override;
  void SetSsn(int ssn) override;
  void SetKp(int kp) override;
  void SetTxPower(int watts) override;
  void SetUseKp(bool on) override;
  bool SelectMonth(int year, int month) override;
  std::string MonthText() const override { return Solar_.MonthText(); }
  int MapStyle() const override;
  void SetMapStyle(int style) override;
  void SetGridSize(int gridSize) override;
  bool PlotMuf() const override;
  bool ShowSun() const override;
  bool PlotPath() const override;
  void SetMapHour(int hour) override;
  void SetMapBand(int band) override;
  bool RealTime() const override;
  void RepaintMap() override;
  bool MapProgramOn() const override;
  void SetMapProgramOn(bool down) override;
  bool MonitorOn() const override;
  void SetMonitorOn(bool down) override;
  const TRgbImage& ChartBitmap() override;

  // IGeomiraHost
  const TNormGrid& MapField() const override;
  std::string MapMouseMove(int x, int y) override;
  void MapProgramLeft() override;
  void MapProgramError(const std::string& text) override;

 signals:
  // An automation event (ExitRequest, Error, MapChange, ChartChange) for the
  // connected clients, after the handler that raised it has returned.
  void ClientEvent(int code);
  // "View pattern": the antenna model file and the band index.
  void PatternRequested(const QString& fileName, int band);
  // The window was minimised (the program may hide it in the tray).
  void Minimised();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // The controls; tests and tools find them by their object names.
  QTabWidget* Pages;
  QLabel* HeaderLabel;
  TCoordFrame* DxCoordFrame;
  QLineEdit* CallEdit;
  QLabel* MonthLabel;
  QToolButton* MonthBackButton;
  QToolButton* MonthForwardButton;
  QRadioButton* ShortPathRadio;
  QRadioButton* LongPathRadio;
  QSpinBox* SsnSpin;
  QToolButton* SsnSourceButton;  // "Download SSN": the predictions in the browser
  QSpinBox* KpSpin;
  QToolButton* KpSourceButton;  // "Download Kp": the daily data in the browser
  QCheckBox* UseKpBox;
  QSpinBox* PowerSpin;
  TChartFrame* ChartFrame;
  TMapFrame* MapFrame;
  TCoordFrame* HomeCoordFrame;
  QToolButton* MapProgramButton;
  QToolButton* MonitorButton;  // the space-weather monitor
  QCheckBox* PlotMufBox;
  QCheckBox* MarkBestHourBox;
  QCheckBox* ShowSunBox;
  QCheckBox* PlotPathBox;
  QButtonGroup* MapStyleGroup;
  QButtonGroup* ResolutionGroup;                       // map resolution: High, Medium, Low
  QComboBox* EngineBox;                                // auto, built-in, voacapl
  TStatusLabel* EngineLabel;                           // which engine answers; a long path is elided
  std::array<QComboBox*, kBandCount> TxAntennaList{};  // index = band, 0 = 3.5 MHz
  std::array<QComboBox*, kBandCount> RxAntennaList{};
  std::array<QToolButton*, kBandCount> TxPatternBtn{};
  std::array<QToolButton*, kBandCount> RxPatternBtn{};
  TStatusImage* StatusImage;
  std::array<QLabel*, 5> StatusPanels{};  // panels 1..5 of the status bar
  QMenu* PopupMenu;
  QAction* PlotMufItem;
  QAction* MarkBestHourItem;
  QAction* ShowSunItem;
  QAction* PlotPathItem;
  QAction* PreComputeItem;
  QAction* SaveImageItem;
  QAction* ExtrasSeparator;
  QAction* MaxHoursItem;
  QAction* MaxBandsItem;
  QAction* MaxMaxItem;
  QAction* GifsItem;
  QTimer* ClockTimer;   // the clock, every second
  QTimer* StatusTimer;  // the status animation, every 150 ms
  QTimer* MonthTimer;   // the month buttons' auto-repeat
  TBatchDialog* BatchDialog;
  TProgressDialog* ProgressDialog;

  // The layout, one builder per tab (MainLayout.cpp).
  void BuildWindow();
  QWidget* BuildParamsTab();
  QWidget* BuildSettingsTab();
  QWidget* BuildAntTab();
  void BuildStatusBar();
  void BuildPopupMenu();
  void ConnectControls();
  void ConnectMenu();

  // The toggles' click handling; ask: offer the download page when the
  // program cannot be reached (never on behalf of an automation client).
  void MonitorToggled(bool ask);
  void MapProgramToggled(bool ask);
  void FillAntennaLists();
  // The engine box changed: the engine is checked again and the antenna
  // choices follow by file name.
  void EngineChoiceChanged(int index);
  void ShowEngine();
  // Moves the window wholly onto the visible part of its screen.
  void KeepOnScreen();
  bool ShownOnce_ = false;
  void ShowSolarIndices();
  void RefreshSpaceWeather();
  void FireClientEvents();
  void MapShown();
  void SaveImageClick();
  void PreComputeClick();
  void ShowPopup(QWidget* surface, const QPoint& at);
  bool SaveSettings();
  void SetStatus(TStatusState state);
  // Closing after a failed or cancelled run: names the changes that would
  // not be kept and asks whether to keep them. False: do not close.
  bool AskToKeepSettings();

  TSessionSetup Setup_;
  TMainFormServices Services_;
  IShell& Shell_;
  std::unique_ptr<TPredictionController> Ctl_;
  std::unique_ptr<TPreCompute> Batch_;
  TCallParser Parser_{TCallParserVariant::pvMain};
  TSolarIndices Solar_;
  TAutoRepeat MonthRepeat_;
  bool EventsPosted_ = false;
  bool EngineChosen_ = false;  // the engine box was changed: [VOACAP] Engine is written
  TVantorSettings Loaded_;     // as the controls showed them after start-up
  bool SettingsLoaded_ = false;
  bool KeepSettings_ = false;
};

}  // namespace vx
