#include "gui/PathTexts.h"

#include <QLabel>
#include <cmath>

#include "app/WindowModel.h"
#include "common/StatusLabel.h"
#include "geo/Maidenhead.h"
#include "geo/PathFactsText.h"
#include "gui/GuiText.h"
#include "gui/MainWidgets.h"
#include "views/Conditions.h"

namespace vx {

void ShowPathTexts(TMainWidgets& w, const TWindowModel& m, uint32_t parts) {
  if (parts & (wpDx | wpHome)) {
    const TPredictionInputs in = m.ReadInputs();
    w.HomeLocatorLabel->setText(QString::fromStdString(FormatLocator(in.Home)));
    w.DxLocatorLabel->setText(QString::fromStdString(FormatLocator(in.Dx)));
  }
  if (parts & wpDx) {
    w.DxSourceLabel->setText(FromCp1252(m.DxSource));
    w.DxSourceLabel->setToolTip(FromCp1252(m.DxNotes));
  }
  // The local times move with the clock, which repaints the chart every minute.
  if (parts & (wpDx | wpHome | wpCall | wpChart)) {
    const auto facts = m.PathFacts();
    const QString block = facts ? FromCp1252(PathFactsText(*facts)).trimmed() : QString();
    w.PathFactsLabel->SetFullText(QString(block).replace('\n', QString::fromUtf8("  \u00B7  ")));
    w.PathFactsLabel->setToolTip(block);
    w.PathBriefLabel->setText(facts ? FromCp1252(PathFactsBrief(*facts)) : QString());
    w.PathBriefLabel->setToolTip(block);
  }
  if (parts & wpChart) {
    const TPointResults& results = m.Engine().PointResults();
    w.NowLabel->SetFullText(FromCp1252(ConditionsAt(results, int(std::fmod(m.Clock().UtcNow(), 1.0) * 24))));
    w.NowLabel->setToolTip("<pre>" + FromCp1252(ConditionsTable(results, false)).toHtmlEscaped() + "</pre>");
  }
}

}  // namespace vx
