#include "views/MapFrm.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/DayCount.h"
#include "common/QtText.h"
#include "common/TextUtil.h"
#include "views/QtImage.h"
#include "views/SurfaceBox.h"

namespace vx {

namespace {

class TMapBox : public TSurfaceBox<TMapFrame> {
 public:
  explicit TMapBox(TMapFrame* frame) : TSurfaceBox(frame, kMapWidth, kMapHeight) {}
  void mousePressEvent(QMouseEvent* e) override {
    const QPoint at = SurfacePoint(e->position());
    Frame_->BoxMouseDown(at.x(), at.y(), e->button(), e->modifiers());
  }
};

int ClockHour() { return int(DayFraction(UtcNow()) * 24.0) % 24; }

}  // namespace

TMapFrame::TMapFrame(QWidget* parent, TMapModel* shared) : QFrame(parent), Model(shared ? *shared : Own_) {
  UtcHour = ClockHour;
  Model.MapHour = ClockHour();
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->setContentsMargins(2, 2, 2, 2);
  Box_ = new TMapBox(this);
  panelLayout->addWidget(Box_);
  outer->addWidget(panel);

  auto* controls = new QHBoxLayout;
  Bands_ = new QButtonGroup(this);
  Bands_->setExclusive(true);
  static const char* const kCaptions[kBandCount] = {"3.5 ", "7 ", "10 ", "14 ", "18 ", "21 ", "24 ", "28 "};
  for (int b = 0; b < kBandCount; ++b) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString("Band%1Btn").arg(b));
    button->setText(kCaptions[b]);
    button->setCheckable(true);
    Bands_->addButton(button, b);
    controls->addWidget(button);
  }
  Bands_->button(Model.MapBand)->setChecked(true);
  connect(Bands_, &QButtonGroup::idClicked, this, [this](int band) { SetMapBand(band); });

  auto* left = new QToolButton(this);
  left->setArrowType(Qt::LeftArrow);
  left->setObjectName("LeftArrowBtn");
  connect(left, &QToolButton::clicked, this, &TMapFrame::LeftArrowClick);
  HourPanel_ = new QLabel(this);
  HourPanel_->setToolTip("UTC Time");
  HourPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* right = new QToolButton(this);
  right->setArrowType(Qt::RightArrow);
  right->setObjectName("RightArrowBtn");
  connect(right, &QToolButton::clicked, this, &TMapFrame::RightArrowClick);
  RunHourBtn_ = new QToolButton(this);
  RunHourBtn_->setObjectName("RunHourBtn");
  RunHourBtn_->setCheckable(true);
  RunHourBtn_->setToolTip("Real Time");
  RunHourBtn_->setText("RT");
  connect(RunHourBtn_, &QToolButton::clicked, this, [this](bool down) {
    Model.RealTime = down;
    FollowClock();
  });
  controls->addStretch();
  controls->addWidget(left);
  controls->addWidget(HourPanel_);
  controls->addWidget(right);
  controls->addWidget(RunHourBtn_);
  outer->addLayout(controls);
  HourPanel_->setText(HourCaption());
}

void TMapFrame::SetData(const TVoaGrid& grid) {
  const bool wasMaximum = Model.Maximum != mmNone;
  Model.SetData(grid);
  if (wasMaximum) ShowMaximum(mmNone);
  Box_->update();
  // Posted, like the window message, so that it runs after this handler.
  QMetaObject::invokeMethod(this, &TMapFrame::MapShown, Qt::QueuedConnection);
}

void TMapFrame::SetStyle(TMapStyle style) {
  Model.SetStyle(style);
  Box_->update();
}

TRgbImage TMapFrame::Surface() const {
  TMapOverlays o;
  o.Sun = ShowSun && Model.Maximum != mmHours && Model.Maximum != mmBoth;
  o.SunTime = SunTime(EngineYear(), EngineMonth(), Model.MapHour, NowDays());
  o.Path = PlotPath;
  o.Home = HomePoint();
  o.Dx = DxPoint();
  o.LongPath = EngineLongPath();
  return Model.Compose(o);
}

TReadout TMapFrame::BoxMouseMove(int x, int y) {
  TReadout r = Model.Readout(x, y);
  QStringList panels;
  for (const auto& text : r.Panels) panels << FromCp1252(text);
  emit StatusTexts(panels);
  return r;
}

void TMapFrame::SetScale(int scale) { static_cast<TMapBox*>(Box_)->SetScale(scale); }
int TMapFrame::Scale() const { return static_cast<TMapBox*>(Box_)->Scale(); }

void TMapFrame::BoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton || x < 0 || y < 0 || x >= kMapWidth || y >= kMapHeight) return;
  emit LocationClicked(PixelToLocation(x, y), modifiers.testFlag(Qt::ControlModifier));
  Box_->update();
}

QString TMapFrame::HourCaption() const {
  if (Model.Maximum == mmHours || Model.Maximum == mmBoth) return "Max. all hours";
  return QString::fromStdString(FormatInt(Model.MapHour, 2, true) + ":00 UTC");
}

void TMapFrame::ShowMaximum(TMapMaximum maximum) {
  Model.Maximum = maximum;
  ShowModel();
}

void TMapFrame::ShowModel() {
  const TMapMaximum maximum = Model.Maximum;
  const bool allBands = maximum == mmBands || maximum == mmBoth;
  // An exclusive group keeps one button down; none is, for all bands.
  Bands_->setExclusive(false);
  for (int b = 0; b < kBandCount; ++b) Bands_->button(b)->setChecked(!allBands && b == Model.MapBand);
  Bands_->setExclusive(true);
  HourPanel_->setText(HourCaption());
  static const char* const kHints[] = {"Maximum over all hours", "Maximum over all bands",
                                       "Maximum over all hours and bands"};
  Box_->setToolTip(maximum == mmNone ? QString() : kHints[maximum]);
  RunHourBtn_->setChecked(Model.RealTime);
  Box_->update();
}

bool TMapFrame::RealTime() const { return Model.RealTime; }

void TMapFrame::SetRealTime(bool down) {
  Model.RealTime = down;
  RunHourBtn_->setChecked(down);
}
QAbstractButton* TMapFrame::BandButton(int band) const { return Bands_->button(band); }

void TMapFrame::SetMapBand(int band) {
  if (band < 0 || band >= kBandCount) return;
  Bands_->button(band)->setChecked(true);
  Model.MapBand = band;
  emit ComputeMap();
}

void TMapFrame::ShowHour(int hour) {
  Model.MapHour = std::clamp(hour, 0, 23);
  HourPanel_->setText(HourCaption());
  Box_->update();
}

void TMapFrame::ShowBand(int band) {
  if (band < 0 || band >= kBandCount) return;
  Bands_->button(band)->setChecked(true);
  Model.MapBand = band;
}

void TMapFrame::HourChanged() {
  HourPanel_->setText(HourCaption());
  if (MonitorConnected()) emit RefreshSpaceWeather();
  emit ComputeMap();
}

void TMapFrame::LeftArrowClick() {
  SetRealTime(false);
  Model.MapHour = Model.MapHour == 0 ? 23 : Model.MapHour - 1;
  HourChanged();
}

void TMapFrame::RightArrowClick() {
  SetRealTime(false);
  Model.MapHour = Model.MapHour == 23 ? 0 : Model.MapHour + 1;
  HourChanged();
}

void TMapFrame::FollowClock() {
  if (!RealTime()) return;
  const int hour = UtcHour();
  if (hour == Model.MapHour) return;
  Model.MapHour = hour;
  HourChanged();
}

}  // namespace vx
