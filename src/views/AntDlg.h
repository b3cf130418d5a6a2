// TAntennaDialog: shows an antenna model file's gain pattern as a vertical
// (elevation) or horizontal (azimuth) cut, with the strongest direction and
// a gain readout under the mouse. Files dropped onto it are loaded; Escape
// closes it. The state and geometry live in TAntennaView.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "engine/AntView.h"

class QLabel;
class QRadioButton;
class QSpinBox;

namespace vx {

class TPermanentHintWindow;
class TPatternBox;

class TAntennaDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TAntennaDialog(QWidget* parent = nullptr);

  // Loads the file with the row of the band (0..7) for a type-14 file and
  // shows the dialog modally. When the file cannot be loaded its error box is
  // shown instead of the dialog and false comes back.
  bool ShowAntenna(const std::string& fileName, int band);
  // Reads the file into the dialog. On failure nothing changes and the error
  // text comes back: "Cannot open \"<file>" or "Unknown file format".
  std::optional<QString> LoadAntenna(const std::string& fileName);

  const TAntennaView& View() const { return View_; }

  // Controls, named as in the form.
  TPatternBox* PaintBox1;
  QRadioButton* RadioButton1;  // "Hor."
  QRadioButton* RadioButton2;  // "Vert."
  QLabel* Label5;              // the spin box's heading
  QSpinBox* SpinEdit1;
  QLabel* Label6;   // azimuth of the maximum
  QLabel* Label7;   // elevation of the maximum
  QLabel* Label8;   // gain of the maximum
  QWidget* Shape1;  // gain bar
  TPermanentHintWindow* Hint;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TPatternBox;
  void SpinEdit1Change(int value);
  void RadioButtonClick();
  void SetUpSpinBox();
  void UpdateReadouts();
  void ShowLoadError(const QString& message);
  void PaintBox1Paint(class QPainter& painter);
  void PaintBox1MouseMove(int x, int y);

  TAntennaView View_;
};

// The plot: paints and reports the mouse through the dialog.
class TPatternBox : public QWidget {
  Q_OBJECT
 public:
  explicit TPatternBox(TAntennaDialog* dialog);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  TAntennaDialog* Dialog;
};

}  // namespace vx
