// A small built-in bitmap font (5 x 7 pixels in a 6 x 8 cell) for the text
// drawn into saved pictures: axis labels, legends and title lines. Text is
// Windows-1252 bytes; printable ASCII and the degree sign have glyphs, other
// bytes draw as '?'. A size of n draws every font pixel as an n x n block.
#pragma once

#include <string_view>

#include "views/Raster.h"

namespace vx {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;  // one empty column between letters
inline constexpr int kLineAdvance = 8;   // one empty row between lines

// Width of the ink of text at the size: no trailing gap.
int TextWidth(std::string_view text, int size = 1);
inline int TextHeight(int size = 1) { return kGlyphHeight * size; }

// Draws text with the top-left corner of its first glyph at (x, y); only the
// glyphs' pixels are set, so the ground shows through. Clipped at the edges.
void DrawText(TRgbImage& image, int x, int y, std::string_view text, TRgb color, int size = 1);
// The same text turned a quarter left, read from bottom to top; (x, y) is
// the top-left corner of its box, TextHeight wide and TextWidth high.
void DrawTextUp(TRgbImage& image, int x, int y, std::string_view text, TRgb color, int size = 1);

}  // namespace vx
