#include "views/ChartFrm.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "common/DayCount.h"
#include "common/QtText.h"
#include "views/QtImage.h"
#include "views/SurfaceBox.h"

namespace vx {

namespace {

constexpr int kLegendWidth = 24;

// The MHz scale to the left of the chart: band frequencies at their lines,
// grown with the chart.
class TLegend : public QWidget {
 public:
  explicit TLegend(QWidget* parent) : QWidget(parent) {
    SetScale(1);
    setToolTip("MHz");
  }
  void SetScale(int scale) {
    Scale_ = scale;
    setFixedSize(kLegendWidth * scale, kChartHeight * scale);
    update();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QFont f = font();
    f.setPixelSize(9 * Scale_);
    p.setFont(f);
    for (float band : BandFrequency) {
      const int y = CellY(band) * Scale_ + Scale_ / 2;
      const QString text = band == 3.5f ? "3.5" : QString::number(int(band));
      p.drawText(QRect(0, y - 6 * Scale_, 21 * Scale_, 12 * Scale_), Qt::AlignRight | Qt::AlignVCenter, text);
    }
  }

 private:
  int Scale_ = 1;
};

}  // namespace

class TChartBox : public TSurfaceBox<TChartFrame> {
 public:
  explicit TChartBox(TChartFrame* frame) : TSurfaceBox(frame, kChartWidth, kChartHeight) {}
  void mouseDoubleClickEvent(QMouseEvent*) override { emit Frame_->BoxDblClick(); }
};

TChartFrame::TChartFrame(QWidget* parent, TRgbImage* shared) : QFrame(parent), ChartBitmap(shared ? *shared : Own_) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  Legend_ = new TLegend(this);
  layout->addWidget(Legend_);
  Box_ = new TChartBox(this);
  layout->addWidget(Box_);
  PaintChart();
}

void TChartFrame::SetScale(int scale) {
  static_cast<TLegend*>(Legend_)->SetScale(std::max(1, scale));
  static_cast<TChartBox*>(Box_)->SetScale(scale);
}

QSize TChartFrame::ScaleStep() { return {kChartWidth + kLegendWidth, kChartHeight}; }

int TChartFrame::Scale() const { return static_cast<TChartBox*>(Box_)->Scale(); }

double TChartFrame::UtcNowFraction() { return DayFraction(UtcNow()); }

void TChartFrame::PaintChart() {
  static const TPointResults kEmpty;
  vx::PaintChart(Results ? *Results : kEmpty, Options, ChartBitmap);
}

TRgbImage TChartFrame::Surface() {
  PaintChart();
  TRgbImage surface = ChartBitmap;
  DrawTimeLine(surface, Now ? Now() : 0.0);
  return surface;
}

TReadout TChartFrame::BoxMouseMove(int x, int y) {
  static const TPointResults kEmpty;
  TReadout r = ChartReadout(Results ? *Results : kEmpty, x, y);
  Box_->setToolTip(FromCp1252(r.Hint));
  QStringList panels;
  for (const auto& text : r.Panels) panels << FromCp1252(text);
  emit StatusTexts(panels);
  return r;
}

}  // namespace vx
