#include "model/ResultTables.h"

#include "common/TextUtil.h"
#include "model/AreaReport.h"
#include "model/FortranFormat.h"
#include "model/PointReport.h"

#include <algorithm>

namespace vx::model {

namespace ff = fortran;

namespace {

std::optional<float> Readable(const std::string &field) {
    const auto value = ParseDouble(Trim(field));
    if (!value) return std::nullopt;
    return float(*value);
}

std::string ModeText(const std::string &field) { return std::string(Trim(field).substr(0, 4)); }

// The mode cell of a row: hops and layer letters (short model), or the
// transmit and receive ends of the long model.
std::string ModeField(const TModelState &s, int slot, bool areaLayout) {
    std::string field;
    ff::AppendX(field, areaLayout ? 2 : 1);
    if (s.contrl.jlong < 0) {
        ff::AppendI(field, s.son.nhp(slot), 2);
        ff::AppendA(field, s.alpha.mode(slot).View(), 2);
    } else {
        ff::AppendA(field, s.alpha.mode(slot).View(), 2);
        ff::AppendA(field, s.alpha.moder(slot).View(), 2);
    }
    return field;
}

} // namespace

std::optional<float> PrintedValue(double value, int width, int decimals) {
    std::string field;
    ff::AppendF(field, value, width, decimals);
    return Readable(field);
}

TPointHourRow ReadHourRow(TModelState &s) {
    TPointHourRow row;
    const int hour = s.time.it;
    row.Hour = PrintedValue(s.time.gmt, 4, 1);
    row.Muf = PrintedValue(s.mufs.allmuf(hour), 5, 1);
    for (int slot = 1; slot <= TPointHourRow::kSlots; ++slot)
        row.Frequency[std::size_t(slot - 1)] = PrintedValue(s.frq.frel(slot), 5, 1);
    // The report changes the state here; a table must leave it the same.
    if (s.mufs.allmuf(hour) > 30.0f) MarkMufBeyondAntennas(s);
    row.ValuedSlots = std::max(0, std::min(TPointHourRow::kSlots, MarkValuedSlots(s)));
    for (int slot = 1; slot <= row.ValuedSlots; ++slot) {
        const std::size_t k = std::size_t(slot - 1);
        row.Mode[k] = ModeText(ModeField(s, slot, false));
        row.Angle[k] = PrintedValue(s.son.angle(slot), 5, 1);
        std::string snr;
        ff::AppendI(snr, ff::TruncateToInt(ff::NearestWhole(s.son.sndb(slot))), 5);
        row.Snr[k] = Readable(snr);
    }
    return row;
}

void TAreaTable::WriteHead(const TModelState &s) {
    Nx = s.rgrid.nx;
    Ny = s.rgrid.ny;
    CellsByRow.assign(std::size_t(Nx) * std::size_t(Ny), TAreaCellFigures{});
}

void TAreaTable::WriteCell(TModelState &s, int ix, int iy) {
    FoldBestFrequency(s); // as the report does
    const TFrequencyResults &son = s.son;
    TAreaCellFigures &cell = CellsByRow[std::size_t((iy - 1) * Nx + (ix - 1))];
    // Fields that fit their six columns always read back.
    cell.Muf = PrintedValue(s.frq.frel(12), 6, 2).value_or(0.f);
    cell.Elevation = PrintedValue(LimitToSixColumns(son.angle(1), 2), 6, 2).value_or(0.f);
    cell.Snr = PrintedValue(LimitToSixColumns(son.sndb(1), 1), 6, 1).value_or(0.f);
    cell.Mode = ModeText(ModeField(s, 1, true));
    cell.Done = true;
}

bool TAreaTable::Complete() const {
    return !CellsByRow.empty() &&
           std::all_of(CellsByRow.begin(), CellsByRow.end(), [](const TAreaCellFigures &c) { return c.Done; });
}

} // namespace vx::model
