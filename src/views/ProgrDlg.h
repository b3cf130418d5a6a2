// TProgressDialog: "Pre-computing Maps", a progress bar with the count of
// maps and the time left, and Cancel. Cancel and any other way of closing it
// are reported; the batch decides.
#pragma once

#include <QDialog>
#include <cstdint>

#include "views/BatchProgress.h"

class QLabel;
class QProgressBar;

namespace vx {

class TProgressDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TProgressDialog(QWidget* parent = nullptr);
  QProgressBar* ProgressBar;
  QLabel* ProgressText;  // "12 of 192 maps, about 4 min left"

  // The bar's range and position; nowMs from the window's steady clock.
  void StartProgress(int max, int64_t nowMs);
  void SetProgress(int position, int64_t nowMs);

 signals:
  void CancelClicked();
  void Closed();

 private:
  TBatchProgress Progress_;
};

}  // namespace vx
