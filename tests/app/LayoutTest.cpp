// The window's layout at the desktop's font and at one and a half and twice
// its size: every caption fits its control, the tabs sit at the bottom, and
// the chart and the map keep their exact pixel sizes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <filesystem>

#include "app/gui/MainForm.h"
#include "app/gui/Shell.h"
#include "common/FileUtil.h"
#include "views/ChartDraw.h"
#include "views/ChartFrm.h"
#include "views/MapDraw.h"
#include "views/MapFrm.h"

using namespace vx;

namespace {

struct TSilentShell : IShell {
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
  void ShowError(QWidget*, const QString&) override {}
  bool RunModal(QDialog&) override { return false; }
  bool SaveImage(QWidget*, const TRgbImage&) override { return false; }
  void OpenUrl(const QString&) override {}
};

// What a control needs to show its text whole. A line edit needs room for
// as many characters as it takes (ten at most: longer text scrolls).
QSize Needed(QWidget* w) {
  if (qobject_cast<QGroupBox*>(w)) return w->minimumSizeHint();
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    const QString sample(std::min(e->maxLength(), 10), e->validator() ? QChar('8') : QChar('W'));
    return {e->fontMetrics().horizontalAdvance(sample) + 8, e->minimumSizeHint().height()};
  }
  return w->sizeHint();
}

}  // namespace

TEST(MainFormLayout, NothingIsCutAtLargerFonts) {
  const std::string root = testing::TempDir() + "mainform-layout/";
  std::filesystem::remove_all(root);
  const std::string itshfbc = root + "itshfbc/";
  MakeDirectories(itshfbc + "run");
  MakeDirectories(itshfbc + "database");
  WriteWholeFile(itshfbc + "database/version.w32", "Version 16.1207W\n");
  setenv("XDG_DATA_HOME", (root + "data").c_str(), 1);

  const QFont base = QApplication::font();
  for (double scale : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(scale);
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * scale);
    QApplication::setFont(font);
    TSilentShell shell;
    TMainFormServices services;
    services.Shell = &shell;
    TMainFormSetup setup;
    setup.DataFolder = std::string(VX_BIN_DIR) + "/";
    setup.CacheFolder = root + "cache/";
    setup.SettingsFile = root + "Vantor.ini";
    setup.Voacap = {VX_FAKE_VOACAP, itshfbc};
    TMainForm form(setup, std::move(services));
    ASSERT_TRUE(form.FormCreate());
    form.show();
    EXPECT_EQ(form.PageControl1->tabPosition(), QTabWidget::South);
    const QStringList tabs = {"Params", "Chart", "Map", "Settings", "Ant"};
    ASSERT_EQ(form.PageControl1->count(), tabs.size());
    for (int page = 0; page < form.PageControl1->count(); ++page) {
      EXPECT_EQ(form.PageControl1->tabText(page), tabs[page]);
      {
        const QSignalBlocker quiet(form.PageControl1);  // look, without predictions
        form.PageControl1->setCurrentIndex(page);
      }
      QApplication::processEvents();
      for (QWidget* w : form.PageControl1->widget(page)->findChildren<QWidget*>()) {
        // A spin box is judged whole, not by the edit inside it.
        if (!w->isVisible() || qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
        const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                          qobject_cast<QGroupBox*>(w) || qobject_cast<QComboBox*>(w) ||
                          qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
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
    EXPECT_EQ(form.ChartFrame->Box()->size(), QSize(kChartWidth, kChartHeight));
    EXPECT_EQ(form.MapFrame->Box()->size(), QSize(kMapWidth, kMapHeight));
    // Fixed once laid out, at the size the content needs.
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
  }
  QApplication::setFont(base);
}
