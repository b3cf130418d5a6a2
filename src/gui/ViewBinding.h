// The chart and map frames fed from the window model: what they draw over
// their pictures, the clock they read, and where their requests and
// readouts go.
#pragma once

namespace vx {

class TChartFrame;
class TMapFrame;
class TWindowModel;

void BindViews(TMapFrame& map, TChartFrame& chart, TWindowModel& model);

}  // namespace vx
