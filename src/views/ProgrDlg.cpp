#include "views/ProgrDlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/TitleWidth.h"

namespace vx {

TProgressDialog::TProgressDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Pre-computing Maps");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setTextVisible(false);
  layout->addWidget(ProgressBar);
  ProgressText = new QLabel(this);
  ProgressText->setObjectName("ProgressText");
  layout->addWidget(ProgressText);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  connect(cancel, &QPushButton::clicked, this, &TProgressDialog::CancelClicked);
  // Escape and the title bar's close button end here too.
  connect(this, &QDialog::finished, this, &TProgressDialog::Closed);
  WidenForTitle(*this);
}

void TProgressDialog::StartProgress(int max, int64_t nowMs) {
  ProgressBar->setMaximum(max);
  ProgressBar->setValue(0);
  Progress_.Start(max, nowMs);
  ProgressText->setText(QString::fromStdString(Progress_.Text()));
}

void TProgressDialog::SetProgress(int position, int64_t nowMs) {
  ProgressBar->setValue(position);
  Progress_.Update(position, nowMs);
  ProgressText->setText(QString::fromStdString(Progress_.Text()));
}

}  // namespace vx
