// The main window's controls and layout: what sits where, with which
// caption and hint. Everything is placed by layouts, so the window takes the
// size the desktop's font and scale need; the chart and map surfaces show
// their pictures at whole multiples of their pixel sizes.
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
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include "app/Version.h"
#include "gui/MainForm.h"
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

void TMainForm::BuildWindow() {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setTabPosition(QTabWidget::South);
  PageControl1->setDocumentMode(false);

  ChartFrame = new TChartFrame(this);
  ChartFrame->setObjectName("ChartFrame");
  MapFrame = new TMapFrame(this);
  MapFrame->setObjectName("MapFrame");
  // The chart grows with its MHz scale beside it.
  auto* chartPage = new TScaledPage(
      ChartFrame, ChartFrame->ScaleStep(), [this](int scale) { ChartFrame->SetScale(scale); }, this);
  auto* mapPage = new TScaledPage(
      MapFrame, QSize(kMapWidth, kMapHeight), [this](int scale) { MapFrame->SetScale(scale); }, this);
  PageControl1->addTab(BuildParamsTab(), TabIcon(pgParams), "Params");
  PageControl1->addTab(chartPage, TabIcon(pgChart), "Chart");
  PageControl1->addTab(mapPage, TabIcon(pgMap), "Map");
  PageControl1->addTab(BuildSettingsTab(), TabIcon(pgSettings), "Settings");
  PageControl1->addTab(BuildAntTab(), TabIcon(pgAnt), "Ant");
  setCentralWidget(PageControl1);
  BuildStatusBar();
  BuildPopupMenu();

  BatchDialog = new TBatchDialog(this);
  ProgressDialog = new TProgressDialog(this);

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  Timer2 = new QTimer(this);
  Timer2->setInterval(150);
  MonthTimer = new QTimer(this);
  MonthTimer->setSingleShot(true);

  // The window may grow (the chart and the map then grow in whole steps),
  // never below the size its content needs.
  setMinimumSize(sizeHint());
}

QWidget* TMainForm::BuildParamsTab() {
  auto* page = new QWidget(this);
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
  grid->addWidget(DxCoordFrame, row++, 1, 1, 2, Qt::AlignLeft);

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
  MonLeftBtn = new QToolButton(month);
  MonLeftBtn->setObjectName("MonLeftBtn");
  MonLeftBtn->setArrowType(Qt::LeftArrow);
  MonLeftBtn->setAutoRaise(true);
  Panel13 = new QLabel(month);
  Panel13->setObjectName("Panel13");
  Panel13->setAlignment(Qt::AlignCenter);
  Panel13->setMinimumWidth(Panel13->fontMetrics().horizontalAdvance(" Sep 2088 "));
  Panel13->setToolTip("Double-click for the current month");
  MonRightBtn = new QToolButton(month);
  MonRightBtn->setObjectName("MonRightBtn");
  MonRightBtn->setArrowType(Qt::RightArrow);
  MonRightBtn->setAutoRaise(true);
  monthLayout->addWidget(MonLeftBtn);
  monthLayout->addWidget(Panel13, 1);
  monthLayout->addWidget(MonRightBtn);
  grid->addWidget(Caption("Month", MonLeftBtn, group), row, 0);
  grid->addWidget(month, row++, 1, 1, 2);

  auto* path = new QWidget(group);
  auto* pathLayout = new QHBoxLayout(path);
  pathLayout->setContentsMargins(0, 0, 0, 0);
  RadioButton1 = new QRadioButton("Short", path);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton("Long", path);
  RadioButton2->setObjectName("RadioButton2");
  pathLayout->addWidget(RadioButton1);
  pathLayout->addWidget(RadioButton2);
  pathLayout->addStretch();
  grid->addWidget(Caption("Path", RadioButton1, group), row, 0);
  grid->addWidget(path, row++, 1, 1, 2);

  SpinEdit3 = SpinEdit("SpinEdit3", TSolarIndices::kSsnMin, TSolarIndices::kSsnMax, 0, group);
  SpinEdit3->setAutoFillBackground(true);
  SpeedButton22 = Button("SpeedButton22", "Download SSN", "Open the sunspot number predictions in the browser", group);
  grid->addWidget(Caption("SSN", SpinEdit3, group), row, 0);
  grid->addWidget(SpinEdit3, row, 1);
  grid->addWidget(SpeedButton22, row++, 2);

  SpinEdit4 = SpinEdit("SpinEdit4", TSolarIndices::kKpMin, TSolarIndices::kKpMax, TSolarIndices::kKpDefault, group);
  SpinEdit4->setAutoFillBackground(true);
  SpeedButton25 = Button("SpeedButton25", "Download Kp", "Open the daily geomagnetic data in the browser", group);
  grid->addWidget(Caption("Kp", SpinEdit4, group), row, 0);
  grid->addWidget(SpinEdit4, row, 1);
  grid->addWidget(SpeedButton25, row++, 2);

  CheckBox4 = new QCheckBox("Use Kp", group);
  CheckBox4->setObjectName("CheckBox4");
  grid->addWidget(CheckBox4, row++, 1, 1, 2);

  SpinEdit2 = SpinEdit("SpinEdit2", 1, 9999, 100, group);
  SpinEdit2->setSuffix(" W");
  grid->addWidget(Caption("Power", SpinEdit2, group), row, 0);
  grid->addWidget(SpinEdit2, row++, 1);
  grid->setColumnStretch(2, 1);

  outer->addWidget(group);
  outer->addStretch();

  QWidget::setTabOrder(DxCoordFrame->EastWestButton(), CallEdit);
  QWidget::setTabOrder(CallEdit, MonLeftBtn);
  QWidget::setTabOrder(MonLeftBtn, MonRightBtn);
  QWidget::setTabOrder(MonRightBtn, RadioButton1);
  QWidget::setTabOrder(RadioButton1, RadioButton2);
  QWidget::setTabOrder(RadioButton2, SpinEdit3);
  QWidget::setTabOrder(SpinEdit3, SpeedButton22);
  QWidget::setTabOrder(SpeedButton22, SpinEdit4);
  QWidget::setTabOrder(SpinEdit4, SpeedButton25);
  QWidget::setTabOrder(SpeedButton25, CheckBox4);
  QWidget::setTabOrder(CheckBox4, SpinEdit2);
  return page;
}

QWidget* TMainForm::BuildSettingsTab() {
  auto* page = new QWidget(this);
  page->setObjectName("SettingsTab");
  auto* grid = new QGridLayout(page);

  auto* top = new QHBoxLayout;
  HomeCoordFrame = new TCoordFrame(page);
  HomeCoordFrame->setObjectName("HomeCoordFrame");
  top->addWidget(Caption("Home", HomeCoordFrame->LatitudeEdit(), page));
  top->addWidget(HomeCoordFrame);
  top->addStretch();
  GeomiraBtn = Button("GeomiraBtn", "Geomira", "Integrate with Geomira", page);
  GeomiraBtn->setCheckable(true);
  SpeedButton37 = Button("SpeedButton37", "Sunsentry", "Integrate with Sunsentry", page);
  SpeedButton37->setCheckable(true);
  top->addWidget(GeomiraBtn);
  top->addWidget(SpeedButton37);
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
  MapStyleGroup->button(0)->setChecked(true);
  grid->addWidget(RadioGroup(" Map Resolution ", {"High", "Medium", "Low"}, RadioGroup2, page), 2, 1);
  RadioGroup2->button(2)->setChecked(true);

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

QWidget* TMainForm::BuildAntTab() {
  auto* page = new QWidget(this);
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
      connect(list, &QComboBox::currentTextChanged, list, [list](const QString& name) { list->setToolTip(name); });
      grid->addWidget(button, row, 0);
      grid->addWidget(list, row, 1);
      (tx ? TxPatternBtn : RxPatternBtn)[size_t(band)] = button;
      (tx ? TxAntennaList : RxAntennaList)[size_t(band)] = list;
      connect(button, &QToolButton::clicked, this, [this, tx, band] { ViewPatternClick(tx, band); });
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

void TMainForm::BuildStatusBar() {
  auto* bar = statusBar();
  bar->setObjectName("StatusBar1");
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
  firstLayout->addWidget(StatusImage, 0, Qt::AlignCenter);
  for (int i = 1; i < 6; ++i) {
    StatusPanels[size_t(i - 1)] = panel(i);
    StatusPanels[size_t(i - 1)]->setObjectName(QString("StatusPanel%1").arg(i));
  }
}

void TMainForm::BuildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  auto item = [this](const char* name, const char* text, bool checkable) {
    QAction* a = PopupMenu1->addAction(QString::fromLatin1(text));
    a->setObjectName(name);
    a->setCheckable(checkable);
    return a;
  };
  PlotMufMNU = item("PlotMufMNU", "Plot MUF", true);
  MarkBestHourMNU = item("MarkBestHourMNU", "Mark Best Hour", true);
  ShowSunMNU = item("ShowSunMNU", "Show Sun", true);
  PlotPathMNU = item("PlotPathMNU", "Plot Path", true);
  PopupMenu1->addSeparator();
  PreComputeMNU = item("PreComputeMNU", "Pre-Compute Maps...", false);
  SaveImageMNU = item("SaveImageMNU", "Save Image...", false);
  ExtrasSeparator = PopupMenu1->addSeparator();
  MaxHoursMNU = item("MaxHoursMNU", "Maximum Over Hours", false);
  MaxBandsMNU = item("MaxBandsMNU", "Maximum Over Bands", false);
  MaxMaxMNU = item("MaxMaxMNU", "Maximum Maximorum", false);
  GifsMNU = item("GifsMNU", "Generate GIF's", false);
  for (QWidget* surface : {ChartFrame->Box(), MapFrame->Box()}) {
    surface->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(surface, &QWidget::customContextMenuRequested, this,
            [this, surface](const QPoint& at) { ShowPopup(surface, at); });
  }
}

}  // namespace vx
