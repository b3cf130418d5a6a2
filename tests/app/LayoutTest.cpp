// The window's layout at the desktop's font and at one and a half and twice
// its size: every caption fits its control, the tabs sit at the bottom, and
// the chart and the map keep their exact pixel sizes; a larger window shows
// them in whole steps, and the window opens on the screen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "common/FileUtil.h"
#include "common/StatusLabel.h"
#include "gui/MainForm.h"
#include "support/Controls.h"
#include "support/RecordingShell.h"
#include "support/VoacapFolder.h"
#include "views/ChartDraw.h"
#include "views/ChartFrm.h"
#include "views/MapDraw.h"
#include "views/MapFrm.h"

using namespace vx;
using vxtest::Control;

namespace {

// What a control needs to show its text whole. A line edit needs room for
// as many characters as it takes (ten at most: longer text scrolls).
QSize Needed(QWidget* w) {
  // A label that elides (a path) shows what fits and holds the rest as its tooltip.
  if (qobject_cast<QGroupBox*>(w) || qobject_cast<TStatusLabel*>(w)) return w->minimumSizeHint();
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    const QString sample(std::min(e->maxLength(), 10), e->validator() ? QChar('8') : QChar('W'));
    return {e->fontMetrics().horizontalAdvance(sample) + 8, e->minimumSizeHint().height()};
  }
  return w->sizeHint();
}

// A window with the stand-in program, in a folder of its own.
struct TLayoutWindow {
  vxtest::TRecordingShell Shell;
  std::unique_ptr<TMainForm> Form;
  explicit TLayoutWindow(const std::string& name, TVantorSettings settings = {}) {
    const std::string root = testing::TempDir() + "mainform-" + name + "/";
    std::filesystem::remove_all(root);
    const std::string itshfbc = vxtest::MakeVoacapFolder(root + "itshfbc/");
    setenv("XDG_DATA_HOME", (root + "data").c_str(), 1);
    Shell.ThreeWay = anNo;  // a window that asks hears No, as from a silent desktop
    TMainFormServices services;
    services.Shell = &Shell;
    TSessionSetup setup;
    setup.DataFolder = std::string(VX_BIN_DIR) + "/";
    setup.CacheFolder = root + "cache/";
    setup.SettingsFile = root + "Vantor.ini";
    setup.Voacap = {VX_FAKE_VOACAP, itshfbc};
    setup.Settings = settings;
    Form = std::make_unique<TMainForm>(setup, std::move(services));
  }
};

void ShowPage(TMainForm& form, int page) {
  const QSignalBlocker quiet(Control<QTabWidget>(form, "Pages"));  // look, without predictions
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(page);
  QApplication::processEvents();
}

// Every pixel of the box is the surface pixel it magnifies.
void ExpectMagnified(QWidget* box, const TRgbImage& surface, int scale) {
  ASSERT_EQ(box->size(), QSize(surface.Width, surface.Height) * scale);
  const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB888);
  ASSERT_EQ(shot.size(), box->size());
  int wrong = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const TRgb want = surface.Pixel(x / scale, y / scale);
      const QRgb got = shot.pixel(x, y);
      wrong += qRed(got) != want.R || qGreen(got) != want.G || qBlue(got) != want.B;
    }
  EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(MainFormLayout, NothingIsCutAtLargerFonts) {
  const QFont base = QApplication::font();
  for (double scale : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * scale);
    QApplication::setFont(font);
    TLayoutWindow window("layout");
    TMainForm& form = *window.Form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    EXPECT_EQ(Control<QTabWidget>(form, "Pages")->tabPosition(), QTabWidget::South);
    const QStringList tabs = {"Params", "Chart", "Map", "Settings", "Ant"};
    ASSERT_EQ(Control<QTabWidget>(form, "Pages")->count(), tabs.size());
    for (int page = 0; page < Control<QTabWidget>(form, "Pages")->count(); ++page) {
      EXPECT_EQ(Control<QTabWidget>(form, "Pages")->tabText(page), tabs[page]);
      {
        const QSignalBlocker quiet(Control<QTabWidget>(form, "Pages"));  // look, without predictions
        Control<QTabWidget>(form, "Pages")->setCurrentIndex(page);
      }
      QApplication::processEvents();
      for (QWidget* w : Control<QTabWidget>(form, "Pages")->widget(page)->findChildren<QWidget*>()) {
        // A spin box is judged whole, not by the edit inside it.
        if (!w->isVisible() || qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
        const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                          qobject_cast<QGroupBox*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                          qobject_cast<QAbstractSpinBox*>(w);
        if (!text) continue;
        const QSize need = Needed(w);
        const std::string what = std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() +
                                 " (" + w->parentWidget()->objectName().toStdString() + ") on " +
                                 tabs[page].toStdString();
        EXPECT_GE(w->width(), need.width()) << what;
        EXPECT_GE(w->height(), need.height()) << what;
      }
    }
    for (QLabel* panel : form.statusBar()->findChildren<QLabel*>()) {
      if (panel->text().isEmpty()) continue;
      EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    }
    // 1:1 at the desktop's font; a page that larger fonts made room for
    // shows them in whole steps.
    if (scale == 1.0) {
      EXPECT_EQ(Control<TChartFrame>(form, "ChartFrame")->Scale(), 1);
      EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Scale(), 1);
    }
    EXPECT_EQ(Control<TChartFrame>(form, "ChartFrame")->Box()->size(),
              QSize(kChartWidth, kChartHeight) * Control<TChartFrame>(form, "ChartFrame")->Scale());
    EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Box()->size(),
              QSize(kMapWidth, kMapHeight) * Control<TMapFrame>(form, "MapFrame")->Scale());
    // It opens at the size its content needs, and may grow from there.
    EXPECT_EQ(form.size(), form.minimumSize());
    EXPECT_GT(form.maximumSize().width(), form.minimumSize().width());
    EXPECT_GT(form.maximumSize().height(), form.minimumSize().height());
  }
  QApplication::setFont(base);
}

TEST(MainFormLayout, ALongEnginePathNeverWidensTheWindow) {
  TLayoutWindow window("long-path");
  TMainForm& form = *window.Form;
  ASSERT_TRUE(form.FormCreate());
  form.show();
  ShowPage(form, 3);
  const QSize before = form.minimumSize();
  const QString text = "voacapl answers (/" + QString("deep/").repeated(60) + "voacapl).";
  Control<TStatusLabel>(form, "EngineLabel")->SetFullText(text);
  QApplication::processEvents();
  EXPECT_EQ(form.minimumSize(), before);
  EXPECT_EQ(Control<TStatusLabel>(form, "EngineLabel")->toolTip(), text);
  EXPECT_TRUE(Control<TStatusLabel>(form, "EngineLabel")->text().startsWith("voacapl answers (/deep/"));
  EXPECT_TRUE(Control<TStatusLabel>(form, "EngineLabel")->text().endsWith("voacapl)."));
}

TEST(MainFormLayout, ALargerWindowShowsChartAndMapInWholeSteps) {
  TLayoutWindow window("steps");
  TMainForm& form = *window.Form;
  ASSERT_TRUE(form.FormCreate());
  Control<TChartFrame>(form, "ChartFrame")->Now = [] { return 0.5; };
  form.show();
  const QSize design = form.size();

  // Room for at least twice the chart and the map: each shows in whole steps.
  form.resize(design + QSize(kMapWidth + kChartWidth, kMapHeight + kChartHeight));
  ShowPage(form, 1);
  const int chartScale = Control<TChartFrame>(form, "ChartFrame")->Scale();
  EXPECT_GE(chartScale, 2);
  ExpectMagnified(Control<TChartFrame>(form, "ChartFrame")->Box(), Control<TChartFrame>(form, "ChartFrame")->Surface(),
                  chartScale);
  ShowPage(form, 2);
  const int mapScale = Control<TMapFrame>(form, "MapFrame")->Scale();
  EXPECT_GE(mapScale, 2);
  ExpectMagnified(Control<TMapFrame>(form, "MapFrame")->Box(), Control<TMapFrame>(form, "MapFrame")->Surface(),
                  mapScale);
  // One step more would not fit the page.
  const QWidget* page = Control<QTabWidget>(form, "Pages")->currentWidget();
  EXPECT_GT(Control<TMapFrame>(form, "MapFrame")->width() + kMapWidth, page->width());

  // The mouse is read in map pixels.
  std::vector<TLocation> clicks;
  QObject::connect(Control<TMapFrame>(form, "MapFrame"), &TMapFrame::LocationClicked,
                   [&](TLocation p, bool) { clicks.push_back(p); });
  QTest::mouseClick(Control<TMapFrame>(form, "MapFrame")->Box(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(mapScale * 100 + mapScale - 1, mapScale * 50 + mapScale - 1));
  ASSERT_EQ(clicks.size(), 1u);
  const TLocation at = clicks[0];
  EXPECT_EQ(at.X, PixelToLocation(100, 50).X);
  EXPECT_EQ(at.Y, PixelToLocation(100, 50).Y);

  // Back to the design size: 1:1 again, the exact pictures.
  form.resize(design);
  ShowPage(form, 1);
  EXPECT_EQ(Control<TChartFrame>(form, "ChartFrame")->Box()->size(), QSize(kChartWidth, kChartHeight));
  ExpectMagnified(Control<TChartFrame>(form, "ChartFrame")->Box(), Control<TChartFrame>(form, "ChartFrame")->Surface(),
                  1);
  ShowPage(form, 2);
  EXPECT_EQ(Control<TMapFrame>(form, "MapFrame")->Box()->size(), QSize(kMapWidth, kMapHeight));
  EXPECT_EQ(form.size(), design);
}

TEST(MainFormLayout, OpensOnTheScreenWhereverItWasLeft) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (QPoint saved : {QPoint(1400, 900), QPoint(-3000, 200), QPoint(screen.right() - 10, -500)}) {
    SCOPED_TRACE(saved.x());
    TVantorSettings settings;
    settings.Left = saved.x();
    settings.Top = saved.y();
    TLayoutWindow window("onscreen", settings);
    ASSERT_TRUE(window.Form->FormCreate());
    window.Form->show();
    EXPECT_TRUE(screen.contains(window.Form->frameGeometry()))
        << window.Form->frameGeometry().x() << "," << window.Form->frameGeometry().y() << " "
        << window.Form->frameGeometry().width() << "x" << window.Form->frameGeometry().height() << " on "
        << screen.width() << "x" << screen.height();
  }
  // A position on the screen stays as it was.
  TVantorSettings settings;
  settings.Left = screen.left() + 10;
  settings.Top = screen.top() + 20;
  TLayoutWindow window("onscreen", settings);
  ASSERT_TRUE(window.Form->FormCreate());
  EXPECT_EQ(window.Form->pos(), QPoint(screen.left() + 10, screen.top() + 20));
}
