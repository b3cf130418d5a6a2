// The main window's controls and layout: what sits where, with which
// caption and hint; the window connects them. Everything is placed by layouts, so the window takes the
// size the desktop's font and scale need; the chart and map surfaces show
// their pictures at whole multiples of their pixel sizes.
#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "app/SolarIndices.h"
#include "app/Version.h"
#include "common/StatusLabel.h"
#include "gui/MainWidgets.h"
#include "gui/Pictures.h"
#include "gui/ScaledPage.h"
#include "gui/StatusImg.h"
#include "views/BatchDlg.h"
#include "views/ChartFrm.h"
#include "views/CoordFrame.h"
#include "views/MapFrm.h"
#include "views/ProgrDlg.h"

namespace vx {

namespace {

// The call-sign box takes upper case only: letters typed in lower case turn
// into capitals as they are typed, so each keystroke gives one change.
class TUpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setBuddy(buddy);
  return l;
}

QSpinBox* SpinEdit(const char* name, int lo, int hi, int value, QWidget* parent) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(lo, hi);
  s->setValue(value);
  s->setAlignment(Qt::AlignRight);
  return s;
}

QToolButton* Button(const char* name, const QString& text, const QString& hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return b;
}

// A group box of radio buttons whose ids are their positions.
QGroupBox* RadioGroup(const char* title, std::initializer_list<const char*> items, QButtonGroup*& group,
                      QWidget* parent) {
  auto* box = new QGroupBox(QString::fromLatin1(title), parent);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  int id = 0;
  for (const char* item : items) {
    auto* r = new QRadioButton(QString::fromLatin1(item), box);
    group->addButton(r, id++);
    layout->addWidget(r);
  }
  return box;
}

// Sample texts as wide as a panel's readouts get, so that no readout is cut
// whatever the font; the widths of the original layout are the least.
constexpr int kPanelWidths[6] = {18, 95, 68, 55, 50, 60};
const char* const kPanelSamples[6] = {"",      " 23:30 UT  30 MHz", " SNR < 0 dB", " Elev. 90\xB0",
                                      " 2F2F", " MUF 30.0 MHz"};

}  // namespace

void TMainWidgets::Build(QMainWindow* window, TMapModel* map, TRgbImage* chart) {
  W_ = window;
  W_->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                     Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  Pages = new QTabWidget(W_);
  Pages->setObjectName("Pages");
  Pages->setTabPosition(QTabWidget::South);
  Pages->setDocumentMode(false);

  ChartFrame = new TChartFrame(W_, chart);
  ChartFrame->setObjectName("ChartFrame");
  MapFrame = new TMapFrame(W_, map);
  MapFrame->setObjectName("MapFrame");
  // The chart grows with its MHz scale beside it.
  auto* chartPage = new TScaledPage(
      ChartFrame, ChartFrame->ScaleStep(), [this](int scale) { ChartFrame->SetScale(scale); }, W_);
  auto* mapPage = new TScaledPage(
      MapFrame, QSize(kMapWidth, kMapHeight), [this](int scale) { MapFrame->SetScale(scale); }, W_);
  Pages->addTab(BuildParamsTab(), TabIcon(pgParams), "Params");
  Pages->addTab(chartPage, TabIcon(pgChart), "Chart");
  Pages->addTab(mapPage, TabIcon(pgMap), "Map");
  Pages->addTab(BuildSettingsTab(), TabIcon(pgSettings), "Settings");
  Pages->addTab(BuildAntTab(), TabIcon(pgAnt), "Ant");
  W_->setCentralWidget(Pages);
  BuildStatusBar();
  BuildPopupMenu();

  BatchDialog = new TBatchDialog(W_);
  BatchDialog->setObjectName("BatchDialog");
  ProgressDialog = new TProgressDialog(W_);
  ProgressDialog->setObjectName("ProgressDialog");

  ClockTimer = new QTimer(W_);
  ClockTimer->setObjectName("ClockTimer");
  ClockTimer->setInterval(1000);
  StatusTimer = new QTimer(W_);
  StatusTimer->setObjectName("StatusTimer");
  StatusTimer->setInterval(150);
  MonthTimer = new QTimer(W_);
  MonthTimer->setObjectName("MonthTimer");
  MonthTimer->setSingleShot(true);

  // The window may grow (the chart and the map then grow in whole steps),
  // never below the size its content needs.
  W_->setMinimumSize(W_->sizeHint());
}

QWidget* TMainWidgets::BuildParamsTab() {
  auto* page = new QWidget(W_);
  page->setObjectName("ParamsTab");
  auto* outer = new QVBoxLayout(page);

  HeaderLabel = new QLabel(page);
  HeaderLabel->setObjectName("HeaderLabel");
  HeaderLabel->setText(
      "<span style='font-size:20pt; font-weight:bold; color:#0000ff'>Vantor</span>"
      "<span style='font-size:20pt; font-weight:bold; color:#00b4dc'>&nbsp;" +
      QString::fromStdString(kVantorVersion) + "</span>");
  HeaderLabel->setAlignment(Qt::AlignCenter);
  HeaderLabel->setStyleSheet("QLabel#HeaderLabel { border: 2px solid #0000c0; background: white; padding: 2px 8px; }");
  HeaderLabel->setToolTip("Click to open the Vantor web site");
  HeaderLabel->setCursor(Qt::PointingHandCursor);
  outer->addWidget(HeaderLabel);

  auto* group = new QGroupBox(" Input parameters ", page);
  auto* grid = new QGridLayout(group);
  int row = 0;

  DxCoordFrame = new TCoordFrame(group);
  DxCoordFrame->setObjectName("DxCoordFrame");
  grid->addWidget(Caption("DX QTH", DxCoordFrame->LatitudeEdit(), group), row, 0);
  auto* dxRow = new QHBoxLayout;
  dxRow->addWidget(DxCoordFrame);
  DxLocatorLabel = new QLabel(group);
  DxLocatorLabel->setObjectName("DxLocatorLabel");
  dxRow->addWidget(DxLocatorLabel);
  grid->addLayout(dxRow, row++, 1, 1, 2, Qt::AlignLeft);
  DxSourceLabel = new QLabel(group);
  DxSourceLabel->setObjectName("DxSourceLabel");
  DxSourceLabel->setEnabled(false);  // greyed: a remark, not an input
  grid->addWidget(DxSourceLabel, row++, 1, 1, 2);

  CallEdit = new QLineEdit(group);
  CallEdit->setObjectName("CallEdit");
  CallEdit->setValidator(new TUpperCaseValidator(CallEdit));
  CallEdit->setMaxLength(16);
  grid->addWidget(Caption("DX Call", CallEdit, group), row, 0);
  grid->addWidget(CallEdit, row++, 1, 1, 2);

  // The month panel: white, lowered, with its two arrow buttons inside.
  auto* month = new QFrame(group);
  month->setObjectName("MonthPanel");
  month->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  month->setAutoFillBackground(true);
  QPalette white = month->palette();
  white.setColor(QPalette::Window, Qt::white);
  month->setPalette(white);
  auto* monthLayout = new QHBoxLayout(month);
  monthLayout->setContentsMargins(1, 1, 1, 1);
  monthLayout->setSpacing(0);
  MonthBackButton = new QToolButton(month);
  MonthBackButton->setObjectName("MonthBackButton");
  MonthBackButton->setArrowType(Qt::LeftArrow);
  MonthBackButton->setAutoRaise(true);
  MonthLabel = new QLabel(month);
  MonthLabel->setObjectName("MonthLabel");
  MonthLabel->setAlignment(Qt::AlignCenter);
  MonthLabel->setMinimumWidth(MonthLabel->fontMetrics().horizontalAdvance(" Sep 2088 "));
  MonthLabel->setToolTip("Double-click for the current month");
  MonthForwardButton = new QToolButton(month);
  MonthForwardButton->setObjectName("MonthForwardButton");
  MonthForwardButton->setArrowType(Qt::RightArrow);
  MonthForwardButton->setAutoRaise(true);
  monthLayout->addWidget(MonthBackButton);
  monthLayout->addWidget(MonthLabel, 1);
  monthLayout->addWidget(MonthForwardButton);
  grid->addWidget(Caption("Month", MonthBackButton, group), row, 0);
  grid->addWidget(month, row++, 1, 1, 2);

  auto* path = new QWidget(group);
  auto* pathLayout = new QHBoxLayout(path);
  pathLayout->setContentsMargins(0, 0, 0, 0);
  ShortPathRadio = new QRadioButton("Short", path);
  ShortPathRadio->setObjectName("ShortPathRadio");
  ShortPathRadio->setChecked(true);
  LongPathRadio = new QRadioButton("Long", path);
  LongPathRadio->setObjectName("LongPathRadio");
  pathLayout->addWidget(ShortPathRadio);
  pathLayout->addWidget(LongPathRadio);
  pathLayout->addStretch();
  grid->addWidget(Caption("Path", ShortPathRadio, group), row, 0);
  grid->addWidget(path, row++, 1, 1, 2);

  SsnSpin = SpinEdit("SsnSpin", TSolarIndices::kSsnMin, TSolarIndices::kSsnMax, 0, group);
  SsnSpin->setAutoFillBackground(true);
  SsnSourceButton = Button("SsnSourceButton", "Download SSN",
                           "Update the sunspot table with the latest predictions (Kestrix)", group);
  grid->addWidget(Caption("SSN", SsnSpin, group), row, 0);
  grid->addWidget(SsnSpin, row, 1);
  grid->addWidget(SsnSourceButton, row++, 2);

  KpSpin = SpinEdit("KpSpin", TSolarIndices::kKpMin, TSolarIndices::kKpMax, TSolarIndices::kKpDefault, group);
  KpSpin->setAutoFillBackground(true);
  KpSourceButton = Button("KpSourceButton", "Download Kp", "Open the daily geomagnetic data in the browser", group);
  grid->addWidget(Caption("Kp", KpSpin, group), row, 0);
  grid->addWidget(KpSpin, row, 1);
  grid->addWidget(KpSourceButton, row++, 2);

  UseKpBox = new QCheckBox("Use Kp", group);
  UseKpBox->setObjectName("UseKpBox");
  grid->addWidget(UseKpBox, row++, 1, 1, 2);

  PowerSpin = SpinEdit("PowerSpin", 1, 9999, 100, group);
  PowerSpin->setSuffix(" W");
  grid->addWidget(Caption("Power", PowerSpin, group), row, 0);
  grid->addWidget(PowerSpin, row++, 1);
  grid->setColumnStretch(2, 1);

  outer->addWidget(group);
  NowLabel = new TStatusLabel(page);
  NowLabel->setObjectName("NowLabel");
  outer->addWidget(NowLabel);
  PathFactsLabel = new TStatusLabel(page);
  PathFactsLabel->setObjectName("PathFactsLabel");
  outer->addWidget(PathFactsLabel);
  outer->addStretch();

  QWidget::setTabOrder(DxCoordFrame->EastWestButton(), CallEdit);
  QWidget::setTabOrder(CallEdit, MonthBackButton);
  QWidget::setTabOrder(MonthBackButton, MonthForwardButton);
  QWidget::setTabOrder(MonthForwardButton, ShortPathRadio);
  QWidget::setTabOrder(ShortPathRadio, LongPathRadio);
  QWidget::setTabOrder(LongPathRadio, SsnSpin);
  QWidget::setTabOrder(SsnSpin, SsnSourceButton);
  QWidget::setTabOrder(SsnSourceButton, KpSpin);
  QWidget::setTabOrder(KpSpin, KpSourceButton);
  QWidget::setTabOrder(KpSourceButton, UseKpBox);
  QWidget::setTabOrder(UseKpBox, PowerSpin);
  return page;
}

QWidget* TMainWidgets::BuildSettingsTab() {
  auto* page = new QWidget(W_);
  page->setObjectName("SettingsTab");
  auto* grid = new QGridLayout(page);

  auto* top = new QHBoxLayout;
  HomeCoordFrame = new TCoordFrame(page);
  HomeCoordFrame->setObjectName("HomeCoordFrame");
  top->addWidget(Caption("Home", HomeCoordFrame->LatitudeEdit(), page));
  top->addWidget(HomeCoordFrame);
  HomeLocatorLabel = new QLabel(page);
  HomeLocatorLabel->setObjectName("HomeLocatorLabel");
  top->addWidget(HomeLocatorLabel);
  QthEdit = new QLineEdit(page);
  QthEdit->setObjectName("QthEdit");
  QthEdit->setMaxLength(40);
  // Room for ten wide characters: an eight-character locator or a call.
  QthEdit->setMinimumWidth(QthEdit->fontMetrics().horizontalAdvance(QString(10, QChar('W'))) + 8);
  QthEdit->setPlaceholderText("FN31pr");
  QthEdit->setToolTip("Home as a grid locator, a call sign or LAT,LON in degrees; Enter moves it");
  top->addWidget(Caption("QTH", QthEdit, page));
  top->addWidget(QthEdit);
  top->addStretch();
  MapProgramButton = Button("MapProgramButton", "Geomira", "Integrate with Geomira", page);
  MapProgramButton->setCheckable(true);
  MonitorButton = Button("MonitorButton", "Sunsentry", "Integrate with Sunsentry", page);
  MonitorButton->setCheckable(true);
  top->addWidget(MapProgramButton);
  top->addWidget(MonitorButton);
  grid->addLayout(top, 0, 0, 1, 2);

  auto* chart = new QGroupBox(" Chart ", page);
  auto* chartLayout = new QVBoxLayout(chart);
  PlotMufBox = new QCheckBox("Plot MUF", chart);
  PlotMufBox->setObjectName("PlotMufBox");
  MarkBestHourBox = new QCheckBox("Mark Best Hour", chart);
  MarkBestHourBox->setObjectName("MarkBestHourBox");
  chartLayout->addWidget(PlotMufBox);
  chartLayout->addWidget(MarkBestHourBox);
  grid->addWidget(chart, 1, 0);

  auto* map = new QGroupBox(" Map ", page);
  auto* mapLayout = new QVBoxLayout(map);
  ShowSunBox = new QCheckBox("Show Sun", map);
  ShowSunBox->setObjectName("ShowSunBox");
  PlotPathBox = new QCheckBox("Plot Path", map);
  PlotPathBox->setObjectName("PlotPathBox");
  mapLayout->addWidget(ShowSunBox);
  mapLayout->addWidget(PlotPathBox);
  grid->addWidget(map, 1, 1);

  grid->addWidget(RadioGroup(" Map Style ", {"Color", "Gray", "Pseudo"}, MapStyleGroup, page), 2, 0);
  MapStyleGroup->setObjectName("MapStyleGroup");
  MapStyleGroup->button(0)->setChecked(true);
  grid->addWidget(RadioGroup(" Map Resolution ", {"High", "Medium", "Low"}, ResolutionGroup, page), 2, 1);
  ResolutionGroup->setObjectName("ResolutionGroup");
  ResolutionGroup->button(2)->setChecked(true);

  // In the order of TEngineChoice.
  auto* engine = new QGroupBox(" Engine ", page);
  auto* engineLayout = new QHBoxLayout(engine);
  EngineBox = new QComboBox(engine);
  EngineBox->setObjectName("EngineBox");
  EngineBox->addItems({"Automatic", "Built-in", "voacapl"});
  EngineBox->setToolTip("Automatic: voacapl when it is installed, else the built-in engine");
  EngineLabel = new TStatusLabel(engine);
  EngineLabel->setObjectName("EngineLabel");
  engineLayout->addWidget(EngineBox);
  engineLayout->addWidget(EngineLabel, 1);
  grid->addWidget(engine, 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* TMainWidgets::BuildAntTab() {
  auto* page = new QWidget(W_);
  page->setObjectName("AntTab");
  auto* columns = new QHBoxLayout(page);
  static const char* const kBandCaptions[kBandCount] = {"3.5", "7", "10", "14", "18", "21", "24", "28"};
  auto column = [&](const char* title, bool tx) {
    auto* box = new QGroupBox(QString::fromLatin1(title), page);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    // 28 MHz at the top down to 3.5 MHz at the bottom.
    for (int band = kBandCount - 1, row = 0; band >= 0; --band, ++row) {
      const QString side = tx ? "Tx" : "Rx";
      auto* button = Button("", kBandCaptions[band], "View pattern", box);
      button->setObjectName(side + QString("PatternBtn%1").arg(band));
      auto* list = new QComboBox(box);
      list->setObjectName(side + QString("AntennaList%1").arg(band));
      list->setMaxVisibleItems(15);
      list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      list->setMinimumContentsLength(20);
      // Long model names show whole in the list and in the hint.
      QObject::connect(list, &QComboBox::currentTextChanged, list,
                       [list](const QString& name) { list->setToolTip(name); });
      grid->addWidget(button, row, 0);
      grid->addWidget(list, row, 1);
      (tx ? TxPatternBtn : RxPatternBtn)[size_t(band)] = button;
      (tx ? TxAntennaList : RxAntennaList)[size_t(band)] = list;
    }
    grid->setColumnStretch(1, 1);
    columns->addWidget(box);
    // The band buttons are as wide as the widest caption.
    int width = 0;
    for (QToolButton* b : tx ? TxPatternBtn : RxPatternBtn) width = std::max(width, b->sizeHint().width());
    for (QToolButton* b : tx ? TxPatternBtn : RxPatternBtn) b->setMinimumWidth(width);
  };
  column(" TX Antennas", true);
  column(" RX Antennas", false);
  return page;
}

void TMainWidgets::BuildStatusBar() {
  auto* bar = W_->statusBar();
  bar->setObjectName("StatusBar");
  bar->setSizeGripEnabled(false);
  auto panel = [&](int i) {
    auto* frame = new QLabel(bar);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int text = frame->fontMetrics().horizontalAdvance(QString::fromLatin1(kPanelSamples[i])) + 8;
    frame->setMinimumWidth(std::max(kPanelWidths[i], text));
    bar->addWidget(frame);
    return frame;
  };
  QLabel* first = panel(0);
  auto* firstLayout = new QHBoxLayout(first);
  firstLayout->setContentsMargins(1, 1, 1, 1);
  StatusImage = new TStatusImage(first);
  StatusImage->setObjectName("StatusImage");
  firstLayout->addWidget(StatusImage, 0, Qt::AlignCenter);
  for (int i = 1; i < 6; ++i) {
    StatusPanels[size_t(i - 1)] = panel(i);
    StatusPanels[size_t(i - 1)]->setObjectName(QString("StatusPanel%1").arg(i));
  }
  // The path's distance and bearing stay in view while a message covers the
  // readouts.
  PathBriefLabel = new QLabel(bar);
  PathBriefLabel->setObjectName("PathBriefLabel");
  bar->addPermanentWidget(PathBriefLabel);
}

void TMainWidgets::BuildPopupMenu() {
  PopupMenu = new QMenu(W_);
  PopupMenu->setObjectName("PopupMenu");
  auto item = [this](const char* name, const char* text, bool checkable) {
    QAction* a = PopupMenu->addAction(QString::fromLatin1(text));
    a->setObjectName(name);
    a->setCheckable(checkable);
    return a;
  };
  PlotMufItem = item("PlotMufItem", "Plot MUF", true);
  MarkBestHourItem = item("MarkBestHourItem", "Mark Best Hour", true);
  ShowSunItem = item("ShowSunItem", "Show Sun", true);
  PlotPathItem = item("PlotPathItem", "Plot Path", true);
  PopupMenu->addSeparator();
  PreComputeItem = item("PreComputeItem", "Pre-Compute Maps...", false);
  SaveImageItem = item("SaveImageItem", "Save Image...", false);
  ExtrasSeparator = PopupMenu->addSeparator();
  MaxHoursItem = item("MaxHoursItem", "Maximum Over Hours", false);
  MaxBandsItem = item("MaxBandsItem", "Maximum Over Bands", false);
  MaxMaxItem = item("MaxMaxItem", "Maximum Maximorum", false);
  GifsItem = item("GifsItem", "Generate GIF's", false);
  for (QWidget* surface : {ChartFrame->Box(), MapFrame->Box()}) surface->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TMainWidgets::ShowAntennaNames(const QStringList& names) {
  int widest = 0;
  for (const auto& lists : {TxAntennaList, RxAntennaList})
    for (QComboBox* list : lists) {
      QStringList shown;
      for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
      if (shown == names) continue;
      {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(names);
      }
      // The drop-down shows every name whole, however narrow the box.
      QAbstractItemView* view = list->view();
      for (const QString& name : names) widest = std::max(widest, view->fontMetrics().horizontalAdvance(name));
      view->setMinimumWidth(widest + 2 * view->frameWidth() + 8 +
                            view->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
}

}  // namespace vx
