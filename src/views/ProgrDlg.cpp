#include "views/ProgrDlg.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vx {

TProgressDialog::TProgressDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Pre-computing Maps");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setTextVisible(false);
  layout->addWidget(ProgressBar);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelBtn");
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  connect(cancel, &QPushButton::clicked, this, &TProgressDialog::CancelClicked);
  // Escape and the title bar's close button end here too.
  connect(this, &QDialog::finished, this, &TProgressDialog::Closed);
}

}  // namespace vx
