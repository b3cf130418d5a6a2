// The map resolution as the window's radio group, the automation property
// and the settings file number it (0 High, 1 Medium, 2 Low), and the
// engine's grid size (points per side) each stands for.
#pragma once

namespace vx {

// 0 for an index that is no resolution.
constexpr int GridSizeOfResolution(int resolution) {
  switch (resolution) {
    case 0: return 61;
    case 1: return 31;
    case 2: return 16;
    default: return 0;
  }
}

// -1 for a size the engine does not compute.
constexpr int ResolutionOfGridSize(int gridSize) {
  switch (gridSize) {
    case 61: return 0;
    case 31: return 1;
    case 16: return 2;
    default: return -1;
  }
}

}  // namespace vx
