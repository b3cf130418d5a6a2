#include "model/AreaRun.h"

#include "model/AreaGrid.h"
#include "model/AreaReport.h"
#include "model/Ionosphere.h"
#include "model/MonthMaps.h"
#include "model/PointReport.h"
#include "model/PointRun.h"
#include "model/RunSetup.h"
#include "model/Signal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace vx::model {

namespace {

// HFAREA's own degree factor (a DATA constant shorter than /CON/'s).
constexpr float kAreaToRadians = .01745329f;

// VIRTIM's table depends on the month's coefficients and the hour (UT)
// only, which every cell of an area run shares: it is made for the first
// cell and again only if the hour were to change.
struct TPreparedHour {
    bool Done = false;
    float Gmt = 0.f;
};

// HFAREA, one cell: the circuit to the cell's receiver at the deck's hour.
void RunCell(TModelState &s, int ix, int iy, IAreaSink &report, TPreparedHour &prepared) {
    PlaceReceiver(s, ix, iy);
    for (int h = 1; h <= 24; ++h) s.mufs.allmuf(h) = -1.f;
    ComputeGeometry(s);
    SetSunAngles(s);
    SetOutputLines(s);
    const int jt = s.ion.ihro;
    s.time.jtx = jt;
    SetHour(s, jt);
    if (!prepared.Done || std::bit_cast<uint32_t>(prepared.Gmt) != std::bit_cast<uint32_t>(s.time.gmt)) {
        PrepareVirtualHeights(s);
        prepared = {true, s.time.gmt};
    }
    ApplyTimeVariation(s);
    ApplyF2Variation(s);
    ApplySporadicE(s);
    SetUpIonosphere(s);
    ComputeCircuitMuf(s);
    s.frq.frel(12) = s.mufs.allmuf(s.time.it);
    ComputeSignal(s, PathModelFlag(s, true));
    SetLuf(s);
    report.WriteCell(s, ix, iy);
}

} // namespace

void PlaceReceiver(TModelState &s, int ix, int iy) {
    TCircuit &d = s.don;
    GridPoint(s, ix, iy, d.rlongd, d.rlatd);
    if (std::fabs(d.rlatd - d.tlatd) < .05f && std::fabs(d.rlongd - d.tlongd) <= .05f) {
        d.rlongd = d.tlongd + .05f;
        if (d.rlongd >= 360.f) d.rlongd = d.rlongd - 360.f;
    }
    if (std::fabs(d.rlatd) > 89.9f) d.rlongd = 0.f;
    d.rlong = d.rlongd * kAreaToRadians;
    d.rlat = d.rlatd * kAreaToRadians;
}

void RunAreaCells(const TModelData &data, TModelState &s, IAreaSink &sink, int threads) {
    TCircuit &d = s.don;
    s.ssp.month = s.contrl.months(1);
    d.ssn = s.contrl.sunsp(1);
    ReadMonthMaps(data, s, d.ssn, s.ssp.month);
    s.cday.iday = s.cdaily.idaily(1);
    int nf = 1;
    while (nf <= 11 && s.frq.frel(nf) != 0.f) ++nf;
    s.ton.nf = nf - 1;
    sink.WriteHead(s);
    d.tlat = d.tlatd * kAreaToRadians;
    d.tlong = d.tlongd * kAreaToRadians;
    d.rlat = d.rlatd * kAreaToRadians;
    d.rlong = d.rlongd * kAreaToRadians;
    const int rows = s.rgrid.ny;
    const int workers = std::max(1, std::min(threads, rows));
    // Every cell is computed from the receiver up, so a row needs nothing
    // of the rows before it: each thread takes every workers-th row on a
    // copy of the prepared state.
    const auto runRows = [&](TModelState &own, int first) {
        TPreparedHour prepared;
        for (int iy = first; iy <= rows; iy += workers)
            for (int ix = 1; ix <= own.rgrid.nx; ++ix) {
                if (sink.StopRequested()) return;
                RunCell(own, ix, iy, sink, prepared);
            }
    };
    if (workers == 1) {
        runRows(s, 1);
        return;
    }
    std::vector<std::unique_ptr<TModelState>> copies;
    std::vector<std::thread> pool;
    for (int w = 1; w < workers; ++w) copies.push_back(std::make_unique<TModelState>(s));
    for (int w = 1; w < workers; ++w) pool.emplace_back([&, w] { runRows(*copies[std::size_t(w - 1)], 1 + w); });
    runRows(s, 1);
    for (std::thread &t : pool) t.join();
}

bool RunAreaDeck(const TModelData &data, const TDeck &deck, const TAntennaStep &antennas, std::string &text,
                 std::string &error) {
    auto state = PrepareAreaRun(deck, antennas, error);
    if (!state) return false;
    TAreaReport report;
    RunAreaCells(data, *state, report);
    text = report.TakeText();
    return true;
}

std::unique_ptr<TModelState> PrepareAreaRun(const TDeck &deck, const TAntennaStep &antennas, std::string &error) {
    auto state = PrepareRun(deck, antennas, error);
    if (state && state->carea.iarea == 0) {
        error = "the deck is not an area deck";
        return nullptr;
    }
    return state;
}

} // namespace vx::model
