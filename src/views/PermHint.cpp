#include "views/PermHint.h"

#include <QApplication>
#include <QBitmap>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace vx {

namespace {

constexpr int kMargin = 3;  // between the border and the text

// The last row of the image with a visible pixel, or -1.
int LastVisibleRow(const QImage& image, bool (*visible)(const QImage&, int, int)) {
  for (int y = image.height() - 1; y >= 0; --y)
    for (int x = 0; x < image.width(); ++x)
      if (visible(image, x, y)) return y;
  return -1;
}

}  // namespace

TPermanentHintWindow::TPermanentHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setForegroundRole(QPalette::ToolTipText);
  setBackgroundRole(QPalette::ToolTipBase);
  setAutoFillBackground(true);
  setPalette(QToolTip::palette());
  setFont(QToolTip::font());
}

TPermanentHintWindow::~TPermanentHintWindow() {
  if (Shown_) qApp->removeEventFilter(this);
}

void TPermanentHintWindow::ShowHintAt(const QString& text, int x, int y) {
  if (!Shown_) {
    Shown_ = true;
    QToolTip::hideText();
    qApp->installEventFilter(this);
  }
  Text_ = text;
  QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
  if (!screen) screen = QGuiApplication::primaryScreen();
  const int most = screen ? screen->geometry().width() : 1 << 16;
  const QRect need = fontMetrics().boundingRect(QRect(0, 0, most - 2 * kMargin - 2, 1 << 16), Qt::TextWordWrap, text);
  setGeometry(x, y, need.width() + 2 * kMargin + 2, need.height() + 2 * kMargin + 2);
  show();
  repaint();
}

void TPermanentHintWindow::ShowHintAtCursor(const QString& text) {
  const QPoint at = QCursor::pos();
  QCursor cursor = QApplication::overrideCursor() ? *QApplication::overrideCursor() : QCursor();
  if (QWidget* under = QApplication::widgetAt(at)) cursor = under->cursor();
  ShowHintAt(text, at.x(), at.y() + CursorDropBelowHotspot(cursor));
}

void TPermanentHintWindow::HideHint() {
  hide();
  if (Shown_) qApp->removeEventFilter(this);
  Shown_ = false;
}

int TPermanentHintWindow::CursorDropBelowHotspot(const QCursor& cursor) {
  const int hot = cursor.hotSpot().y();
  const QPixmap picture = cursor.pixmap();
  if (!picture.isNull()) {
    const int last = LastVisibleRow(picture.toImage().convertToFormat(QImage::Format_ARGB32),
                                    [](const QImage& i, int x, int y) { return qAlpha(i.pixel(x, y)) != 0; });
    return std::max(0, last + 1 - hot);
  }
  const QBitmap mask = cursor.mask();
  if (!mask.isNull()) {
    // In a mask bitmap, colour 1 (black) marks the visible pixels.
    const int last = LastVisibleRow(mask.toImage().convertToFormat(QImage::Format_Mono),
                                    [](const QImage& i, int x, int y) { return i.pixelIndex(x, y) == 1; });
    return std::max(0, last + 1 - hot);
  }
  // The system's shapes carry no picture here: an arrow is about 20 rows
  // tall below its tip; centred shapes (cross, I-beam, sizers) reach about
  // half of a 32-pixel cursor below their centre.
  switch (cursor.shape()) {
    case Qt::ArrowCursor:
    case Qt::PointingHandCursor:
    case Qt::WhatsThisCursor:
    case Qt::BusyCursor: return 20;
    default: return 16;
  }
}

void TPermanentHintWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::ToolTipText));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.drawText(rect().adjusted(kMargin + 1, kMargin + 1, -kMargin - 1, -kMargin - 1), Qt::TextWordWrap, Text_);
}

bool TPermanentHintWindow::eventFilter(QObject* watched, QEvent* event) {
  // Ordinary tooltips stay off while the permanent hint is up.
  if (Shown_ && event->type() == QEvent::ToolTip) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace vx
