// "Save Image...": asks for a file name and writes the picture as a Windows
// bitmap, whatever extension was typed.
#pragma once

#include <QString>

#include "views/Raster.h"

class QWidget;

namespace vx {

inline const char* const kSaveImageTitle = "Save image";
inline const char* const kSaveImageFilter = "Bitmap files (*.bmp);;All files (*.*)";

// False when the user cancelled or the file could not be written (then a
// message box says so).
bool SaveImageMNUClick(QWidget* parent, const TRgbImage& image);

}  // namespace vx
