// TProgressDialog: "Pre-computing Maps", a progress bar and Cancel. Cancel
// and any other way of closing it are reported; the batch decides.
#pragma once

#include <QDialog>

class QProgressBar;

namespace vx {

class TProgressDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TProgressDialog(QWidget* parent = nullptr);
  QProgressBar* ProgressBar;

 signals:
  void CancelClicked();
  void Closed();
};

}  // namespace vx
