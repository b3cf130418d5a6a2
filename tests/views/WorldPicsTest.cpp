// The picture generator on synthetic input.
#include <gtest/gtest.h>

#include "ViewsTestUtil.h"
#include "WorldPics.h"
#include "common/LittleEndian.h"
#include "views/BmpFile.h"

using namespace vx;
using namespace vx::worldpics;

namespace {

std::string Record(int code, int latMinutes, int lonMinutes) {
  std::string s;
  for (int v : {code, latMinutes, lonMinutes}) AppendLE16(s, static_cast<uint16_t>(v));
  return s;
}

}  // namespace

TEST(WorldPics, AreaAverageWeighsPartlyCoveredPixels) {
  TRgbImage src(3, 1);
  src.SetPixel(0, 0, Rgb(0, 0, 0));
  src.SetPixel(1, 0, Rgb(100, 200, 30));
  src.SetPixel(2, 0, Rgb(200, 0, 90));
  const TRgbImage out = AreaAverage(src, 2, 1);
  // Left: pixel 0 and half of pixel 1, over 1.5 pixels.
  EXPECT_EQ(out.Pixel(0, 0), Rgb(33, 67, 10));
  EXPECT_EQ(out.Pixel(1, 0), Rgb(167, 67, 70));
  // Whole blocks average plainly; a flat picture stays flat.
  TRgbImage flat(2048, 1024, Rgb(10, 20, 30));
  EXPECT_EQ(AreaAverage(flat, 360, 180), TRgbImage(360, 180, Rgb(10, 20, 30)));
}

TEST(WorldPics, PntRecordsSplitIntoLineStrings) {
  const std::string bytes = Record(1001, 60, -120) + Record(1, 120, -60) + Record(2, 180, 0) + Record(1002, -300, 600) +
                            Record(1, -360, 660) + "x";  // a stray byte is ignored
  auto lines = ParsePnt(bytes);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].size(), 3u);
  EXPECT_DOUBLE_EQ(lines[0][0].Lat, 1.0);
  EXPECT_DOUBLE_EQ(lines[0][0].Lon, -2.0);
  EXPECT_DOUBLE_EQ(lines[1][1].Lat, -6.0);
  EXPECT_DOUBLE_EQ(lines[1][1].Lon, 11.0);
}

TEST(WorldPics, OutlinesCrossTheDateLineAtTheEdges) {
  TRgbImage img(360, 180, Rgb(255, 255, 255));
  // 179.5° E to 179.5° W along 10.5° N, then a short step east.
  DrawOutlines(img, {{{10.5, 179.5}, {10.5, -179.5}}, {{-0.5, 0.5}, {-0.5, 3.5}}}, Rgb(0, 0, 0));
  EXPECT_EQ(img.Pixel(359, 79), Rgb(0, 0, 0));
  EXPECT_EQ(img.Pixel(0, 79), Rgb(0, 0, 0));
  for (int x = 1; x < 359; ++x) EXPECT_EQ(img.Pixel(x, 79), Rgb(255, 255, 255)) << x;
  for (int x = 180; x <= 183; ++x) EXPECT_EQ(img.Pixel(x, 90), Rgb(0, 0, 0)) << x;
  EXPECT_EQ(vxtest::CountColour(img, Rgb(0, 0, 0)), 6);
}

TEST(WorldPics, IndexedBitmapsReadBack) {
  TIndexedImage two{5, 3, {Rgb(255, 255, 255), Rgb(0, 0, 0)}, std::vector<uint8_t>(15, 0)};
  two.Indices[7] = 1;
  const std::string b1 = EncodeIndexedBmp(two);
  EXPECT_EQ(uint8_t(b1[28]), 1);
  auto img = DecodeBmp(b1);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->Pixel(2, 1), Rgb(0, 0, 0));
  EXPECT_EQ(vxtest::CountColour(*img, Rgb(255, 255, 255)), 14);

  TIndexedImage many{4, 2, {}, {0, 1, 2, 3, 4, 5, 6, 7}};
  for (int i = 0; i < 8; ++i) many.Palette.push_back(Rgb(uint8_t(i * 30), 7, 9));
  auto back = DecodeBmp(EncodeIndexedBmp(many));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Pixel(3, 1), Rgb(210, 7, 9));
}

TEST(WorldPics, SunMarkerHasAKeyedGround) {
  const TRgbImage sun = MakeSunImage();
  EXPECT_EQ(sun.Width, 9);
  EXPECT_EQ(sun.Pixel(0, 8), sun.Pixel(0, 0));
  EXPECT_EQ(sun.Pixel(4, 4), Rgb(255, 255, 0));
  EXPECT_NE(sun.Pixel(0, 4), sun.Pixel(0, 8));  // the rim reaches the box's sides
}
