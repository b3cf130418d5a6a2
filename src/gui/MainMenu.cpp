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
  Mirror(PlotMufBox, PlotMufMNU, on);
  RepaintChart();
}

void TMainForm::SetMarkBestHour(bool on) {
  Mirror(MarkBestHourBox, MarkBestHourMNU, on);
  RepaintChart();
}

void TMainForm::SetShowSun(bool on) {
  Mirror(ShowSunBox, ShowSunMNU, on);
  MapFrame->ShowSun = on;
  MapFrame->Box()->update();
}

void TMainForm::SetPlotPath(bool on) {
  Mirror(PlotPathBox, PlotPathMNU, on);
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
  option(PlotMufBox, PlotMufMNU, &TMainForm::SetPlotMuf);
  option(MarkBestHourBox, MarkBestHourMNU, &TMainForm::SetMarkBestHour);
  option(ShowSunBox, ShowSunMNU, &TMainForm::SetShowSun);
  option(PlotPathBox, PlotPathMNU, &TMainForm::SetPlotPath);

  connect(PreComputeMNU, &QAction::triggered, this, &TMainForm::PreComputeMNUClick);
  connect(SaveImageMNU, &QAction::triggered, this, &TMainForm::SaveImageMNUClick);
  for (auto [item, kind] : {std::pair{MaxHoursMNU, mmHours}, {MaxBandsMNU, mmBands}, {MaxMaxMNU, mmBoth}})
    connect(item, &QAction::triggered, this, [this, kind] {
      if (Batch_->MaxOverMaps(kind)) MapFrame->ShowMaximum(kind);
    });
  connect(GifsMNU, &QAction::triggered, this, [this] { Batch_->GenerateGifs(GifFolder()); });
}

void TMainForm::PopupMenu1Popup(bool ctrlHeld) {
  const TPopupItems items = PopupItemsFor(TPage(PageControl1->currentIndex()), ctrlHeld);
  PlotMufMNU->setVisible(items.PlotMuf);
  MarkBestHourMNU->setVisible(items.MarkBestHour);
  ShowSunMNU->setVisible(items.ShowSun);
  PlotPathMNU->setVisible(items.PlotPath);
  PreComputeMNU->setVisible(items.PreCompute);
  SaveImageMNU->setVisible(items.SaveImage);
  for (QAction* a : {ExtrasSeparator, MaxHoursMNU, MaxBandsMNU, MaxMaxMNU, GifsMNU}) a->setVisible(items.MapExtras);
}

void TMainForm::ShowPopup(QWidget* surface, const QPoint& at) {
  PopupMenu1Popup(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
  PopupMenu1->popup(surface->mapToGlobal(at));
}

void TMainForm::PreComputeMNUClick() {
  if (Shell_.RunModal(*BatchDialog)) Batch_->StartBatch(BatchDialog->Options());
}

void TMainForm::SaveImageMNUClick() {
  switch (PageControl1->currentIndex()) {
    case pgChart:
      ChartFrame->PaintChart();
      Shell_.SaveImage(this, ChartFrame->ChartBitmap);
      break;
    case pgMap: Shell_.SaveImage(this, MapFrame->Model.MapBitmap); break;
    default: break;
  }
}

}  // namespace vx
