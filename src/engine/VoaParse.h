// Readers of the outside program's outputs. Both read by column, never by
// splitting on blanks: neighbouring values may touch ("-2189-1571").
#pragma once

#include <string_view>

#include "engine/VoaTypes.h"

namespace vx {

// Point-to-point output ("FREQUENCY -1" sweeps). Fills the arrays cell by
// cell; on an unreadable number or a block cut short returns vsOutputError
// and keeps what was stored until then. Frequencies and hours outside the
// arrays are skipped.
TVoaStatus ParsePointText(std::string_view text, TPointResults& out);

// Area output (.vg1). Replaces grid by an n x n grid (n = 16, 31 or 61) and
// fills the cells the data lines name; vsOutputError for a bad size, an index
// outside the grid or an unreadable number (cells filled until then stay).
TVoaStatus ParseAreaText(std::string_view text, TVoaGrid& grid);

}  // namespace vx
