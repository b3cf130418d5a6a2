// TMapFrame: the world map of the Map tab with its band buttons and hour
// selector. It never runs the engine: a band or hour change asks for
// ComputeMap, and the result comes back through SetData.
#pragma once

#include <QFrame>
#include <QStringList>
#include <array>
#include <functional>

#include "common/DayCount.h"
#include "views/MapDraw.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QToolButton;

namespace vx {

class TMapFrame : public QFrame {
  Q_OBJECT
 public:
  // shared: a map kept by the window's model; null: the frame keeps its own.
  explicit TMapFrame(QWidget* parent = nullptr, TMapModel* shared = nullptr);

 private:
  TMapModel Own_;

 public:
  TMapModel& Model;  // MapStyle, MapBand, MapHour, GridCopy, NormGrid, MapBitmap

  // Set by the main window: "Show Sun", "Plot Path", the engine's last
  // inputs (year and month for the sun, the path) and the coordinate frames.
  bool ShowSun = false;
  bool PlotPath = false;
  std::function<int()> EngineYear = [] { return 0; };
  std::function<int()> EngineMonth = [] { return 1; };
  std::function<bool()> EngineLongPath = [] { return false; };
  std::function<TLocation()> HomePoint = [] { return TLocation{}; };
  std::function<TLocation()> DxPoint = [] { return TLocation{}; };
  std::function<double()> NowDays = UtcNow;
  std::function<int()> UtcHour;  // the current UTC hour (default: the clock)
  std::function<bool()> MonitorConnected = [] { return false; };

  void SetData(const TVoaGrid& grid);
  void SetStyle(TMapStyle style);
  // The picture the surface shows (MapBitmap and the overlays switched on).
  TRgbImage Surface() const;
  TReadout BoxMouseMove(int x, int y);
  void BoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void FollowClock();
  void LeftArrowClick();
  void RightArrowClick();
  void SetMapBand(int band);  // as a click on the band's button
  // Hour and band shown (the caption, the button) without asking for a map.
  void ShowHour(int hour);
  void ShowBand(int band);
  // The map just shown is a maximum: the hour box says over which hours, no
  // band button is down for a maximum over bands, and a maximum over hours
  // has no sun. The next map of one band and hour undoes it.
  void ShowMaximum(TMapMaximum maximum);
  // The band buttons, the hour, the real-time button and the picture as
  // Model holds them (changed by somebody else).
  void ShowModel();

  QString HourCaption() const;
  bool RealTime() const;
  void SetRealTime(bool down);
  QAbstractButton* BandButton(int band) const;
  QWidget* Box() const { return Box_; }
  // Shows the map at scale times its 1:1 size, each map pixel a square.
  void SetScale(int scale);
  int Scale() const;

 signals:
  void ComputeMap();
  void MapShown();  // queued, after the current handler
  void RefreshSpaceWeather();
  void LocationClicked(vx::TLocation point, bool home);
  void StatusTexts(const QStringList& panels);

 private:
  void HourChanged();
  QWidget* Box_;
  QButtonGroup* Bands_;
  QLabel* HourPanel_;
  QToolButton* RunHourBtn_;
};

}  // namespace vx
