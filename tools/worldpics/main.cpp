// worldpics EARTH_JPG MWDBII_FOLDER OUT_FOLDER
// Writes ColorImage.bmp, MonoImage.bmp and SunImage.bmp for the map view.
// The inputs come from Debian's xplanet-images (earth.jpg) and
// marble-qt-data (PCOAST.PNT, PISLAND.PNT, PLAKE.PNT); the outputs are
// committed under data/pictures/, so only a refresh needs those packages.
#include <QImage>
#include <iostream>

#include "WorldPics.h"
#include "common/FileUtil.h"
#include "views/BmpFile.h"

using namespace vx;

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: worldpics EARTH_JPG MWDBII_FOLDER OUT_FOLDER\n";
    return 2;
  }
  const std::string out = JoinPath(argv[3], "");
  QImage earth(QString::fromLocal8Bit(argv[1]));
  if (earth.isNull()) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  earth = earth.convertToFormat(QImage::Format_RGB888);
  TRgbImage big(earth.width(), earth.height());
  for (int y = 0; y < earth.height(); ++y) std::copy_n(earth.constScanLine(y), size_t(earth.width()) * 3, big.Row(y));
  TIndexedImage colour;
  if (!QuantizeImage(worldpics::AreaAverage(big, 360, 180), colour)) return 1;

  TRgbImage mono(360, 180, Rgb(255, 255, 255));
  for (const char* name : {"PCOAST.PNT", "PISLAND.PNT", "PLAKE.PNT"}) {
    auto bytes = ReadWholeFile(JoinPath(argv[2], name));
    if (!bytes) {
      std::cerr << "cannot read " << JoinPath(argv[2], name) << "\n";
      return 1;
    }
    worldpics::DrawOutlines(mono, worldpics::ParsePnt(*bytes), Rgb(0, 0, 0));
  }
  // Palette entry 0 white: the ground, which the pseudo-colour style keys out.
  TIndexedImage monoIndexed;
  mono.SetPixel(0, 179, Rgb(255, 255, 255));
  monoIndexed.Width = 360, monoIndexed.Height = 180;
  monoIndexed.Palette = {Rgb(255, 255, 255), Rgb(0, 0, 0)};
  for (int y = 0; y < 180; ++y)
    for (int x = 0; x < 360; ++x) monoIndexed.Indices.push_back(mono.Pixel(x, y) == Rgb(0, 0, 0) ? 1 : 0);

  MakeDirectories(out);
  bool ok = WriteFileAtomic(out + "ColorImage.bmp", worldpics::EncodeIndexedBmp(colour)) &&
            WriteFileAtomic(out + "MonoImage.bmp", worldpics::EncodeIndexedBmp(monoIndexed)) &&
            SaveBmpFile(out + "SunImage.bmp", worldpics::MakeSunImage());
  if (!ok) std::cerr << "cannot write into " << out << "\n";
  return ok ? 0 : 1;
}
