// Reading back the animations the GIF writer makes: the block structure
// walked byte by byte (frames, delays, loop count), and the pictures
// through giflib's own decoder.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "views/Raster.h"

namespace vxtest {

struct TGifBlocks {
  bool Valid = false;
  std::string Version;      // "GIF87a" or "GIF89a"
  int Loops = -1;           // the application extension's count; -1 without one
  std::vector<int> Delays;  // per frame, from the graphic control extension before it (-1 without)
  int Frames = 0;
};

inline TGifBlocks WalkGifBlocks(std::string_view b) {
  TGifBlocks out;
  auto byte = [&](size_t i) { return i < b.size() ? int(static_cast<unsigned char>(b[i])) : -1; };
  if (b.size() < 13) return out;
  out.Version = std::string(b.substr(0, 6));
  size_t at = 13;
  if (byte(10) & 0x80) at += 3u << ((byte(10) & 7) + 1);
  // Sub-blocks from at to their empty terminator; false when cut short.
  auto skipBlocks = [&](size_t& i) {
    while (byte(i) > 0) i += size_t(byte(i)) + 1;
    return byte(i++) == 0;
  };
  int pendingDelay = -1;
  while (at < b.size()) {
    const int kind = byte(at++);
    if (kind == 0x3B) {
      out.Valid = true;
      return out;
    }
    if (kind == 0x21) {
      const int label = byte(at++);
      if (label == 0xF9 && byte(at) == 4) pendingDelay = byte(at + 2) | byte(at + 3) << 8;
      if (label == 0xFF && byte(at) == 11 && b.substr(at + 1, 11) == "NETSCAPE2.0" && byte(at + 12) == 3 &&
          byte(at + 13) == 1)
        out.Loops = byte(at + 14) | byte(at + 15) << 8;
      if (!skipBlocks(at)) return out;
    } else if (kind == 0x2C) {
      const int packed = byte(at + 8);
      at += 9;
      if (packed & 0x80) at += 3u << ((packed & 7) + 1);
      ++at;  // LZW code size
      if (!skipBlocks(at)) return out;
      ++out.Frames;
      out.Delays.push_back(pendingDelay);
      pendingDelay = -1;
    } else {
      return out;
    }
  }
  return out;
}

struct TGifStringReader {
  std::string_view Bytes;
  size_t At = 0;
};

inline int ReadGifFromString(GifFileType* gif, GifByteType* out, int n) {
  auto* r = static_cast<TGifStringReader*>(gif->UserData);
  const size_t take = std::min(size_t(n), r->Bytes.size() - r->At);
  std::copy_n(r->Bytes.data() + r->At, take, out);
  r->At += take;
  return int(take);
}

// Every frame as giflib decodes it (local colour table, else the global one).
inline std::vector<vx::TRgbImage> DecodeGifFrames(const std::string& bytes) {
  TGifStringReader reader{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadGifFromString, &error);
  std::vector<vx::TRgbImage> frames;
  if (!gif) return frames;
  if (DGifSlurp(gif) == GIF_OK)
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& img = gif->SavedImages[i];
      const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
      const int w = img.ImageDesc.Width, h = img.ImageDesc.Height;
      vx::TRgbImage out(w, h);
      for (int y = 0; map && y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const GifColorType c = map->Colors[img.RasterBits[size_t(y) * w + x]];
          out.SetPixel(x, y, vx::Rgb(c.Red, c.Green, c.Blue));
        }
      frames.push_back(out);
    }
  DGifCloseFile(gif, &error);
  return frames;
}

}  // namespace vxtest
