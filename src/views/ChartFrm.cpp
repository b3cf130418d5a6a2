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

// The MHz scale to the left of the chart: band frequencies at their lines.
class TLegend : public QWidget {
 public:
  explicit TLegend(QWidget* parent) : QWidget(parent) {
    setFixedSize(24, kChartHeight);
    setToolTip("MHz");
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    for (float band : BandFrequency) {
      const int y = CellY(band);
      const QString text = band == 3.5f ? "3.5" : QString::number(int(band));
      p.drawText(QRect(0, y - 6, 21, 12), Qt::AlignRight | Qt::AlignVCenter, text);
    }
  }
};

}  // namespace

class TChartBox : public TSurfaceBox<TChartFrame> {
 public:
  explicit TChartBox(TChartFrame* frame) : TSurfaceBox(frame, kChartWidth, kChartHeight) {}
  void mouseDoubleClickEvent(QMouseEvent*) override { emit Frame_->BoxDblClick(); }
};

TChartFrame::TChartFrame(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(0);
  layout->addWidget(new TLegend(this));
  Box_ = new TChartBox(this);
  layout->addWidget(Box_);
  PaintChart();
}

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
