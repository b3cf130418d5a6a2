// What the main window asks of the desktop: message boxes, modal dialogs,
// the file dialog of "Save Image..." and the browser. The window never calls
// these directly, so that tests can answer them without waiting for a click.
#pragma once

#include <QString>

#include "app/WindowFace.h"
#include "views/Raster.h"

class QDialog;
class QWidget;

namespace vx {

enum TAnswer : int { anYes, anNo, anCancel };

class IShell {
 public:
  virtual ~IShell() = default;
  // A warning with Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
  // A question with Yes, No and Cancel; No is the default button. A shell
  // that cannot ask three ways asks Yes or No.
  virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) {
    return AskYesNo(parent, title, text) ? anYes : anNo;
  }
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // A line of text, text holding what to show first; false when cancelled. A
  // shell that cannot ask answers false.
  virtual bool AskText(QWidget* parent, const QString& title, const QString& label, QString& text) {
    (void)parent, (void)title, (void)label, (void)text;
    return false;
  }
  // Runs a dialog modally; true when it was accepted.
  virtual bool RunModal(QDialog& dialog) = 0;
  // "Save Image...": asks for a file and writes the picture; false when
  // cancelled or not written (the failure has been reported).
  virtual bool SaveImage(QWidget* parent, const TRgbImage& image) = 0;
  // Opens a web address in the user's browser; without one, shows the
  // address so that it can be copied.
  virtual void OpenUrl(const QString& url) = 0;
};

// The real desktop: QMessageBox, QDialog::exec, QFileDialog, QDesktopServices.
class TQtShell final : public IShell {
 public:
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  TAnswer AskYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
  bool AskText(QWidget* parent, const QString& title, const QString& label, QString& text) override;
  bool RunModal(QDialog& dialog) override;
  bool SaveImage(QWidget* parent, const TRgbImage& image) override;
  void OpenUrl(const QString& url) override;
};

// The window model's questions and messages as the shell's boxes, over a
// parent window; the model's Windows-1252 texts are converted here. A
// problem nobody is there to see goes to the standard error.
class TShellFace : public IWindowFace {
 public:
  TShellFace(IShell& shell, QWidget* parent) : Shell_(shell), Parent_(parent) {}

  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;
  TAnswerKind AskYesNoCancel(const std::string& title, const std::string& text) override;
  void OpenUrl(const std::string& url) override;
  void Log(const std::string& text) override;

 protected:
  IShell& Shell_;

 private:
  QWidget* Parent_;
};

}  // namespace vx
