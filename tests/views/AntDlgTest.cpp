// The antenna pattern dialog and the permanent hint, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>

#include "common/FileUtil.h"
#include "engine/Antennas.h"
#include "views/AntDlg.h"
#include "views/PermHint.h"

using namespace vx;

namespace {

const std::string kDipole55 = VX_SOURCE_DIR "/data/antennas/Dipole55.N14";
const std::string kFixture13 = VX_FIXTURES "/voacap/antennas/dipole10m.t13";

std::string TempFile(const std::string& name, const std::string& bytes) {
  const std::string folder = testing::TempDir() + "antdlg/";
  MakeDirectories(folder);
  EXPECT_TRUE(WriteWholeFile(folder + name, bytes));
  return folder + name;
}

// Runs action once the event loop is running and returns the text of the
// first message box that comes up (closing it), or "" when none came.
QString MessageBoxDuring(const std::function<void()>& action) {
  QString text;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      box->close();
    }
  });
  poll.start(10);
  action();
  QApplication::processEvents();
  return text;
}

void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

void MoveMouse(QWidget* target, int x, int y) {
  QMouseEvent move(QEvent::MouseMove, QPointF(x, y), target->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(target, &move);
}

void DropFile(QWidget* target, const std::string& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

QColor PixelOf(QWidget* widget, int x, int y) { return widget->grab().toImage().pixelColor(x, y); }

}  // namespace

TEST(AntennaDialog, ShowsATypeFourteenFileForTheBandAndClosesOnEscape) {
  TAntennaDialog dialog;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    shown = dialog.isVisible();
    EXPECT_EQ(dialog.windowTitle(),
              "Dipole 55 ft (16.8 m), half-wave resonant at each frequency, average ground    [type 14]");
    EXPECT_EQ(dialog.Label5->text(), " Frequency");
    EXPECT_EQ(dialog.SpinEdit1->minimum(), 2);
    EXPECT_EQ(dialog.SpinEdit1->maximum(), 30);
    EXPECT_EQ(dialog.SpinEdit1->value(), 4);  // band 0, 3.5 MHz: the 4 MHz row
    EXPECT_FALSE(dialog.RadioButton1->isEnabled());
    EXPECT_TRUE(dialog.RadioButton2->isChecked());
    EXPECT_EQ(dialog.Label6->text(), QString::fromUtf8("0°"));
    PressKey(dialog.SpinEdit1, Qt::Key_Escape);
  });
  EXPECT_TRUE(dialog.ShowAntenna(kDipole55, 0));
  EXPECT_TRUE(shown);
  EXPECT_FALSE(dialog.isVisible());

  // The readouts follow the frequency: the strongest elevation at 14 MHz.
  dialog.SpinEdit1->setValue(14);
  EXPECT_EQ(dialog.View().CutFrequency, 14);
  const TPatternPeak peak = PatternPeak(14, dialog.View().Pattern, 14);
  EXPECT_EQ(dialog.Label7->text(), QString::number(peak.Elevation) + QString::fromUtf8("°"));
  EXPECT_EQ(dialog.Label8->text(), QString::number(peak.Gain, 'f', 1));
  // The gain's unit is written as decibels over isotropic are.
  QStringList units;
  for (QLabel* l : dialog.findChildren<QLabel*>())
    if (l->text().endsWith("Bi")) units << l->text();
  EXPECT_EQ(units, QStringList{"dBi"});
  EXPECT_EQ(dialog.Shape1->width(), std::min(int(std::lround(std::fabs(peak.Gain))), 20) + 2);
}

TEST(AntennaDialog, EscapeClosesFromEveryControl) {
  TAntennaDialog dialog;
  for (QWidget* target : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(dialog.RadioButton1),
                          static_cast<QWidget*>(dialog.RadioButton2)}) {
    QTimer::singleShot(0, [&] { PressKey(target, Qt::Key_Escape); });
    EXPECT_TRUE(dialog.ShowAntenna(kFixture13, 3));
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST(AntennaDialog, LoadErrorsShowTheirBoxAndChangeNothing) {
  TAntennaDialog dialog;
  const std::string missing = testing::TempDir() + "antdlg/missing.ant";
  bool result = true;
  EXPECT_EQ(MessageBoxDuring([&] { result = dialog.ShowAntenna(missing, 2); }),
            QString("Cannot open \"") + QString::fromStdString(missing));
  EXPECT_FALSE(result);
  EXPECT_FALSE(dialog.isVisible());

  ASSERT_FALSE(dialog.LoadAntenna(kFixture13));
  dialog.RadioButton1->click();
  ASSERT_EQ(dialog.View().Cut, TPatternCut::pcHorizontal);
  const std::string broken = TempFile("broken.N14", "Broken\r\n 3\r\n\r\n  14   [ 2]\r\n");
  EXPECT_EQ(dialog.LoadAntenna(broken), QString("Unknown file format"));
  EXPECT_EQ(dialog.View().AntennaType, 13);
  EXPECT_EQ(dialog.View().Pattern.size(), 360u);
  EXPECT_EQ(dialog.View().Cut, TPatternCut::pcHorizontal);
  EXPECT_TRUE(dialog.RadioButton1->isChecked());
}

TEST(AntennaDialog, DroppedFilesAreLoadedAndTheBandStays) {
  TAntennaDialog dialog;
  QTimer::singleShot(0, [&] { dialog.reject(); });
  dialog.ShowAntenna(kFixture13, 5);  // 21 MHz band
  DropFile(&dialog, kDipole55);
  EXPECT_EQ(dialog.View().AntennaType, 14);
  EXPECT_EQ(dialog.SpinEdit1->value(), 21);
  // A file that fails leaves the dialog as it was, with its error box.
  const std::string broken = TempFile("dropped.ant", "x\r\n");
  EXPECT_EQ(MessageBoxDuring([&] { DropFile(&dialog, broken); }), "Unknown file format");
  EXPECT_EQ(dialog.View().AntennaType, 14);
}

TEST(AntennaDialog, CutsFollowTheRadioButtonsAndTheSpinBox) {
  TAntennaDialog dialog;
  ASSERT_FALSE(dialog.LoadAntenna(kFixture13));
  EXPECT_EQ(dialog.Label5->text(), " Azimuth");
  EXPECT_EQ(dialog.SpinEdit1->maximum(), 359);
  EXPECT_TRUE(dialog.RadioButton1->isEnabled());
  dialog.SpinEdit1->setValue(90);
  EXPECT_EQ(dialog.View().CutAzimuth, 90);
  dialog.RadioButton1->click();
  EXPECT_EQ(dialog.Label5->text(), " Elevation");
  EXPECT_EQ(dialog.SpinEdit1->minimum(), 1);
  EXPECT_EQ(dialog.SpinEdit1->maximum(), 90);
  EXPECT_EQ(dialog.SpinEdit1->value(), 10);
  dialog.SpinEdit1->setValue(30);
  EXPECT_EQ(dialog.View().CutElevation, 30);
  EXPECT_EQ(dialog.View().CutAzimuth, 90);
  dialog.RadioButton2->click();
  EXPECT_EQ(dialog.SpinEdit1->value(), 90);
  // Loading again starts at azimuth 0, elevation 10, vertical cut.
  dialog.RadioButton1->click();
  ASSERT_FALSE(dialog.LoadAntenna(kFixture13));
  EXPECT_TRUE(dialog.RadioButton2->isChecked());
  EXPECT_EQ(dialog.SpinEdit1->value(), 0);
  EXPECT_EQ(dialog.View().CutElevation, 10);
  // The maximum of the fixture: 8.2 dBi at azimuth 0, elevation 32; aqua bar.
  EXPECT_EQ(dialog.Label8->text(), "8.2");
  EXPECT_EQ(dialog.Shape1->width(), 10);
  EXPECT_EQ(PixelOf(dialog.Shape1, 5, 5), QColor(0, 255, 255));
}

TEST(AntennaDialog, PaintsTheGridAndTheCurve) {
  TAntennaDialog dialog;
  ASSERT_FALSE(dialog.LoadAntenna(TempFile("ISOTROPE.ant", IsotropeText())));
  dialog.resize(dialog.size());
  const QImage image = dialog.PaintBox1->grab().toImage();
  const int w = dialog.PaintBox1->width(), h = dialog.PaintBox1->height();
  EXPECT_EQ(image.pixelColor(0, 0), QColor(183, 239, 239));
  EXPECT_EQ(image.pixelColor(w - 1, h - 1), QColor(183, 239, 239));
  // Type 0: the curve is the quarter circle of radius W from the corner.
  const int plotW = w - 10;
  auto near = [&](int x, int y, QColor c) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (image.pixelColor(x + dx, y + dy) == c) return true;
    return false;
  };
  const int r45 = int(std::lround(plotW * std::sqrt(0.5)));
  EXPECT_TRUE(near(5 + r45, h - 5 - r45, QColor(255, 0, 0)));
  // Some grid is teal.
  bool teal = false;
  for (int y = 5; y < h - 5 && !teal; ++y) teal = image.pixelColor(5, y) == QColor(0, 128, 128);
  EXPECT_TRUE(teal);

  // The horizontal cut of a type-13 file is a closed curve around the centre.
  ASSERT_FALSE(dialog.LoadAntenna(kFixture13));
  dialog.RadioButton1->click();
  const QImage horizontal = dialog.PaintBox1->grab().toImage();
  const TPlotPoint top = dialog.View().Curve(w, h)[0];
  bool red = false;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) red = red || horizontal.pixelColor(top.X + dx, top.Y + dy) == QColor(255, 0, 0);
  EXPECT_TRUE(red);
}

TEST(AntennaDialog, MouseReadoutInThePermanentHint) {
  TAntennaDialog dialog;
  ASSERT_FALSE(dialog.LoadAntenna(kFixture13));
  dialog.show();
  const int w = dialog.PaintBox1->width(), h = dialog.PaintBox1->height();
  // Along the diagonal from the corner: elevation 45 of azimuth row 0.
  MoveMouse(dialog.PaintBox1, 5 + 100, h - 5 - 100);
  EXPECT_TRUE(dialog.Hint->Shown());
  EXPECT_EQ(dialog.Hint->Text(),
            QString::fromUtf8("45°   ") + QString::number(dialog.View().Pattern[0][45], 'f', 1) + " dBi");
  EXPECT_TRUE(dialog.Hint->isVisible());
  MoveMouse(dialog.PaintBox1, 2, 2);  // the margin
  EXPECT_FALSE(dialog.Hint->Shown());
  MoveMouse(dialog.PaintBox1, w / 2, h / 2);
  EXPECT_TRUE(dialog.Hint->Shown());
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(w / 2, h / 2),
                      dialog.PaintBox1->mapToGlobal(QPointF(w / 2, h / 2)), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(dialog.PaintBox1, &release);
  EXPECT_FALSE(dialog.Hint->Shown());
  MoveMouse(dialog.PaintBox1, w / 2, h / 2);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&dialog, &leave);
  EXPECT_FALSE(dialog.Hint->Shown());
  // The horizontal cut reads azimuths clockwise from up.
  dialog.RadioButton1->click();
  MoveMouse(dialog.PaintBox1, w / 2 + 60, h / 2);
  EXPECT_TRUE(dialog.Hint->Text().startsWith(QString::fromUtf8("90°   ")));
  dialog.Hint->HideHint();
}

namespace {

// Counts the tooltip events that reach it.
class TTipCounter : public QWidget {
 public:
  int Tips = 0;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip) ++Tips;
    return QWidget::event(e);
  }
};

}  // namespace

TEST(PermanentHint, StaysUpAndKeepsOrdinaryTooltipsOff) {
  TPermanentHintWindow hint;
  TTipCounter other;
  auto tip = [&] {
    QHelpEvent e(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(&other, &e);
  };
  tip();
  EXPECT_EQ(other.Tips, 1);
  hint.ShowHintAt("12\xB0   3.4 dBi", 40, 50);
  EXPECT_TRUE(hint.Shown());
  EXPECT_TRUE(hint.isVisible());
  EXPECT_EQ(hint.pos(), QPoint(40, 50));
  EXPECT_GE(hint.width(), hint.fontMetrics().horizontalAdvance("12\xB0   3.4 dBi"));
  tip();
  EXPECT_EQ(other.Tips, 1);                            // swallowed while the hint is up
  hint.ShowHintAt("longer text than before", 60, 70);  // moving it keeps it up
  EXPECT_EQ(hint.pos(), QPoint(60, 70));
  tip();
  EXPECT_EQ(other.Tips, 1);
  hint.HideHint();
  EXPECT_FALSE(hint.Shown());
  EXPECT_FALSE(hint.isVisible());
  tip();
  EXPECT_EQ(other.Tips, 2);
}

TEST(PermanentHint, CursorDropBelowTheHotSpot) {
  // A 16 x 16 bitmap cursor whose visible rows are 0..9, hot spot in row 2.
  QBitmap bitmap(16, 16), mask(16, 16);
  bitmap.fill(Qt::color0);
  mask.fill(Qt::color0);
  {
    QPainter p(&mask);
    p.fillRect(0, 0, 8, 10, Qt::color1);
  }
  EXPECT_EQ(TPermanentHintWindow::CursorDropBelowHotspot(QCursor(bitmap, mask, 0, 2)), 8);
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  {
    QPainter p(&picture);
    p.fillRect(2, 0, 4, 13, Qt::black);
  }
  EXPECT_EQ(TPermanentHintWindow::CursorDropBelowHotspot(QCursor(picture, 3, 3)), 10);
  EXPECT_GT(TPermanentHintWindow::CursorDropBelowHotspot(QCursor(Qt::CrossCursor)), 0);
}
