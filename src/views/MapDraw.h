// The world map as pixels: the area grid blended into a background picture
// in one of three styles, the day/night terminator and the great-circle
// path drawn over a copy, and the texts shown for the point under the
// mouse. TMapModel holds what TMapFrame shows; it has no Qt so that tests,
// benchmarks and vantor-cli render exactly what the window does.
#pragma once

#include <array>
#include <vector>

#include "engine/VoaTypes.h"
#include "geo/CoordFrm.h"
#include "geo/MyMath.h"
#include "views/ChartDraw.h"
#include "views/Raster.h"

namespace vx {

inline constexpr int kMapWidth = 360;
inline constexpr int kMapHeight = 180;

enum TMapStyle : int { msColor = 0, msGray = 1, msPseudo = 2 };

// Grey for nothing, then blue through green, yellow and red to pink.
const std::array<TRgb, 12>& PseudoPalette();

// The grid is drawn in levels of 5 dB: level n for n x 5 dB, 0 to 10.
inline constexpr int kMapLevelDb = 5;
inline constexpr int kMapTopLevel = 10;
// A background pixel as the colour and gray styles darken it at a level.
TRgb ShadeColor(TRgb background, int level);

// SNR / 50 clamped to 0..1, [column][row] with row 0 in the north.
struct TNormGrid {
  int N = 0;
  std::vector<float> Values;  // Values[i * N + row]
  bool Empty() const { return N == 0; }
  float At(int i, int row) const { return Values[size_t(i) * N + row]; }
};
TNormGrid BuildNormGrid(const TVoaGrid& grid);

// Background (ColorImage for msColor, MonoImage otherwise), then the grid
// bilinearly smoothed in 5 dB steps. out becomes 360 x 180.
void RenderMap(const TNormGrid& norm, TMapStyle style, const TRgbImage& colorImage, const TRgbImage& monoImage,
               TRgbImage& out);

// Pixels of a point in radians (x 0..360, y 0..180: one past the edge at
// 180° E and 90° S, which drawing clips).
int MapPixelX(float lon);
int MapPixelY(float lat);
// The point of a surface pixel in 1/180 degree.
TLocation PixelToLocation(int x, int y);
TGeoPoint LocationToGeo(TLocation p);

// A line to (x, y) that, when it would cross the whole map, leaves one edge
// and enters the other instead.
void LineWrap(TRaster& canvas, int x, int y);

// The moment the terminator is drawn for: mid-month at the map hour's half
// hour when a prediction set the year, else now.
double SunTime(int year, int month, int mapHour, double nowDays);

void DrawSunOverlay(TRgbImage& screen, double time);
void DrawPathOverlay(TRgbImage& screen, TLocation home, TLocation dx, bool longPath);

// What a map shows: one band at one hour, or the largest SNR over the hours,
// the bands or both (such a grid has no elevation, mode or MUF).
enum TMapMaximum : int { mmNone = -1, mmHours = 0, mmBands = 1, mmBoth = 2 };

// Status bar texts for (x, y) of the map; all empty off the map or without
// a grid. A maximum map reads " Max. SNR ..." and leaves the fields it does
// not have empty.
TReadout MapReadout(const TVoaGrid& grid, int x, int y, TMapMaximum maximum = mmNone);

struct TMapOverlays {
  bool Sun = false;
  double SunTime = 0;
  bool Path = false;
  TLocation Home, Dx;
  bool LongPath = false;
};

class TMapModel {
 public:
  TMapModel();
  TMapStyle MapStyle = msColor;
  int MapBand = 3;  // 14 MHz
  int MapHour = 0;
  TVoaGrid GridCopy;
  TNormGrid NormGrid;
  TRgbImage MapBitmap;           // without overlays
  TMapMaximum Maximum = mmNone;  // set after SetData for a maximum map
  bool RealTime = false;         // the hour follows the clock

  // An empty grid clears the map to its background; the map is one band at
  // one hour until Maximum is set.
  void SetData(const TVoaGrid& grid);
  void SetStyle(TMapStyle style);
  void RenderMap();
  // MapBitmap with the overlays asked for, as the surface shows it.
  TRgbImage Compose(const TMapOverlays& overlays) const;
  TReadout Readout(int x, int y) const { return MapReadout(GridCopy, x, y, Maximum); }
};

}  // namespace vx
