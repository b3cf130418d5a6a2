// The context menu of the chart and the map, and the four options that are
// both a check box on the Settings tab and a menu item.
#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QMenu>
#include <QTabWidget>

#include <utility>
#include "app/PopupRules.h"
#include "gui/MainForm.h"
#include "gui/Shell.h"

#include "views/BatchDlg.h"
#include "views/ChartFrm.h"
#include "views/MapFrm.h"

namespace vx {

namespace {

void Mirror(QCheckBox* box, QAction* item, bool on) {
  box->setChecked(on);
  item->setChecked(on);
}

}  // namespace

void TMainForm::SetPlotMuf(bool on) {
  Mirror(PlotMufBox, PlotMufItem, on);
  RepaintChart();
}

void TMainForm::SetMarkBestHour(bool on) {
  Mirror(MarkBestHourBox, MarkBestHourItem, on);
  RepaintChart();
}

void TMainForm::SetShowSun(bool on) {
  Mirror(ShowSunBox, ShowSunItem, on);
  MapFrame->ShowSun = on;
  MapFrame->Box()->update();
}

void TMainForm::SetPlotPath(bool on) {
  Mirror(PlotPathBox, PlotPathItem, on);
  MapFrame->PlotPath = on;
  MapFrame->Box()->update();
}

void TMainForm::ConnectMenu() {
  // A click on either face turns the option to the opposite of the menu
  // item's check, which both faces then show.
  auto option = [this](QCheckBox* box, QAction* item, void (TMainForm::*setter)(bool)) {
    connect(box, &QCheckBox::clicked, this, [this, item, setter] { (this->*setter)(!item->isChecked()); });
    // A checkable item has already turned its check when it reports.
    connect(item, &QAction::triggered, this, [this, setter](bool checked) { (this->*setter)(checked); });
  };
  option(PlotMufBox, PlotMufItem, &TMainForm::SetPlotMuf);
  option(MarkBestHourBox, MarkBestHourItem, &TMainForm::SetMarkBestHour);
  option(ShowSunBox, ShowSunItem, &TMainForm::SetShowSun);
  option(PlotPathBox, PlotPathItem, &TMainForm::SetPlotPath);

  connect(PreComputeItem, &QAction::triggered, this, &TMainForm::PreComputeClick);
  connect(SaveImageItem, &QAction::triggered, this, &TMainForm::SaveImageClick);
  for (auto [item, kind] : {std::pair{MaxHoursItem, mmHours}, {MaxBandsItem, mmBands}, {MaxMaxItem, mmBoth}})
    connect(item, &QAction::triggered, this, [this, kind] {
      if (Batch_->MaxOverMaps(kind)) MapFrame->ShowMaximum(kind);
    });
  connect(GifsItem, &QAction::triggered, this, [this] { Batch_->GenerateGifs(GifFolder()); });
}

void TMainForm::PreparePopup(bool ctrlHeld) {
  const TPopupItems items = PopupItemsFor(TPage(Pages->currentIndex()), ctrlHeld);
  PlotMufItem->setVisible(items.PlotMuf);
  MarkBestHourItem->setVisible(items.MarkBestHour);
  ShowSunItem->setVisible(items.ShowSun);
  PlotPathItem->setVisible(items.PlotPath);
  PreComputeItem->setVisible(items.PreCompute);
  SaveImageItem->setVisible(items.SaveImage);
  for (QAction* a : {ExtrasSeparator, MaxHoursItem, MaxBandsItem, MaxMaxItem, GifsItem}) a->setVisible(items.MapExtras);
}

void TMainForm::ShowPopup(QWidget* surface, const QPoint& at) {
  PreparePopup(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
  PopupMenu->popup(surface->mapToGlobal(at));
}

void TMainForm::PreComputeClick() {
  if (Shell_.RunModal(*BatchDialog)) Batch_->StartBatch(BatchDialog->Options());
}

void TMainForm::SaveImageClick() {
  switch (Pages->currentIndex()) {
    case pgChart:
      ChartFrame->PaintChart();
      Shell_.SaveImage(this, ChartFrame->ChartBitmap);
      break;
    case pgMap: Shell_.SaveImage(this, MapFrame->Model.MapBitmap); break;
    default: break;
  }
}

}  // namespace vx
