#include "gui/ViewBinding.h"

#include <cmath>

#include "app/WindowModel.h"
#include "gui/GuiText.h"
#include "views/ChartFrm.h"
#include "views/MapFrm.h"

namespace vx {

namespace {

// The time of day of a day count, as a fraction of the day.
double DayPart(double days) { return days - std::floor(days); }

}  // namespace

void BindViews(TMapFrame& map, TChartFrame& chart, TWindowModel& m) {
  // Readouts into the status bar, requests to the model.
  auto readouts = [&m](const QStringList& panels) {
    std::array<std::string, 5> texts;
    for (size_t i = 0; i < texts.size() && int(i) < panels.size(); ++i) texts[i] = ToCp1252(panels[int(i)]);
    m.ShowReadouts(texts);
  };
  QObject::connect(&chart, &TChartFrame::StatusTexts, &chart, readouts);
  QObject::connect(&map, &TMapFrame::StatusTexts, &map, readouts);
  QObject::connect(&chart, &TChartFrame::BoxDblClick, &chart, [&m] { m.SetMarkBestHour(!m.MarkBestHourOn); });
  QObject::connect(&map, &TMapFrame::ComputeMap, &map, [&m] { m.Controller().ComputeMap(); });
  QObject::connect(&map, &TMapFrame::RefreshSpaceWeather, &map, [&m] { m.RefreshSpaceWeather(); });
  QObject::connect(&map, &TMapFrame::LocationClicked, &map, [&m](TLocation p, bool home) { m.ClickLocation(p, home); });
  map.EngineYear = [&m] { return int(m.Engine().JobInputs().Year); };
  map.EngineMonth = [&m] { return int(m.Engine().JobInputs().Month); };
  map.EngineLongPath = [&m] { return m.Engine().JobInputs().LongPath; };
  map.HomePoint = [&m] { return m.Inputs.Home; };
  map.DxPoint = [&m] { return m.Inputs.Dx; };
  // The views read the one clock the model was given.
  map.NowDays = [&m] { return m.Clock().UtcNow(); };
  map.UtcHour = [&m] { return int(DayPart(m.Clock().UtcNow()) * 24.0) % 24; };
  map.MonitorConnected = [&m] { return m.Monitor().Active(); };
  chart.Now = [&m] { return DayPart(m.Clock().UtcNow()); };
  chart.Results = &m.Engine().PointResults();
}

}  // namespace vx
