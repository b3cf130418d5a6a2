#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <filesystem>

#include "common/FileUtil.h"
#include "views/BatchDlg.h"
#include "views/BmpFile.h"
#include "views/ChartFrm.h"
#include "views/GifWriter.h"
#include "views/MapFrm.h"
#include "views/ProgrDlg.h"
#include "views/QtImage.h"

using namespace vx;

namespace {

// Counts a signal's emissions and keeps the arguments of the last one.
template <class Sender, class... Args>
struct TSpy {
  int Count = 0;
  std::tuple<std::decay_t<Args>...> Last;
  TSpy(Sender* s, void (Sender::*signal)(Args...)) {
    QObject::connect(s, signal, [this](Args... a) {
      ++Count;
      Last = std::make_tuple(a...);
    });
  }
};

TVoaGrid Grid(int n) {
  TVoaGrid g = MakeGrid(n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) g[size_t(i)][size_t(j)].Snr = float((i * 5 + j * 2) % 55);
  return g;
}

std::string Temp(const std::string& name) {
  std::string dir = testing::TempDir() + "views-frames/";
  MakeDirectories(dir);
  return dir + name;
}

}  // namespace

TEST(ChartFrame, SurfaceIsTheBitmapWithTheTimeLine) {
  TPointResults results;
  for (int f = 2; f <= 30; ++f)
    for (int h = 0; h < 25; ++h) results.Snr[f][h] = float(f + h), results.Mode[f][h] = "1F";
  for (int h = 0; h < 25; ++h) results.Muf[h] = 14;
  TChartFrame frame;
  frame.Results = &results;
  frame.Options = {true, true};
  frame.Now = [] { return 0.25; };
  const QImage shown = frame.Box()->grab().toImage();
  TRgbImage expected;
  PaintChart(results, frame.Options, expected);
  EXPECT_EQ(frame.ChartBitmap, expected);  // no time line in the bitmap
  DrawTimeLine(expected, 0.25);
  EXPECT_EQ(FromQImage(shown), expected);

  TSpy texts(&frame, &TChartFrame::StatusTexts);
  frame.BoxMouseMove(7, 141);
  ASSERT_EQ(texts.Count, 1);
  const QStringList panels = std::get<0>(texts.Last);
  ASSERT_EQ(panels.size(), 5);
  EXPECT_EQ(panels[0], " 00:30 UT  10 MHz");
  EXPECT_EQ(panels[2], QString(" Elev. 0") + QChar(0xB0));
  frame.BoxMouseMove(-1, -1);
  EXPECT_EQ(std::get<0>(texts.Last)[0], "");
}

TEST(MapFrame, SetDataRendersAndPostsTheNotice) {
  TMapFrame frame;
  TSpy shown(&frame, &TMapFrame::MapShown);
  frame.SetData(Grid(31));
  EXPECT_EQ(shown.Count, 0);  // posted, not sent
  QApplication::processEvents();
  EXPECT_EQ(shown.Count, 1);
  EXPECT_EQ(FromQImage(frame.Box()->grab().toImage()), frame.Model.MapBitmap);
  // An empty grid (a failed prediction) shows the background and still notifies.
  frame.SetData({});
  QApplication::processEvents();
  EXPECT_EQ(shown.Count, 2);
  EXPECT_EQ(frame.Model.MapBitmap, frame.Model.Compose({}));
  TMapModel bare;
  EXPECT_EQ(frame.Model.MapBitmap, bare.MapBitmap);

  // Overlays reach the screen only.
  frame.SetData(Grid(16));
  frame.ShowSun = frame.PlotPath = true;
  frame.EngineYear = [] { return 2008; };
  frame.DxPoint = [] { return TLocation{139 * 180, 35 * 180}; };
  const TRgbImage screen = FromQImage(frame.Box()->grab().toImage());
  EXPECT_NE(screen, frame.Model.MapBitmap);
  EXPECT_EQ(screen, frame.Surface());
}

TEST(MapFrame, BandButtonsAndHourSelector) {
  TMapFrame frame;
  frame.MonitorConnected = [] { return true; };
  frame.UtcHour = [] { return 17; };
  TSpy compute(&frame, &TMapFrame::ComputeMap);
  TSpy weather(&frame, &TMapFrame::RefreshSpaceWeather);
  EXPECT_EQ(frame.Model.MapBand, 3);
  EXPECT_TRUE(frame.BandButton(3)->isChecked());
  EXPECT_EQ(frame.BandButton(0)->text(), "3.5 ");
  frame.BandButton(6)->click();
  EXPECT_EQ(frame.Model.MapBand, 6);
  EXPECT_FALSE(frame.BandButton(3)->isChecked());
  EXPECT_EQ(compute.Count, 1);
  EXPECT_EQ(weather.Count, 0);

  frame.Model.MapHour = 0;
  frame.SetRealTime(true);
  frame.LeftArrowClick();
  EXPECT_EQ(frame.Model.MapHour, 23);
  EXPECT_FALSE(frame.RealTime());
  EXPECT_EQ(frame.HourCaption(), "23:00 UTC");
  frame.RightArrowClick();
  EXPECT_EQ(frame.Model.MapHour, 0);
  EXPECT_EQ(compute.Count, 3);
  EXPECT_EQ(weather.Count, 2);

  frame.FollowClock();  // Real Time is up: nothing
  EXPECT_EQ(frame.Model.MapHour, 0);
  frame.SetRealTime(true);
  frame.FollowClock();
  EXPECT_EQ(frame.Model.MapHour, 17);
  EXPECT_EQ(compute.Count, 4);
  frame.FollowClock();  // same hour: no new map
  EXPECT_EQ(compute.Count, 4);
}

TEST(MapFrame, ClicksSetDxOrWithCtrlHome) {
  TMapFrame frame;
  std::vector<std::pair<TLocation, bool>> clicked;
  QObject::connect(&frame, &TMapFrame::LocationClicked, [&](TLocation p, bool home) { clicked.emplace_back(p, home); });
  frame.BoxMouseDown(180, 0, Qt::LeftButton, Qt::NoModifier);
  frame.BoxMouseDown(0, 179, Qt::LeftButton, Qt::ControlModifier);
  frame.BoxMouseDown(10, 10, Qt::RightButton, Qt::NoModifier);
  ASSERT_EQ(clicked.size(), 2u);
  EXPECT_EQ(clicked[0].first.X, 0);
  EXPECT_EQ(clicked[0].first.Y, 89 * 180);
  EXPECT_FALSE(clicked[0].second);
  EXPECT_EQ(clicked[1].first.X, -180 * 180);
  EXPECT_EQ(clicked[1].first.Y, -90 * 180);
  EXPECT_TRUE(clicked[1].second);
}

TEST(BatchDialog, StartNeedsHoursOrBands) {
  TBatchDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Batch Computation");
  EXPECT_TRUE(dialog.StartBtn->isEnabled());
  EXPECT_TRUE(dialog.StartBtn->isDefault());
  dialog.AllHoursBox->setChecked(false);
  EXPECT_TRUE(dialog.StartBtn->isEnabled());
  dialog.AllBandsBox->setChecked(false);
  EXPECT_FALSE(dialog.StartBtn->isEnabled());
  dialog.BothPathsBox->setChecked(true);
  EXPECT_FALSE(dialog.StartBtn->isEnabled());
  dialog.AllBandsBox->setChecked(true);
  EXPECT_TRUE(dialog.StartBtn->isEnabled());
  const TBatchOptions o = dialog.Options();
  EXPECT_FALSE(o.AllHours);
  EXPECT_TRUE(o.AllBands);
  EXPECT_TRUE(o.BothPaths);
}

TEST(ProgressDialog, CancelAndClosingAreReported) {
  TProgressDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Pre-computing Maps");
  TSpy cancel(&dialog, &TProgressDialog::CancelClicked);
  TSpy closed(&dialog, &TProgressDialog::Closed);
  dialog.show();
  dialog.findChild<QPushButton*>("CancelBtn")->click();
  EXPECT_EQ(cancel.Count, 1);
  dialog.reject();  // Escape or the title bar
  EXPECT_EQ(closed.Count, 1);
}

TEST(ProgressDialog, CountsTheMapsAndSaysTheTimeLeft) {
  TProgressDialog dialog;
  dialog.StartProgress(192, 5000);
  EXPECT_EQ(dialog.ProgressBar->maximum(), 192);
  EXPECT_EQ(dialog.ProgressText->text(), "0 of 192 maps");
  dialog.SetProgress(40, 5005);  // found in the cache
  EXPECT_EQ(dialog.ProgressBar->value(), 40);
  EXPECT_EQ(dialog.ProgressText->text(), "40 of 192 maps");
  dialog.SetProgress(48, 9005);
  EXPECT_EQ(dialog.ProgressText->text(), "48 of 192 maps, about 2 min left");
}

TEST(PreComputeDialogs, AreWideEnoughForTheirTitles) {
  // A title bar sets its caption in a bold face beside at least three
  // buttons; narrower, the window manager cuts the caption.
  auto needed = [](const QWidget& w) {
    QFont bold = w.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(w.windowTitle()) +
           3 * w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w);
  };
  TBatchDialog batch;
  TProgressDialog progress;
  for (QDialog* d : {static_cast<QDialog*>(&batch), static_cast<QDialog*>(&progress)}) {
    d->show();
    EXPECT_GE(d->width(), needed(*d)) << d->windowTitle().toStdString();
    d->hide();
  }
}

TEST(ImageFiles, QtReadsOurBitmapsAndGifsBack) {
  TMapModel map;
  map.SetData(Grid(61));
  ASSERT_TRUE(SaveBmpFile(Temp("map.bmp"), map.MapBitmap));
  QImage bmp(QString::fromStdString(Temp("map.bmp")));
  ASSERT_FALSE(bmp.isNull());
  EXPECT_EQ(FromQImage(bmp), map.MapBitmap);

  TChartFrame chart;
  ASSERT_TRUE(SaveBmpFile(Temp("chart.bmp"), chart.ChartBitmap));
  EXPECT_EQ(FromQImage(QImage(QString::fromStdString(Temp("chart.bmp")))), chart.ChartBitmap);

  map.SetStyle(msPseudo);
  ASSERT_TRUE(SaveGifFile(Temp("map.gif"), map.MapBitmap));
  QImage gif(QString::fromStdString(Temp("map.gif")));
  ASSERT_FALSE(gif.isNull());
  EXPECT_EQ(FromQImage(gif), map.MapBitmap);
}
