// The context menu of the chart and the map, and the four options that are
// both a check box on the Settings tab and a menu item.
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QMenu>
#include <utility>

#include "app/PictureTitle.h"
#include "app/PopupRules.h"
#include "common/Paths.h"
#include "gui/MainForm.h"
#include "gui/Shell.h"
#include "views/BatchDlg.h"
#include "views/ChartFrm.h"
#include "views/Decorate.h"
#include "views/MapFrm.h"

namespace vx {

void TMainForm::ConnectMenu() {
  TWindowModel& m = *Model_;
  // A click on either face turns the option over; the model shows it on both.
  auto option = [this](QCheckBox* box, QAction* item, bool TWindowModel::*on, void (TWindowModel::*set)(bool)) {
    auto flip = [this, on, set] { (*Model_.*set)(!((*Model_).*on)); };
    connect(box, &QCheckBox::clicked, this, flip);
    connect(item, &QAction::triggered, this, flip);
  };
  option(W.PlotMufBox, W.PlotMufItem, &TWindowModel::PlotMufOn, &TWindowModel::SetPlotMuf);
  option(W.MarkBestHourBox, W.MarkBestHourItem, &TWindowModel::MarkBestHourOn, &TWindowModel::SetMarkBestHour);
  option(W.ShowSunBox, W.ShowSunItem, &TWindowModel::ShowSunOn, &TWindowModel::SetShowSun);
  option(W.PlotPathBox, W.PlotPathItem, &TWindowModel::PlotPathOn, &TWindowModel::SetPlotPath);

  connect(W.PreComputeItem, &QAction::triggered, this, &TMainForm::PreComputeClick);
  connect(W.SaveImageItem, &QAction::triggered, this, &TMainForm::SaveImageClick);
  for (auto [item, kind] : {std::pair{W.MaxHoursItem, mmHours}, {W.MaxBandsItem, mmBands}, {W.MaxMaxItem, mmBoth}})
    connect(item, &QAction::triggered, this, [&m, kind] { m.ShowMaximum(kind); });
  connect(W.GifsItem, &QAction::triggered, this, [&m] { m.Batch()->GenerateGifs(GifFolder()); });
  for (QWidget* surface : {W.ChartFrame->Box(), W.MapFrame->Box()})
    connect(surface, &QWidget::customContextMenuRequested, this,
            [this, surface](const QPoint& at) { ShowPopup(surface, at); });
}

void TMainForm::PreparePopup(bool ctrlHeld) {
  const TPopupItems items = PopupItemsFor(Model_->Page, ctrlHeld);
  W.PlotMufItem->setVisible(items.PlotMuf);
  W.MarkBestHourItem->setVisible(items.MarkBestHour);
  W.ShowSunItem->setVisible(items.ShowSun);
  W.PlotPathItem->setVisible(items.PlotPath);
  W.PreComputeItem->setVisible(items.PreCompute);
  W.SaveImageItem->setVisible(items.SaveImage);
  for (QAction* a : {W.ExtrasSeparator, W.MaxHoursItem, W.MaxBandsItem, W.MaxMaxItem, W.GifsItem})
    a->setVisible(items.MapExtras);
}

void TMainForm::ShowPopup(QWidget* surface, const QPoint& at) {
  PreparePopup(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
  W.PopupMenu->popup(surface->mapToGlobal(at));
}

void TMainForm::PreComputeClick() {
  if (Shell_.RunModal(*W.BatchDialog)) Model_->Batch()->StartBatch(W.BatchDialog->Options());
}

// The saved picture carries its scales and says what it was computed for.
void TMainForm::SaveImageClick() {
  if (Model_->Page == pgChart)
    Shell_.SaveImage(this, DecorateChart(Model_->Chart, {1, PictureTitle(ChartFacts(*Model_))}).Image);
  if (Model_->Page == pgMap) {
    const TPictureDecor decor{1, PictureTitle(MapFacts(*Model_))};
    Shell_.SaveImage(this, DecorateMap(Model_->Map.MapBitmap, Model_->Map.MapStyle, decor).Image);
  }
}

}  // namespace vx
