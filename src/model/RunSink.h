// Where a run hands what it computed: the printed reports (PointReport.h,
// AreaReport.h) or the tables the programs read (ResultTables.h). A sink
// may also ask the run to stop early; the run checks between hours and
// between cells.
#pragma once

#include "model/State.h"

namespace vx::model {

class IPointSink {
public:
    virtual ~IPointSink() = default;
    // One hour of one frequency sweep, computed (OUTLIN's place).
    virtual void WriteHour(TModelState &s) = 0;
    // The run is over, whole or stopped.
    virtual void WriteEndOfRun() = 0;
    virtual bool StopRequested() const { return false; }
};

class IAreaSink {
public:
    virtual ~IAreaSink() = default;
    // Once, before the first cell (OUTAREA's head).
    virtual void WriteHead(const TModelState &s) = 0;
    // Cell (ix, iy) computed. With a split run, cells of different rows
    // arrive from different threads at once.
    virtual void WriteCell(TModelState &s, int ix, int iy) = 0;
    virtual bool StopRequested() const { return false; }
};

} // namespace vx::model
