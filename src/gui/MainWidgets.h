// TMainWidgets: the main window's controls and their layout, built once into
// the window. Five tabs along the bottom (Params, Chart, Map, Settings, Ant),
// a status bar of six panels with the status indicator in the first, and the
// context menu of the chart and the map. Tests and tools find each control
// by its object name, which is its name here.
#pragma once

#include <QStringList>
#include <array>

#include "engine/VoaTypes.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace vx {

class TBatchDialog;
class TChartFrame;
class TCoordFrame;
class TMapFrame;
class TMapModel;
class TProgressDialog;
class TRgbImage;
class TStatusImage;
class TStatusLabel;

struct TMainWidgets {
  // The map and chart frames show the pictures the window's model keeps.
  void Build(QMainWindow* window, TMapModel* map, TRgbImage* chart);
  // Every antenna list holds these names (refilled without a signal only
  // where they differ); the drop-downs show each name whole.
  void ShowAntennaNames(const QStringList& names);

  QTabWidget* Pages = nullptr;
  QLabel* HeaderLabel = nullptr;
  TCoordFrame* DxCoordFrame = nullptr;
  QLabel* DxSourceLabel = nullptr;   // where the DX point comes from
  QLabel* DxLocatorLabel = nullptr;  // the DX frame's grid locator
  QLineEdit* CallEdit = nullptr;
  QLabel* MonthLabel = nullptr;
  TStatusLabel* NowLabel = nullptr;        // the bands open this hour; the tooltip has the day's table
  TStatusLabel* PathFactsLabel = nullptr;  // distance, bearings, clocks and sun times; the tooltip has them by line
  QToolButton* MonthBackButton = nullptr;
  QToolButton* MonthForwardButton = nullptr;
  QRadioButton* ShortPathRadio = nullptr;
  QRadioButton* LongPathRadio = nullptr;
  QSpinBox* SsnSpin = nullptr;
  QToolButton* SsnSourceButton = nullptr;  // "Download SSN": Kestrix updates the sunspot table
  QSpinBox* KpSpin = nullptr;
  QToolButton* KpSourceButton = nullptr;  // "Download Kp": the daily data in the browser
  QCheckBox* UseKpBox = nullptr;
  QSpinBox* PowerSpin = nullptr;
  TChartFrame* ChartFrame = nullptr;
  TMapFrame* MapFrame = nullptr;
  TCoordFrame* HomeCoordFrame = nullptr;
  QLabel* HomeLocatorLabel = nullptr;  // the home frame's grid locator
  QLineEdit* QthEdit = nullptr;        // home as a locator, a call or LAT,LON; Enter moves it
  QToolButton* MapProgramButton = nullptr;
  QToolButton* MonitorButton = nullptr;  // the space-weather monitor
  QCheckBox* PlotMufBox = nullptr;
  QCheckBox* MarkBestHourBox = nullptr;
  QCheckBox* ShowSunBox = nullptr;
  QCheckBox* PlotPathBox = nullptr;
  QButtonGroup* MapStyleGroup = nullptr;
  QButtonGroup* ResolutionGroup = nullptr;             // map resolution: High, Medium, Low
  QComboBox* EngineBox = nullptr;                      // auto, built-in, voacapl
  TStatusLabel* EngineLabel = nullptr;                 // which engine answers; a long path is elided
  std::array<QComboBox*, kBandCount> TxAntennaList{};  // index = band, 0 = 3.5 MHz
  std::array<QComboBox*, kBandCount> RxAntennaList{};
  std::array<QToolButton*, kBandCount> TxPatternBtn{};
  std::array<QToolButton*, kBandCount> RxPatternBtn{};
  TStatusImage* StatusImage = nullptr;
  std::array<QLabel*, 5> StatusPanels{};  // panels 1..5 of the status bar
  QLabel* PathBriefLabel = nullptr;       // "5570 km, 288°" at the bar's right end
  QMenu* PopupMenu = nullptr;
  QAction* PlotMufItem = nullptr;
  QAction* MarkBestHourItem = nullptr;
  QAction* ShowSunItem = nullptr;
  QAction* PlotPathItem = nullptr;
  QAction* PreComputeItem = nullptr;
  QAction* SaveImageItem = nullptr;
  QAction* ExtrasSeparator = nullptr;
  QAction* MaxHoursItem = nullptr;
  QAction* MaxBandsItem = nullptr;
  QAction* MaxMaxItem = nullptr;
  QAction* GifsItem = nullptr;
  QTimer* ClockTimer = nullptr;   // the clock, every second
  QTimer* StatusTimer = nullptr;  // the status animation, every 150 ms
  QTimer* MonthTimer = nullptr;   // the month buttons' auto-repeat
  TBatchDialog* BatchDialog = nullptr;
  TProgressDialog* ProgressDialog = nullptr;

 private:
  QWidget* BuildParamsTab();
  QWidget* BuildSettingsTab();
  QWidget* BuildAntTab();
  void BuildStatusBar();
  void BuildPopupMenu();
  QMainWindow* W_ = nullptr;
};

}  // namespace vx
