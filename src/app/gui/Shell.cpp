#include "app/gui/Shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>

#include "views/SaveImg.h"

namespace vx {

bool TQtShell::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

void TQtShell::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QApplication::applicationName(), text);
}

bool TQtShell::RunModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

bool TQtShell::SaveImage(QWidget* parent, const TRgbImage& image) { return SaveImageMNUClick(parent, image); }

void TQtShell::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace vx
