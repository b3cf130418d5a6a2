#include "views/SaveImg.h"

#include <QFileDialog>
#include <QMessageBox>

#include "views/BmpFile.h"

namespace vx {

bool SaveImageMNUClick(QWidget* parent, const TRgbImage& image) {
  QFileDialog dialog(parent, kSaveImageTitle, QString(), kSaveImageFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("bmp");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString file = dialog.selectedFiles().first();
  if (SaveBmpFile(file.toStdString(), image)) return true;
  // A failed write must not pass silently.
  QMessageBox::warning(parent, kSaveImageTitle, "Cannot write " + file);
  return false;
}

}  // namespace vx
