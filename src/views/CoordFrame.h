// TCoordFrame: the small control for a location in whole degrees, a latitude
// box with a North/South toggle and a longitude box with an East/West toggle,
// laid out to fit the desktop's font. The boxes take whole degrees up to 90 and
// 180; a sign typed in front goes to the toggle ("-33" is 33 S). The rules
// live in geo/CoordFrm.h; this is their Qt face.
//
// Changed is emitted when the latitude text changes (typed or set) and when
// a toggle is clicked or turned by a typed sign. Typing in the longitude box
// emits LongitudeEdited only: the owner hears from Changed that the user
// moved the point away from a looked-up one, and every such edit starts with
// the latitude or a toggle.
#pragma once

#include <QFrame>
#include <string>

#include "geo/CoordFrm.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace vx {

class TCoordFrame : public QFrame {
  Q_OBJECT
 public:
  explicit TCoordFrame(QWidget* parent = nullptr);

  // The location shown (an empty box reads as 0 degrees).
  TLocation GetPoint() const;
  // Shows p rounded to whole degrees; the no-location point (X = kNoLocation32)
  // empties both boxes and keeps the toggles.
  void SetPoint(TLocation p);
  // The boxes and toggles as they are, and shown as given.
  TCoordFields Fields() const;
  void SetFields(const TCoordFields& f);
  // "40° N   74° W" in Windows-1252, as the core keeps text.
  std::string AsText() const { return FormatCoordinates(GetPoint()); }

  QLineEdit* LatitudeEdit() const { return Edit1_; }
  QLineEdit* LongitudeEdit() const { return Edit2_; }
  QToolButton* NorthSouthButton() const { return SpeedButton1_; }
  QToolButton* EastWestButton() const { return SpeedButton2_; }

 signals:
  void Changed(vx::TCoordFrame* frame);
  // The longitude text changed: the point moved without Changed.
  void LongitudeEdited(vx::TCoordFrame* frame);

 private:
  void SpeedButtonClick(QToolButton* button);
  // A "-" or "+" typed in a box turns its toggle to S/W or N/E.
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLineEdit* Edit1_;
  QLabel* Label24_;
  QToolButton* SpeedButton1_;
  QLineEdit* Edit2_;
  QLabel* Label33_;
  QToolButton* SpeedButton2_;
};

}  // namespace vx
