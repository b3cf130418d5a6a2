// "Save Image...": asks for a file name and writes the picture as PNG or as
// a Windows bitmap, the format the name's extension or the chosen filter
// asks for. The dialog opens in the user's Pictures folder (home without one).
#pragma once

#include <QString>
#include <string>

#include "views/Raster.h"

class QFileDialog;
class QWidget;

namespace vx {

inline const char* const kSaveImageTitle = "Save image";
inline const char* const kPngFilter = "PNG images (*.png)";
inline const char* const kBmpFilter = "Bitmap files (*.bmp)";

enum class TImageFormat { ifPng, ifBmp };

// ".png" or ".bmp" at the end of the name (any case) decides; otherwise the
// filter chosen in the dialog does.
TImageFormat ImageFormatFor(const QString& file, const QString& selectedFilter);
// The same pixels in either format; false with the reason (naming the file).
bool WriteImageFile(const QString& file, TImageFormat format, const TRgbImage& image, std::string& error);
// Where the dialog opens: the user's Pictures folder when there is one, else home.
QString ImageFolder();

// The dialog, set up but not shown: PNG first.
void SetUpSaveImageDialog(QFileDialog& dialog);
// A name without ".png" or ".bmp" gets the one of its format ("map" -> "map.png").
QString WithImageSuffix(const QString& file, TImageFormat format);

// False when the user cancelled or the file could not be written (then a
// message box says so).
bool SaveImageMNUClick(QWidget* parent, const TRgbImage& image);

}  // namespace vx
