#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "GifFrames.h"
#include "ViewsTestUtil.h"
#include "views/BmpFile.h"
#include "views/GifWriter.h"
#include "views/MapDraw.h"

using namespace vx;

namespace {

struct TReader {
  std::string_view Bytes;
  size_t At = 0;
};

int ReadFromString(GifFileType* gif, GifByteType* out, int n) {
  auto* r = static_cast<TReader*>(gif->UserData);
  const size_t take = std::min(size_t(n), r->Bytes.size() - r->At);
  std::copy_n(r->Bytes.data() + r->At, take, out);
  r->At += take;
  return int(take);
}

// giflib's own decoder; the picture and the number of colours in its table.
TRgbImage DecodeWithGiflib(const std::string& bytes, int& colours) {
  TReader reader{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromString, &error);
  TRgbImage out;
  if (!gif) return out;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
    const ColorMapObject* map = gif->SColorMap;
    colours = map->ColorCount;
    out.Resize(gif->SWidth, gif->SHeight);
    const SavedImage& img = gif->SavedImages[0];
    for (int y = 0; y < gif->SHeight; ++y)
      for (int x = 0; x < gif->SWidth; ++x) {
        const GifColorType c = map->Colors[img.RasterBits[size_t(y) * gif->SWidth + x]];
        out.SetPixel(x, y, Rgb(c.Red, c.Green, c.Blue));
      }
  }
  DGifCloseFile(gif, &error);
  return out;
}

TMapModel Map(TMapStyle style) {
  TMapModel m;
  m.MapStyle = style;
  m.SetData(vxtest::GridOf(31, [](int i, int j) { return (i * 7 + j * 3) % 60 - 5; }));
  return m;
}

}  // namespace

TEST(BmpFile, WritesBottomUpRowsAndReadsThemBack) {
  TRgbImage img(3, 2);
  img.SetPixel(0, 0, Rgb(1, 2, 3));
  img.SetPixel(2, 1, Rgb(250, 251, 252));
  const std::string b = EncodeBmp24(img);
  // 3 pixels = 9 bytes, padded to 12 per row.
  ASSERT_EQ(b.size(), 54u + 24u);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(uint8_t(b[28]), 24);
  // The bottom row comes first, blue-green-red.
  EXPECT_EQ(uint8_t(b[54 + 6]), 252);
  EXPECT_EQ(uint8_t(b[54 + 8]), 250);
  EXPECT_EQ(uint8_t(b[54 + 12]), 3);
  auto back = DecodeBmp(b);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, img);

  const TMapModel m = Map(msColor);
  EXPECT_EQ(*DecodeBmp(EncodeBmp24(m.MapBitmap)), m.MapBitmap);
}

TEST(BmpFile, RejectsTruncatedAndUnsupportedFiles) {
  TRgbImage img(10, 10, Rgb(9, 9, 9));
  std::string b = EncodeBmp24(img);
  EXPECT_FALSE(DecodeBmp(b.substr(0, b.size() - 1)));
  EXPECT_FALSE(DecodeBmp(b.substr(0, 40)));
  std::string rle = b;
  rle[30] = 1;  // compressed
  EXPECT_FALSE(DecodeBmp(rle));
  std::string huge = b;
  huge[18] = char(0xFF), huge[19] = char(0xFF), huge[20] = char(0xFF), huge[21] = char(0x7F);
  EXPECT_FALSE(DecodeBmp(huge));
}

TEST(GifWriter, FewColoursAreKeptExactly) {
  for (TMapStyle style : {msGray, msPseudo}) {
    const TMapModel m = Map(style);
    auto gif = EncodeGif(m.MapBitmap);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->substr(0, 6), "GIF87a");
    int colours = 0;
    EXPECT_EQ(DecodeWithGiflib(*gif, colours), m.MapBitmap) << style;
    EXPECT_LE(colours, 256);
  }
}

TEST(GifWriter, ColourMapsAreQuantizedToAPalette) {
  const TMapModel m = Map(msColor);
  TIndexedImage exact;
  EXPECT_FALSE(ExactPalette(m.MapBitmap, exact));  // more than 256 colours
  auto gif = EncodeGif(m.MapBitmap);
  ASSERT_TRUE(gif);
  int colours = 0;
  const TRgbImage back = DecodeWithGiflib(*gif, colours);
  ASSERT_EQ(back.Width, 360);
  ASSERT_EQ(back.Height, 180);
  EXPECT_EQ(colours, 256);
  // The median cut works on 5 bits per channel: every pixel lands near its
  // colour, and on average very near.
  long long sum = 0;
  int worst = 0;
  for (size_t i = 0; i < back.Bytes.size(); ++i) {
    const int d = std::abs(int(back.Bytes[i]) - int(m.MapBitmap.Bytes[i]));
    sum += d;
    worst = std::max(worst, d);
  }
  EXPECT_LT(double(sum) / double(back.Bytes.size()), 5.0);
  EXPECT_LT(worst, 48);
}

TEST(GifWriter, SavesOverAnExistingFile) {
  const std::string dir = vxtest::FreshFolder("gif");
  WriteWholeFile(dir + "a.gif", "old");
  ASSERT_TRUE(SaveGifFile(dir + "a.gif", Map(msPseudo).MapBitmap));
  EXPECT_EQ(ReadWholeFile(dir + "a.gif")->substr(0, 3), "GIF");
  EXPECT_FALSE(SaveGifFile(dir + "no-such-folder/a.gif", Map(msPseudo).MapBitmap));
  EXPECT_FALSE(EncodeGif(TRgbImage()));
}

TEST(GifWriter, AnimationsRepeatTheirFramesWithTheGivenDelay) {
  const std::vector<TRgbImage> frames = {Map(msPseudo).MapBitmap, Map(msGray).MapBitmap, Map(msPseudo).MapBitmap};
  auto gif = EncodeAnimatedGif(frames, 35);
  ASSERT_TRUE(gif);
  const vxtest::TGifBlocks blocks = vxtest::WalkGifBlocks(*gif);
  EXPECT_TRUE(blocks.Valid);
  EXPECT_EQ(blocks.Version, "GIF89a");
  EXPECT_EQ(blocks.Loops, 0);  // for ever
  EXPECT_EQ(blocks.Frames, 3);
  EXPECT_EQ(blocks.Delays, (std::vector<int>{35, 35, 35}));
  // Each frame keeps its own colours exactly.
  EXPECT_EQ(vxtest::DecodeGifFrames(*gif), frames);
  // A colour map goes through the quantizer, frame by frame.
  auto colour = EncodeAnimatedGif({Map(msColor).MapBitmap, Map(msPseudo).MapBitmap}, 100);
  ASSERT_TRUE(colour);
  const auto back = vxtest::DecodeGifFrames(*colour);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1], Map(msPseudo).MapBitmap);
  EXPECT_EQ(vxtest::WalkGifBlocks(*colour).Delays, (std::vector<int>{100, 100}));

  // What cannot be one animation.
  EXPECT_FALSE(EncodeAnimatedGif({}, 10));
  EXPECT_FALSE(EncodeAnimatedGif({frames[0], TRgbImage(10, 10)}, 10));
  EXPECT_FALSE(EncodeAnimatedGif({frames[0]}, -1));
  const std::string dir = vxtest::FreshFolder("animation");
  EXPECT_TRUE(SaveAnimatedGifFile(dir + "a.gif", frames, 50));
  EXPECT_FALSE(SaveAnimatedGifFile(dir + "no-such-folder/a.gif", frames, 50));
}

// The single pictures of "Generate GIF's" stay the files they always were.
TEST(GifWriter, SinglePicturesAreUnchanged) {
  auto gif = EncodeGif(Map(msPseudo).MapBitmap);
  ASSERT_TRUE(gif);
  const vxtest::TGifBlocks blocks = vxtest::WalkGifBlocks(*gif);
  EXPECT_TRUE(blocks.Valid);
  EXPECT_EQ(blocks.Frames, 1);
  EXPECT_EQ(blocks.Loops, -1);
  EXPECT_EQ(blocks.Delays, (std::vector<int>{-1}));
}
