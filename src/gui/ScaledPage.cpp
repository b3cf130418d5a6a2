#include "gui/ScaledPage.h"

#include <QStyle>

namespace vx {

namespace {

QMargins PageMargins(const QWidget* page) {
  const QStyle* s = page->style();
  return {s->pixelMetric(QStyle::PM_LayoutLeftMargin), s->pixelMetric(QStyle::PM_LayoutTopMargin),
          s->pixelMetric(QStyle::PM_LayoutRightMargin), s->pixelMetric(QStyle::PM_LayoutBottomMargin)};
}

}  // namespace

TScaledPage::TScaledPage(QWidget* frame, QSize step, std::function<void(int)> setScale, QWidget* parent)
    : QWidget(parent), Frame_(frame), SetScale_(std::move(setScale)), Step_(step) {
  Frame_->setParent(this);
  SetScale_(1);
  Unscaled_ = Frame_->sizeHint();
}

QSize TScaledPage::minimumSizeHint() const { return Unscaled_.grownBy(PageMargins(this)); }
QSize TScaledPage::sizeHint() const { return minimumSizeHint(); }

void TScaledPage::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  const QSize room = contentsRect().marginsRemoved(PageMargins(this)).size();
  // Each step adds one picture size (the frame's other parts do not grow,
  // or grow less), so this is the most the frame needs at a scale.
  auto need = [this](int scale) { return Unscaled_ + Step_ * (scale - 1); };
  int scale = 1;
  while (need(scale + 1).width() <= room.width() && need(scale + 1).height() <= room.height()) ++scale;
  SetScale_(scale);
  const QSize size = need(scale);
  Frame_->setGeometry(QRect(rect().center() - QPoint(size.width() / 2, size.height() / 2), size));
}

}  // namespace vx
