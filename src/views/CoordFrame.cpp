#include "views/CoordFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace vx {

namespace {

// Wide enough for its digits in the desktop's font, whatever its size.
QLineEdit* DegreesEdit(QWidget* parent, const char* hint, int maxDigits) {
  auto* e = new QLineEdit(QStringLiteral("0"), parent);
  e->setToolTip(QString::fromLatin1(hint));
  e->setMaxLength(maxDigits);
  // Digits only: no sign, point or letter gets in, typed or pasted.
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setAlignment(Qt::AlignRight);
  const int digits = e->fontMetrics().horizontalAdvance(QString(maxDigits, QChar('8')));
  e->setFixedWidth(std::max(27, digits + 12));
  return e;
}

QLabel* DegreeSign(QWidget* parent) {
  auto* l = new QLabel(QString(QChar(0xB0)), parent);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

// As wide as the wider of its two captions, so that toggling moves nothing.
QToolButton* Toggle(QWidget* parent, char caption, const char* hint, const char* captions) {
  auto* b = new QToolButton(parent);
  b->setToolTip(QString::fromLatin1(hint));
  int width = 19;
  for (const char* c = captions; *c; ++c) {
    b->setText(QString(QChar(*c)));
    width = std::max(width, b->sizeHint().width());
  }
  b->setText(QString(QChar(caption)));
  b->setFixedWidth(width);
  return b;
}

char CaptionOf(const QToolButton* b) {
  const QString t = b->text();
  return t.isEmpty() ? ' ' : t[0].toLatin1();
}

}  // namespace

TCoordFrame::TCoordFrame(QWidget* parent) : QFrame(parent) {
  Edit1_ = DegreesEdit(this, "Latitude", 2);
  Label24_ = DegreeSign(this);
  SpeedButton1_ = Toggle(this, 'N', "Toggle North/South", "NS");
  Edit2_ = DegreesEdit(this, "Longitude", 3);
  Label33_ = DegreeSign(this);
  SpeedButton2_ = Toggle(this, 'W', "Toggle East/West", "EW");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(Edit1_);
  row->addWidget(Label24_);
  row->addWidget(SpeedButton1_);
  row->addSpacing(8);
  row->addWidget(Edit2_);
  row->addWidget(Label33_);
  row->addWidget(SpeedButton2_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  connect(Edit1_, &QLineEdit::textChanged, this, [this] { emit Changed(this); });
  connect(SpeedButton1_, &QToolButton::clicked, this, [this] { SpeedButtonClick(SpeedButton1_); });
  connect(SpeedButton2_, &QToolButton::clicked, this, [this] { SpeedButtonClick(SpeedButton2_); });
}

TCoordFields TCoordFrame::Fields() const {
  return TCoordFields{Edit1_->text().toStdString(), Edit2_->text().toStdString(), CaptionOf(SpeedButton1_),
                      CaptionOf(SpeedButton2_)};
}

TLocation TCoordFrame::GetPoint() const { return ReadCoordFields(Fields()); }

void TCoordFrame::SetPoint(TLocation p) {
  TCoordFields f = Fields();
  ShowCoordFields(f, p);
  // Captions first, so that a listener woken by the latitude text reads the
  // new point whole.
  SpeedButton1_->setText(QString(QChar(f.LatHemisphere)));
  SpeedButton2_->setText(QString(QChar(f.LonHemisphere)));
  Edit2_->setText(QString::fromStdString(f.LonText));
  Edit1_->setText(QString::fromStdString(f.LatText));
}

void TCoordFrame::SpeedButtonClick(QToolButton* button) {
  button->setText(QString(QChar(ToggleHemisphere(CaptionOf(button)))));
  emit Changed(this);
}

}  // namespace vx
