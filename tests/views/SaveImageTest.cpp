// "Save Image...": the real file dialog, answered as a user would, and the
// files it leaves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "common/FileUtil.h"
#include "views/BmpFile.h"
#include "views/QtImage.h"
#include "views/SaveImg.h"

using namespace vx;

namespace {

TRgbImage Picture() {
  TRgbImage image(37, 11);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) image.SetPixel(x, y, Rgb(uint8_t(x * 7), uint8_t(y * 23), uint8_t(x ^ y)));
  return image;
}

struct SaveImage : testing::Test {
  std::string home;
  QString openedIn;
  QStringList filters;

  void SetUp() override {
    home = testing::TempDir() + "save-image-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(home);
    MakeDirectories(home + "config");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "config").c_str(), 1);
  }

  // Opens the dialog and, once it shows, picks filter and types name.
  bool Save(const QString& filter, const QString& name) {
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog || !dialog->isVisible()) continue;
        openedIn = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        // The filter is picked in the dialog's list of file types, as a user does.
        for (QComboBox* types : dialog->findChildren<QComboBox*>()) {
          const int i = types->findText(filter);
          if (i < 0) continue;
          types->setCurrentIndex(i);
          emit types->activated(i);
        }
        dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        return;
      }
    });
    return SaveImageMNUClick(nullptr, Picture());
  }
};

}  // namespace

TEST_F(SaveImage, PngOrBitmapAsTheNameOrTheFilterSays) {
  MakeDirectories(home + "Pictures");
  const QString pictures = QString::fromStdString(home + "Pictures");

  ASSERT_TRUE(Save(kPngFilter, "map1.png"));
  EXPECT_EQ(openedIn, pictures);
  EXPECT_EQ(filters, QStringList({kPngFilter, kBmpFilter}));
  const std::string png = ReadWholeFile(home + "Pictures/map1.png").value_or("");
  ASSERT_EQ(png.substr(0, 4), "\x89PNG");
  // The same pixels as the picture shown.
  const QImage read = QImage::fromData(QByteArray::fromStdString(png), "PNG");
  ASSERT_FALSE(read.isNull());
  EXPECT_TRUE(FromQImage(read).Bytes == Picture().Bytes);

  // No extension typed: the filter's format and suffix.
  ASSERT_TRUE(Save(kBmpFilter, "map2"));
  EXPECT_TRUE(ReadWholeFile(home + "Pictures/map2.bmp") == EncodeBmp24(Picture()));
  ASSERT_TRUE(Save(kPngFilter, "map3"));
  EXPECT_EQ(ReadWholeFile(home + "Pictures/map3.png").value_or("").substr(0, 4), "\x89PNG");
  // A typed extension wins over the filter.
  ASSERT_TRUE(Save(kPngFilter, "map4.BMP"));
  EXPECT_TRUE(ReadWholeFile(home + "Pictures/map4.BMP") == EncodeBmp24(Picture()));
}

TEST_F(SaveImage, OpensAtHomeWithoutAPicturesFolder) {
  ASSERT_TRUE(Save(kPngFilter, "chart.png"));
  EXPECT_EQ(openedIn, QString::fromStdString(home).chopped(1));
  EXPECT_TRUE(FileExists(home + "chart.png"));
}
