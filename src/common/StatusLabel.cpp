#include "common/StatusLabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace vx {

TStatusLabel::TStatusLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TStatusLabel::SetFullText(const QString& text) {
  Full_ = text;
  setToolTip(text);
  Elide();
}

QSize TStatusLabel::minimumSizeHint() const { return {20, fontMetrics().height()}; }

QSize TStatusLabel::sizeHint() const { return {fontMetrics().horizontalAdvance(Full_) + 8, fontMetrics().height()}; }

void TStatusLabel::resizeEvent(QResizeEvent* e) {
  QLabel::resizeEvent(e);
  Elide();
}

void TStatusLabel::changeEvent(QEvent* e) {
  QLabel::changeEvent(e);
  // A style sheet (the status colour) may bring another font.
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) Elide();
}

void TStatusLabel::Elide() {
  const int room = contentsRect().width() - 2 * margin() - 4;
  const QString shown = fontMetrics().elidedText(Full_, Qt::ElideMiddle, std::max(room, 0));
  if (shown != text()) setText(shown);
}

}  // namespace vx
