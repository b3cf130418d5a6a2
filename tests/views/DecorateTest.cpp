// Decorated pictures: the plain chart or map inside them untouched, sizes
// that follow the scale, scales and legends that say what the picture
// shows, and the built-in font.
#include <gtest/gtest.h>

#include <set>

#include "ViewsTestUtil.h"
#include "views/ChartDraw.h"
#include "views/Decorate.h"
#include "views/MapDraw.h"
#include "views/Pictures.h"
#include "views/PixelFont.h"

using namespace vx;

namespace {

constexpr TRgb kWhite = Rgb(255, 255, 255), kBlack = Rgb(0, 0, 0);

TRgbImage Chart() {
  TPointResults r;
  for (int f = TPointResults::kMinMHz; f <= TPointResults::kMaxMHz; ++f)
    for (int h = 0; h < TPointResults::kHours; ++h) r.Snr[f][h] = float((f * 5 + h * 3) % 70 - 3);
  for (int h = 0; h < TPointResults::kHours; ++h) r.Muf[h] = float(12 + h % 9);
  TRgbImage chart;
  PaintChart(r, TChartOptions{true, true}, chart);
  return chart;
}

TMapModel Map(TMapStyle style) {
  TMapModel m;
  m.MapStyle = style;
  m.SetData(vxtest::GridOf(31, [](int i, int j) { return (i * 7 + j * 3) % 60 - 5; }));
  return m;
}

// The part of image at (x, y) the size of part.
TRgbImage Cut(const TRgbImage& image, int x, int y, int w, int h) {
  TRgbImage out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.SetPixel(i, j, image.Inside(x + i, y + j) ? image.Pixel(x + i, y + j) : TRgb{});
  return out;
}

struct TBox {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;  // inclusive
  bool Empty() const { return Right < 0; }
  friend bool operator==(const TBox&, const TBox&) = default;
};

// Where the black pixels of the region are.
TBox InkBox(const TRgbImage& image, int left, int top, int right, int bottom) {
  TBox box;
  for (int y = std::max(top, 0); y < std::min(bottom, image.Height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, image.Width); ++x)
      if (image.Pixel(x, y) == kBlack) {
        box.Left = std::min(box.Left, x), box.Right = std::max(box.Right, x);
        box.Top = std::min(box.Top, y), box.Bottom = std::max(box.Bottom, y);
      }
  return box;
}

// The colour steps of a framed legend: on the first row below `from` that
// crosses n of them, the runs between the last two black pixels.
std::vector<TRgb> LegendRow(const TRgbImage& image, int from, size_t n) {
  for (int y = from; y < image.Height; ++y) {
    int x = image.Width - 1;
    while (x > 0 && !(image.Pixel(x, y) == kBlack)) --x;
    std::vector<TRgb> runs;
    for (--x; x > 0 && !(image.Pixel(x, y) == kBlack); --x)
      if (runs.empty() || !(runs.back() == image.Pixel(x, y))) runs.push_back(image.Pixel(x, y));
    if (runs.size() == n) return {runs.rbegin(), runs.rend()};
  }
  return {};
}

uint64_t Fnv1a(const TRgbImage& image) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : image.Bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

}  // namespace

TEST(ScaleImage, EveryPixelBecomesASquareBlock) {
  const TRgbImage chart = Chart();
  for (int k : {1, 2, 3, 8}) {
    const TRgbImage big = ScaleImage(chart, k);
    ASSERT_EQ(big.Width, chart.Width * k);
    ASSERT_EQ(big.Height, chart.Height * k);
    for (int y = 0; y < big.Height; y += 5)
      for (int x = 0; x < big.Width; x += 3) ASSERT_EQ(big.Pixel(x, y), chart.Pixel(x / k, y / k)) << k;
  }
  EXPECT_EQ(ScaleImage(chart, 0), chart);
}

TEST(DecoratedPicture, HoldsThePlainPictureUnchangedAtItsPlace) {
  const TRgbImage chart = Chart();
  for (int k : {1, 2, 5, 8})
    for (bool titled : {false, true}) {
      const TPictureDecor decor{
          k, titled ? std::vector<std::string>{"Home to DX", "Mar 2008  SSN 50"} : std::vector<std::string>{}};
      const TDecoratedPicture d = DecorateChart(chart, decor);
      EXPECT_EQ(Cut(d.Image, d.X, d.Y, chart.Width * k, chart.Height * k), ScaleImage(chart, k)) << k;
      // Room for the scales on every side the chart has them.
      EXPECT_GT(d.X, TextWidth("3.5", 1));
      EXPECT_GT(d.Image.Height - d.Y - chart.Height * k, 3 * TextHeight(1));
      EXPECT_GE(d.Image.Width, d.X + chart.Width * k);
      if (titled) {
        EXPECT_GE(d.Y, 2 * kLineAdvance);
      }
    }
  for (TMapStyle style : {msColor, msGray, msPseudo}) {
    const TRgbImage map = Map(style).MapBitmap;
    for (int k : {1, 3}) {
      const TDecoratedPicture d = DecorateMap(map, style, TPictureDecor{k, {"14 MHz  12 UTC"}});
      EXPECT_EQ(Cut(d.Image, d.X, d.Y, map.Width * k, map.Height * k), ScaleImage(map, k)) << style << k;
      const TDecoratedPicture t = TitledPicture(map, TPictureDecor{k, {"14 MHz  12 UTC"}});
      EXPECT_EQ(Cut(t.Image, t.X, t.Y, map.Width * k, map.Height * k), ScaleImage(map, k));
      EXPECT_EQ(t.Y, d.Y);
    }
  }
  // Scales past the range are held to it.
  EXPECT_EQ(DecorateChart(chart, TPictureDecor{40, {}}).Image, DecorateChart(chart, TPictureDecor{8, {}}).Image);
}

TEST(DecoratedPicture, TitleLinesWidenThePictureAndShiftNothingSideways) {
  const TRgbImage map = Map(msPseudo).MapBitmap;
  const std::string wide(100, 'W');
  const TDecoratedPicture plain = DecorateMap(map, msPseudo, {});
  const TDecoratedPicture titled = DecorateMap(map, msPseudo, TPictureDecor{1, {wide, "second"}});
  EXPECT_EQ(titled.X, plain.X);
  EXPECT_GE(titled.Image.Width, TextWidth(wide) + 2);
  EXPECT_EQ(titled.Image.Height - titled.Y, plain.Image.Height - plain.Y);
  // Both lines are written, one below the other, above the map.
  const TBox first = InkBox(titled.Image, 0, 0, titled.Image.Width, titled.Y / 2);
  const TBox all = InkBox(titled.Image, 0, 0, titled.Image.Width, titled.Y);
  EXPECT_EQ(first.Right - first.Left + 1, TextWidth(wide));
  EXPECT_GT(all.Bottom, first.Bottom + kGlyphHeight / 2);
  EXPECT_LT(all.Bottom, titled.Y);
}

TEST(ChartScales, LabelsSitAtTheirHoursAndBandLines) {
  const TRgbImage chart = Chart();
  for (int k : {1, 2, 4}) {
    const TDecoratedPicture d = DecorateChart(chart, TPictureDecor{k, {}});
    const int bottom = d.Y + chart.Height * k, t = (k + 1) / 2;
    for (int hour : {3, 12, 21}) {
      const int x = d.X + CellX(hour) * k;
      // Below the tick: the label alone in a band as wide as two hours.
      const TBox label = InkBox(d.Image, x - 14 * k, bottom + 5 * t, x + 14 * k, bottom + 12 * t);
      ASSERT_FALSE(label.Empty()) << hour;
      EXPECT_LE(std::abs((label.Left + label.Right) / 2 - x), k) << hour << " at " << k;
    }
    for (float band : {7.0f, 14.0f, 28.0f}) {
      const int y = d.Y + CellY(band) * k + k / 2;
      const TBox label = InkBox(d.Image, d.X - 20 * k, y - 3 * k - 2, d.X - 1, y + 3 * k + 3);
      ASSERT_FALSE(label.Empty()) << band;
      EXPECT_LE(std::abs((label.Top + label.Bottom) / 2 - y), k) << band << " at " << k;
      EXPECT_LT(label.Right, d.X);
    }
  }
}

TEST(ChartScales, TheColourScaleShowsTheChartsColoursInOrder) {
  const TRgbImage chart = Chart();
  const TDecoratedPicture d = DecorateChart(chart, TPictureDecor{2, {}});
  const auto runs = LegendRow(d.Image, d.Y + chart.Height * 2, 64);
  ASSERT_EQ(runs.size(), 64u);
  for (int db = 0; db < 64; ++db) EXPECT_EQ(runs[size_t(db)], ColorRamp()[size_t(db)]) << db;
}

TEST(MapLegend, EachStepIsTheColourTheMapDrawsForItsSnr) {
  // A map of one SNR over a white ground is the legend's colour for it.
  const TRgbImage white(kMapWidth, kMapHeight, kWhite);
  for (TMapStyle style : {msColor, msGray, msPseudo}) {
    const TDecoratedPicture d = DecorateMap(Map(style).MapBitmap, style, {});
    const auto runs = LegendRow(d.Image, d.Y + kMapHeight, kMapTopLevel + 1);
    ASSERT_EQ(runs.size(), size_t(kMapTopLevel + 1)) << style;
    for (int level = 0; level <= kMapTopLevel; ++level) {
      TRgbImage map;
      RenderMap(BuildNormGrid(vxtest::GridOf(16, [&](int, int) { return level * kMapLevelDb; })), style, white, white,
                map);
      EXPECT_EQ(runs[size_t(level)], map.Pixel(100, 100)) << style << " level " << level;
    }
  }
}

// Fixed inputs, fixed pixels: a change here is a change users see in every
// saved picture.
TEST(DecoratedPicture, KnownPixels) {
  const TDecoratedPicture d = DecorateChart(Chart(), TPictureDecor{2, {"44\xB0 N   79\xB0 W", "Mar 2008  SSN 50"}});
  EXPECT_EQ(d.Image.Width, 715);
  EXPECT_EQ(d.Image.Height, 490);
  EXPECT_EQ(Fnv1a(d.Image), 18500804117039639u);
}

TEST(PixelFont, EveryCharacterHasAGlyphOfItsOwn) {
  std::set<std::vector<uint8_t>> seen;
  for (int c = 33; c <= 126; ++c) {
    TRgbImage cell(kGlyphWidth, kGlyphHeight, kWhite);
    DrawText(cell, 0, 0, std::string(1, char(c)), kBlack);
    EXPECT_GT(vxtest::CountColour(cell, kBlack), 0) << char(c);
    EXPECT_TRUE(seen.insert(cell.Bytes).second) << "'" << char(c) << "' looks like another character";
  }
  TRgbImage degree(6, 8, kWhite), unknown(6, 8, kWhite), question(6, 8, kWhite);
  DrawText(degree, 0, 0, "\xB0", kBlack);
  DrawText(unknown, 0, 0, "\x80", kBlack);
  DrawText(question, 0, 0, "?", kBlack);
  EXPECT_EQ(unknown, question);
  EXPECT_EQ(seen.count(degree.Bytes), 0u);
  EXPECT_GT(vxtest::CountColour(degree, kBlack), 0);
}

TEST(PixelFont, SizesAndTurnedText) {
  EXPECT_EQ(TextWidth(""), 0);
  EXPECT_EQ(TextWidth("A"), kGlyphWidth);
  EXPECT_EQ(TextWidth("MHz", 3), 3 * (3 * kGlyphAdvance - 1));
  // The ink of a rendered label fills the box the metrics promise, at any size.
  for (int size : {1, 2, 4}) {
    TRgbImage img(200, 60, kWhite);
    DrawText(img, 10, 20, "UTC 24", kBlack, size);
    EXPECT_EQ(InkBox(img, 0, 0, 200, 60),
              (TBox{10, 20, 10 + TextWidth("UTC 24", size) - 1, 20 + TextHeight(size) - 1}));
  }
  // Turned a quarter left: the last letter on top, read upwards.
  TRgbImage flat(40, 20, kWhite), up(20, 40, kWhite);
  DrawText(flat, 0, 0, "MHz", kBlack, 2);
  DrawTextUp(up, 0, 0, "MHz", kBlack, 2);
  const int w = TextWidth("MHz", 2);
  for (int y = 0; y < TextHeight(2); ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(flat.Pixel(x, y), up.Pixel(y, w - 1 - x)) << x << "," << y;
  // Clipped, never written out of bounds.
  TRgbImage small(4, 4, kWhite);
  DrawText(small, -3, -3, "WW", kBlack, 3);
  DrawTextUp(small, 2, 2, "WW", kBlack, 3);
  EXPECT_EQ(small.Bytes.size(), 48u);
}
