// TBatchDialog: "Batch Computation", what to pre-compute.
#pragma once

#include <QDialog>

#include "views/PreComp.h"

class QCheckBox;
class QPushButton;

namespace vx {

class TBatchDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TBatchDialog(QWidget* parent = nullptr);
  QCheckBox* AllHoursBox;
  QCheckBox* AllBandsBox;
  QCheckBox* BothPathsBox;
  QPushButton* StartBtn;

  TBatchOptions Options() const;
  void CheckBox1Click();
};

}  // namespace vx
