// TStatusLabel: a one-line status text of any length. What does not fit is
// left out in the middle, so both the beginning (what happened) and the end
// (a file name, a code) stay readable; the whole text is the tooltip, and
// the label follows the width its layout gives it.
#pragma once

#include <QLabel>
#include <QString>

namespace vx {

class TStatusLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TStatusLabel(QWidget* parent = nullptr);

  void SetFullText(const QString& text);
  const QString& FullText() const { return Full_; }

  // Narrow, so that a long text never forces its window wider.
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void Elide();
  QString Full_;
};

}  // namespace vx
