// TPermanentHintWindow: a tooltip-coloured hint that stays where it is put
// until HideHint, whatever the mouse does. While it is shown the
// application's ordinary tooltips are kept off.
#pragma once

#include <QCursor>
#include <QString>
#include <QWidget>

namespace vx {

class TPermanentHintWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TPermanentHintWindow(QWidget* parent = nullptr);
  ~TPermanentHintWindow() override;

  // Shows text with its top-left corner at the screen position (x, y), as
  // wide as the text needs (at most the screen's width).
  void ShowHintAt(const QString& text, int x, int y);
  // The same just below the visible part of the mouse cursor.
  void ShowHintAtCursor(const QString& text);
  void HideHint();
  bool Shown() const { return Shown_; }
  QString Text() const { return Text_; }

  // Pixel rows the cursor's picture reaches below its hot spot: counted from
  // its mask or picture when it has one, else a typical value for its shape.
  static int CursorDropBelowHotspot(const QCursor& cursor);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Shown_ = false;
  QString Text_;
};

}  // namespace vx
