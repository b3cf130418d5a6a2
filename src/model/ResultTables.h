// The figures of a run that the programs read, kept as numbers instead of
// report text: per hour and frequency for a point run, per cell for an
// area run. Each figure is the value the printed report shows, as reading
// that field back would give it (rounded to the report's decimals, limited
// to its width), so a program gets the same figures from a run in memory
// as from the report file.
#pragma once

#include "model/RunSink.h"
#include "model/State.h"

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace vx::model {

// The value an Fw.d field shows, read back; nothing when the field is
// asterisks.
std::optional<float> PrintedValue(double value, int width, int decimals);

// One hour block of a point run: the FREQ line and, for each frequency
// slot that carries values, its MODE, TANGLE and SNR figures.
struct TPointHourRow {
    static constexpr int kSlots = 11;
    std::optional<float> Hour;                            // F4.1 of the UTC hour
    std::optional<float> Muf;                             // F5.1
    std::array<std::optional<float>, kSlots> Frequency{}; // F5.1, 0 = unused slot
    int ValuedSlots = 0;                                  // slots 1..ValuedSlots have figures
    std::array<std::string, kSlots> Mode;                 // blanks trimmed, at most 4 characters
    std::array<std::optional<float>, kSlots> Angle{};     // F5.1
    std::array<std::optional<float>, kSlots> Snr{};       // I5 of the nearest whole dB
};

// The figures of the hour just computed (OUTLIN's place); changes the state
// as the report does. RunPointRows (PointRun.h) collects them.
TPointHourRow ReadHourRow(TModelState &s);

// One cell of an area run: the best frequency's figures.
struct TAreaCellFigures {
    float Snr = 0.f;       // F6.1
    float Elevation = 0.f; // F6.2, degrees
    float Muf = 0.f;       // F6.2, MHz
    std::string Mode;      // blanks trimmed, at most 4 characters
    bool Done = false;
};

// Collects the cells of an area run (RunAreaCells); safe for a split run,
// as every cell is written once. Cells(ix, iy) with ix west to east and iy
// south to north, both from 1.
class TAreaTable : public IAreaSink {
public:
    explicit TAreaTable(const std::atomic<bool> *stop = nullptr) : Stop(stop) {}
    void WriteHead(const TModelState &s) override;
    void WriteCell(TModelState &s, int ix, int iy) override;
    bool StopRequested() const override { return Stop && Stop->load(std::memory_order_relaxed); }

    int Columns() const { return Nx; }
    int Rows() const { return Ny; }
    const TAreaCellFigures &Cell(int ix, int iy) const { return CellsByRow[std::size_t((iy - 1) * Nx + (ix - 1))]; }
    // Every cell was computed (the run was not stopped).
    bool Complete() const;

private:
    const std::atomic<bool> *Stop;
    int Nx = 0, Ny = 0;
    std::vector<TAreaCellFigures> CellsByRow;
};

} // namespace vx::model
