// TChartFrame: the 24-hour chart of the Chart tab. It reads the engine's
// point-to-point arrays, never starts a prediction, and reports the values
// under the mouse through StatusTexts.
#pragma once

#include <QFrame>
#include <QStringList>
#include <functional>

#include "views/ChartDraw.h"

namespace vx {

class TChartFrame : public QFrame {
  Q_OBJECT
 public:
  // shared: a picture kept by the window's model; null: the frame keeps its own.
  explicit TChartFrame(QWidget* parent = nullptr, TRgbImage* shared = nullptr);

  const TPointResults* Results = nullptr;        // the engine's arrays
  TChartOptions Options;                         // "Mark Best Hour", "Plot MUF"
  std::function<double()> Now = UtcNowFraction;  // fraction of the UTC day

 private:
  TRgbImage Own_;

 public:
  TRgbImage& ChartBitmap;

  void PaintChart();
  // What the surface shows: ChartBitmap and the time line.
  TRgbImage Surface();
  TReadout BoxMouseMove(int x, int y);
  QWidget* Box() const { return Box_; }
  // Shows the chart (and its MHz scale) at scale times its 1:1 size, each
  // chart pixel a square; 1 is the chart as it is saved.
  void SetScale(int scale);
  int Scale() const;
  // What one step of scale adds to the frame: the chart and its MHz scale.
  static QSize ScaleStep();

  static double UtcNowFraction();

 signals:
  void StatusTexts(const QStringList& panels);  // panels 1..5
  void BoxDblClick();                           // toggles "Mark Best Hour"

 private:
  friend class TChartBox;
  QWidget* Box_;
  QWidget* Legend_;
};

}  // namespace vx
