#include "views/SaveImg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "common/UserFile.h"
#include "views/BmpFile.h"
#include "views/QtImage.h"

namespace vx {

TImageFormat ImageFormatFor(const QString& file, const QString& selectedFilter) {
  if (file.endsWith(".png", Qt::CaseInsensitive)) return TImageFormat::ifPng;
  if (file.endsWith(".bmp", Qt::CaseInsensitive)) return TImageFormat::ifBmp;
  return selectedFilter == kBmpFilter ? TImageFormat::ifBmp : TImageFormat::ifPng;
}

bool WriteImageFile(const QString& file, TImageFormat format, const TRgbImage& image, std::string& error) {
  const std::string path = QFile::encodeName(file).toStdString();
  const std::string bytes = format == TImageFormat::ifPng ? EncodePng(image) : EncodeBmp24(image);
  if (bytes.empty()) {
    error = "Cannot write " + file.toStdString() + ": the image could not be encoded";
    return false;
  }
  return WriteUserFile(path, bytes, error);
}

QString ImageFolder() {
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures;
  return QDir::homePath();
}

void SetUpSaveImageDialog(QFileDialog& dialog) {
  dialog.setWindowTitle(kSaveImageTitle);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDirectory(ImageFolder());
  dialog.setNameFilters({kPngFilter, kBmpFilter});
  dialog.selectNameFilter(kPngFilter);
}

QString WithImageSuffix(const QString& file, TImageFormat format) {
  if (file.endsWith(".png", Qt::CaseInsensitive) || file.endsWith(".bmp", Qt::CaseInsensitive)) return file;
  return file + (format == TImageFormat::ifBmp ? ".bmp" : ".png");
}

bool SaveImageMNUClick(QWidget* parent, const TRgbImage& image) {
  QFileDialog dialog(parent);
  SetUpSaveImageDialog(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const TImageFormat format = ImageFormatFor(dialog.selectedFiles().first(), dialog.selectedNameFilter());
  const QString file = WithImageSuffix(dialog.selectedFiles().first(), format);
  std::string error;
  if (WriteImageFile(file, format, image, error)) return true;
  // A failed write must not pass silently.
  QMessageBox::warning(parent, kSaveImageTitle, QString::fromStdString(error));
  return false;
}

}  // namespace vx
