#include "gui/Shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>
#include <iostream>

#include "common/QtText.h"
#include "views/SaveImg.h"

namespace vx {

namespace {

// Messages name files, commands and web addresses: their text can be
// selected and copied.
int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preferred) {
  QMessageBox box(icon, title, text, buttons, parent);
  box.setDefaultButton(preferred);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return box.exec();
}

}  // namespace

bool TQtShell::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return ShowBox(parent, QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

bool TQtShell::AskText(QWidget* parent, const QString& title, const QString& label, QString& text) {
  bool ok = false;
  const QString answer = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
  if (ok) text = answer;
  return ok;
}

TAnswer TQtShell::AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) {
  switch (QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::No)) {
    case QMessageBox::Yes: return anYes;
    case QMessageBox::No: return anNo;
    default: return anCancel;  // Escape and the title bar's close button too
  }
}

void TQtShell::ShowError(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool TQtShell::RunModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

bool TQtShell::SaveImage(QWidget* parent, const TRgbImage& image) { return SaveImageMNUClick(parent, image); }

void TQtShell::OpenUrl(const QString& url) {
  if (QDesktopServices::openUrl(QUrl(url))) return;
  // No browser (or none that would start): the address, to copy by hand.
  ShowBox(QApplication::activeWindow(), QMessageBox::Information, QApplication::applicationName(),
          "No web browser could be opened for this address. Copy it into a browser:\n\n" + url, QMessageBox::Ok,
          QMessageBox::Ok);
}

void TShellFace::ShowError(const std::string& text) { Shell_.ShowError(Parent_, FromCp1252(text)); }

bool TShellFace::AskYesNo(const std::string& title, const std::string& text) {
  return Shell_.AskYesNo(Parent_, FromCp1252(title), FromCp1252(text));
}

TAnswerKind TShellFace::AskYesNoCancel(const std::string& title, const std::string& text) {
  switch (Shell_.AskYesNoCancel(Parent_, FromCp1252(title), FromCp1252(text))) {
    case anYes: return TAnswerKind::akYes;
    case anNo: return TAnswerKind::akNo;
    default: return TAnswerKind::akCancel;
  }
}

void TShellFace::OpenUrl(const std::string& url) { Shell_.OpenUrl(QString::fromStdString(url)); }

void TShellFace::Log(const std::string& text) {
  std::cerr << QApplication::applicationName().toStdString() << ": " << text << "\n";
}

}  // namespace vx
