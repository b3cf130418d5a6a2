// The coordinate entry control, driven the way a user drives it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "views/CoordFrame.h"

using namespace vx;

namespace {

void Type(QLineEdit* edit, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
  }
}

void Backspace(QLineEdit* edit) {
  edit->end(false);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(edit, &press);
}

struct TChangeCount {
  int Count = 0;
  explicit TChangeCount(TCoordFrame& frame) {
    QObject::connect(&frame, &TCoordFrame::Changed, [this, &frame](TCoordFrame* sender) {
      EXPECT_EQ(sender, &frame);
      ++Count;
    });
  }
};

}  // namespace

TEST(CoordFrame, NewFrameLayoutAndReading) {
  TCoordFrame f;
  // Left to right: latitude, N/S, longitude, E/W; each box wide enough for
  // its digits.
  f.adjustSize();
  EXPECT_LT(f.LatitudeEdit()->geometry().right(), f.NorthSouthButton()->geometry().left());
  EXPECT_LT(f.NorthSouthButton()->geometry().right(), f.LongitudeEdit()->geometry().left());
  EXPECT_LT(f.LongitudeEdit()->geometry().right(), f.EastWestButton()->geometry().left());
  EXPECT_GT(f.LongitudeEdit()->width(), f.LongitudeEdit()->fontMetrics().horizontalAdvance("888"));
  EXPECT_GE(f.width(), 119);
  EXPECT_EQ(f.LatitudeEdit()->toolTip(), "Latitude");
  EXPECT_EQ(f.LongitudeEdit()->toolTip(), "Longitude");
  EXPECT_EQ(f.NorthSouthButton()->toolTip(), "Toggle North/South");
  EXPECT_EQ(f.EastWestButton()->toolTip(), "Toggle East/West");
  EXPECT_EQ(f.findChildren<QLabel*>().size(), 2);
  for (QLabel* l : f.findChildren<QLabel*>()) EXPECT_EQ(l->text(), QString(QChar(0xB0)));

  // "0", "N", "0", "W": reads as (0, 0) although it shows west.
  EXPECT_EQ(f.LatitudeEdit()->text(), "0");
  EXPECT_EQ(f.EastWestButton()->text(), "W");
  TLocation p = f.GetPoint();
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 0);
  EXPECT_EQ(f.AsText(), "0\xB0 N   0\xB0 E");
}

TEST(CoordFrame, BoxesTakeWholeDegreesAndASign) {
  TCoordFrame f;
  f.LatitudeEdit()->clear();
  Type(f.LatitudeEdit(), "4.a5x7");
  EXPECT_EQ(f.LatitudeEdit()->text(), "45");
  f.LongitudeEdit()->clear();
  Type(f.LongitudeEdit(), "1 23e4");
  EXPECT_EQ(f.LongitudeEdit()->text(), "123");
  TLocation p = f.GetPoint();
  EXPECT_EQ(p.Y, 45 * 180);
  EXPECT_EQ(p.X, -123 * 180);

  // A sign typed in front is kept: it turns the toggle, the box keeps the digits.
  f.LatitudeEdit()->selectAll();
  Type(f.LatitudeEdit(), "-33");
  EXPECT_EQ(f.LatitudeEdit()->text(), "33");
  EXPECT_EQ(f.NorthSouthButton()->text(), "S");
  f.LongitudeEdit()->selectAll();
  Type(f.LongitudeEdit(), "+151");
  EXPECT_EQ(f.LongitudeEdit()->text(), "151");
  EXPECT_EQ(f.EastWestButton()->text(), "E");
  EXPECT_EQ(f.AsText(), "33\xB0 S   151\xB0 E");
  f.LongitudeEdit()->setCursorPosition(0);
  Type(f.LongitudeEdit(), "-");
  EXPECT_EQ(f.LongitudeEdit()->text(), "151");
  EXPECT_EQ(f.EastWestButton()->text(), "W");
  f.LatitudeEdit()->selectAll();
  Type(f.LatitudeEdit(), "+");
  EXPECT_EQ(f.NorthSouthButton()->text(), "N");
  EXPECT_EQ(f.LatitudeEdit()->text(), "33");
  // A pasted sign is refused with the rest of the paste, not cut off.
  f.LatitudeEdit()->selectAll();
  f.LatitudeEdit()->insert("-12");
  EXPECT_EQ(f.LatitudeEdit()->text(), "33");

  // Past 90 or 180 degrees the keystroke is refused: the box keeps a value
  // it can hold instead of showing one that is read as another.
  f.LatitudeEdit()->clear();
  Type(f.LatitudeEdit(), "95");
  EXPECT_EQ(f.LatitudeEdit()->text(), "9");
  Type(f.LatitudeEdit(), "0");
  EXPECT_EQ(f.LatitudeEdit()->text(), "90");
  f.LongitudeEdit()->clear();
  Type(f.LongitudeEdit(), "999");
  EXPECT_EQ(f.LongitudeEdit()->text(), "99");
  f.LongitudeEdit()->clear();
  Type(f.LongitudeEdit(), "181");
  EXPECT_EQ(f.LongitudeEdit()->text(), "18");
  Type(f.LongitudeEdit(), "0");
  EXPECT_EQ(f.LongitudeEdit()->text(), "180");
  p = f.GetPoint();
  EXPECT_EQ(p.Y, 90 * 180);
  EXPECT_EQ(p.X, -180 * 180);
}

TEST(CoordFrame, ChangesComeFromTheLatitudeAndTheToggles) {
  TCoordFrame f;
  TChangeCount changes(f);
  Type(f.LongitudeEdit(), "7");
  EXPECT_EQ(changes.Count, 0);
  Type(f.LatitudeEdit(), "5");
  EXPECT_EQ(changes.Count, 1);
  Backspace(f.LatitudeEdit());
  EXPECT_EQ(changes.Count, 2);
  Type(f.LatitudeEdit(), "x");  // refused: nothing changed
  EXPECT_EQ(changes.Count, 2);

  f.NorthSouthButton()->click();
  EXPECT_EQ(f.NorthSouthButton()->text(), "S");
  f.EastWestButton()->click();
  EXPECT_EQ(f.EastWestButton()->text(), "E");
  EXPECT_EQ(changes.Count, 4);
  f.NorthSouthButton()->click();
  f.EastWestButton()->click();
  EXPECT_EQ(f.NorthSouthButton()->text(), "N");
  EXPECT_EQ(f.EastWestButton()->text(), "W");
  EXPECT_EQ(changes.Count, 6);
  // A sign typed in the longitude box turns its toggle, and says so.
  f.LongitudeEdit()->setCursorPosition(0);
  Type(f.LongitudeEdit(), "+");
  EXPECT_EQ(f.EastWestButton()->text(), "E");
  EXPECT_EQ(changes.Count, 7);
}

TEST(CoordFrame, SetPointShowsWholeDegrees) {
  TCoordFrame f;
  TChangeCount changes(f);
  TLocation seen{};
  QObject::connect(&f, &TCoordFrame::Changed, [&](TCoordFrame* s) { seen = s->GetPoint(); });
  f.SetPoint(TLocation{450, -8154});  // 2.5 E, 45.3 S
  EXPECT_EQ(f.LatitudeEdit()->text(), "45");
  EXPECT_EQ(f.NorthSouthButton()->text(), "S");
  EXPECT_EQ(f.LongitudeEdit()->text(), "2");  // half to even
  EXPECT_EQ(f.EastWestButton()->text(), "E");
  EXPECT_EQ(changes.Count, 1);   // the latitude text changed
  EXPECT_EQ(seen.Y, -45 * 180);  // the listener sees the new point whole
  EXPECT_EQ(seen.X, 2 * 180);

  f.SetPoint(TLocation{-13248, 7182});
  EXPECT_EQ(f.AsText(), "40\xB0 N   74\xB0 W");

  // No location: two empty boxes, the toggles stay, and it reads as 0.
  f.SetPoint(kNoLocationPoint);
  EXPECT_EQ(f.LatitudeEdit()->text(), "");
  EXPECT_EQ(f.LongitudeEdit()->text(), "");
  EXPECT_EQ(f.NorthSouthButton()->text(), "N");
  EXPECT_EQ(f.EastWestButton()->text(), "W");
  TLocation p = f.GetPoint();
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 0);

  // A latitude of 0 with "S" showing reads as 0.
  f.SetPoint(TLocation{0, -10});
  EXPECT_EQ(f.NorthSouthButton()->text(), "S");
  EXPECT_EQ(f.GetPoint().Y, 0);
}
