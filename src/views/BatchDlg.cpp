#include "views/BatchDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/TitleWidth.h"

namespace vx {

TBatchDialog::TBatchDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Batch Computation");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Pre-compute maps for:", this));
  AllHoursBox = new QCheckBox("All Hours", this);
  AllHoursBox->setChecked(true);
  AllBandsBox = new QCheckBox("All Bands", this);
  AllBandsBox->setChecked(true);
  BothPathsBox = new QCheckBox("Short and Long Path", this);
  for (QCheckBox* box : {AllHoursBox, AllBandsBox, BothPathsBox}) {
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, &TBatchDialog::CheckBox1Click);
  }
  auto* buttons = new QHBoxLayout;
  StartBtn = new QPushButton("Start", this);
  StartBtn->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  buttons->addWidget(StartBtn);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(StartBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  CheckBox1Click();
  WidenForTitle(*this);
}

TBatchOptions TBatchDialog::Options() const {
  return TBatchOptions{AllHoursBox->isChecked(), AllBandsBox->isChecked(), BothPathsBox->isChecked()};
}

void TBatchDialog::CheckBox1Click() { StartBtn->setEnabled(CanStartBatch(Options())); }

}  // namespace vx
