#include "views/CoordFrame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>

namespace vx {

namespace {

// Whole degrees up to a limit, digits only. A keystroke or paste that would
// leave a value past the limit, a point, a sign or a letter in the box is
// refused, so the box never holds a value other than the one it shows. (A
// typed sign never reaches the box: the frame turns the toggle instead.)
class TDegreesValidator : public QValidator {
 public:
  TDegreesValidator(int maxDegrees, QObject* parent) : QValidator(parent), Max_(maxDegrees) {}
  State validate(QString& input, int&) const override {
    if (input.isEmpty()) return Intermediate;
    for (QChar c : input)
      if (c < '0' || c > '9') return Invalid;
    bool ok = false;
    const int value = input.toInt(&ok);
    return ok && value <= Max_ ? Acceptable : Invalid;
  }

 private:
  int Max_;
};

// Wide enough for its digits in the desktop's font, whatever its size.
QLineEdit* DegreesEdit(QWidget* parent, const char* hint, int maxDigits, int maxDegrees) {
  auto* e = new QLineEdit(QStringLiteral("0"), parent);
  e->setToolTip(QString::fromLatin1(hint));
  e->setMaxLength(maxDigits);
  e->setValidator(new TDegreesValidator(maxDegrees, e));
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
  Edit1_ = DegreesEdit(this, "Latitude", 2, 90);
  Label24_ = DegreeSign(this);
  SpeedButton1_ = Toggle(this, 'N', "Toggle North/South", "NS");
  Edit2_ = DegreesEdit(this, "Longitude", 3, 180);
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
  connect(Edit2_, &QLineEdit::textChanged, this, [this] { emit LongitudeEdited(this); });
  Edit1_->installEventFilter(this);
  Edit2_->installEventFilter(this);
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
  SetFields(f);
}

void TCoordFrame::SetFields(const TCoordFields& f) {
  // Captions first, so that a listener woken by the latitude text reads the
  // new point whole.
  SpeedButton1_->setText(QString(QChar(f.LatHemisphere)));
  SpeedButton2_->setText(QString(QChar(f.LonHemisphere)));
  // A box that already shows its text keeps its cursor.
  if (Edit2_->text().toStdString() != f.LonText) Edit2_->setText(QString::fromStdString(f.LonText));
  if (Edit1_->text().toStdString() != f.LatText) Edit1_->setText(QString::fromStdString(f.LatText));
}

bool TCoordFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || (watched != Edit1_ && watched != Edit2_))
    return QFrame::eventFilter(watched, event);
  const QString text = static_cast<QKeyEvent*>(event)->text();
  if (text != "-" && text != "+") return QFrame::eventFilter(watched, event);
  // The hemisphere lives in the toggle: "-" then "33" is 33 south (or west).
  QToolButton* toggle = watched == Edit1_ ? SpeedButton1_ : SpeedButton2_;
  const char minus = watched == Edit1_ ? 'S' : 'W', plus = watched == Edit1_ ? 'N' : 'E';
  const QChar caption(text == "-" ? minus : plus);
  if (toggle->text() != caption) {
    toggle->setText(caption);
    emit Changed(this);
  }
  return true;
}

void TCoordFrame::SpeedButtonClick(QToolButton* button) {
  button->setText(QString(QChar(ToggleHemisphere(CaptionOf(button)))));
  emit Changed(this);
}

}  // namespace vx
