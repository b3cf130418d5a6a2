// The .vg1 file of an area run, as the reference writes it: three head
// lines, then one 170-column line per grid cell with every printed quantity
// of the cell's best frequency. The writer appends to a string it owns.
//
// How an area run drives it (the order HFAREA follows):
//
//     TAreaReport report;
//     report.WriteHead(s);                     // OUTAREA(-nx, -ny)
//     for each cell (iy outer, ix inner):
//         ... compute the cell ...
//         report.WriteCell(s, ix, iy);         // OUTAREA(ix, iy)
//
// WriteCell, like OUTAREA, first folds the frequencies 2..nf into column 1
// of son.dbu, son.dbw, son.sndb, son.reliab, son.sprob and sncom.snxx (the
// largest value of each), so it changes the state it is given.
#pragma once

#include "model/PointReport.h"
#include "model/RunSink.h"
#include "model/State.h"

#include <string>
#include <string_view>
#include <utility>

namespace vx::model {

// XLIMIT6: the value clamped so that it prints in an F6.d field
// (d = 1..4).
float LimitToSixColumns(float value, int decimals);

// PWRCUT: the fraction of the transmitter power that could be cut (0 to
// 0.75) for the SNR distribution given by its median and deciles, against a
// half-power SNR of snr88 and a quarter-power SNR of snr91.
float PowerCut(float snr50, float snrLower, float snrUpper, float snr88, float snr91);

// SQUEEZ: runs of blanks within the text (trailing blanks dropped) become
// one blank.
void SqueezeBlanks(std::string &text);

// TXPWR: a power in kW as the head shows it ("100W", "1.5kW", "25kW").
std::string PowerText(float kilowatts);

// OUTAREA: the largest value over frequencies 2..nf of son.dbu, son.dbw,
// son.sndb, son.reliab, son.sprob and sncom.snxx into their column 1.
void FoldBestFrequency(TModelState &s);

class TAreaReport : public IAreaSink {
public:
    explicit TAreaReport(std::string_view version = kReportVersion);

    // OUTAREA's head: the version line, the run's label (transmitter,
    // antenna, power, beam, hour, frequency, month, sunspots, path) and the
    // column titles with the grid size (rgrid.nx, rgrid.ny).
    void WriteHead(const TModelState &s) override;

    // OUTAREA for cell (ix, iy): the receiver's position and the fields of
    // the cell (son, sncom, cgains, dudl_nois, frq.frel(12)).
    void WriteCell(TModelState &s, int ix, int iy) override;

    const std::string &Text() const { return Out; }
    std::string TakeText() { return std::move(Out); }

private:
    std::string Version;
    std::string Out;
};

} // namespace vx::model
