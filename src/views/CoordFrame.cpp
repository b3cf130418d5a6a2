#include "views/CoordFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace vx {

namespace {

QLineEdit* DegreesEdit(QWidget* parent, const char* hint, int maxDigits, QRect geometry) {
  auto* e = new QLineEdit(QStringLiteral("0"), parent);
  e->setToolTip(QString::fromLatin1(hint));
  e->setMaxLength(maxDigits);
  // Digits only: no sign, point or letter gets in, typed or pasted.
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
  e->setGeometry(geometry);
  return e;
}

QLabel* DegreeSign(QWidget* parent, QRect geometry) {
  auto* l = new QLabel(QString(QChar(0xB0)), parent);
  QFont f = l->font();
  f.setPixelSize(16);
  l->setFont(f);
  l->setGeometry(geometry);
  return l;
}

QToolButton* Toggle(QWidget* parent, char caption, const char* hint, QRect geometry) {
  auto* b = new QToolButton(parent);
  b->setText(QString(QChar(caption)));
  b->setToolTip(QString::fromLatin1(hint));
  b->setGeometry(geometry);
  return b;
}

char CaptionOf(const QToolButton* b) {
  const QString t = b->text();
  return t.isEmpty() ? ' ' : t[0].toLatin1();
}

}  // namespace

TCoordFrame::TCoordFrame(QWidget* parent) : QFrame(parent) {
  setFixedSize(119, 22);
  Edit1_ = DegreesEdit(this, "Latitude", 2, QRect(0, 0, 27, 21));
  Label24_ = DegreeSign(this, QRect(28, 0, 5, 20));
  SpeedButton1_ = Toggle(this, 'N', "Toggle North/South", QRect(36, 0, 19, 22));
  Edit2_ = DegreesEdit(this, "Longitude", 3, QRect(64, 0, 27, 21));
  Label33_ = DegreeSign(this, QRect(92, 0, 5, 20));
  SpeedButton2_ = Toggle(this, 'W', "Toggle East/West", QRect(100, 0, 19, 22));

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
