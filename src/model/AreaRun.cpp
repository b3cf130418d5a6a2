#include "model/AreaRun.h"

#include "model/AreaGrid.h"
#include "model/AreaReport.h"
#include "model/Ionosphere.h"
#include "model/MonthMaps.h"
#include "model/PointReport.h"
#include "model/PointRun.h"
#include "model/RunSetup.h"
#include "model/Signal.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

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
void RunCell(TModelState &s, int ix, int iy, TAreaReport &report, TPreparedHour &prepared) {
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

void RunAreaCells(const TModelData &data, TModelState &s, TAreaReport &report) {
    TCircuit &d = s.don;
    s.ssp.month = s.contrl.months(1);
    d.ssn = s.contrl.sunsp(1);
    ReadMonthMaps(data, s, d.ssn, s.ssp.month);
    s.cday.iday = s.cdaily.idaily(1);
    int nf = 1;
    while (nf <= 11 && s.frq.frel(nf) != 0.f) ++nf;
    s.ton.nf = nf - 1;
    report.WriteHead(s);
    d.tlat = d.tlatd * kAreaToRadians;
    d.tlong = d.tlongd * kAreaToRadians;
    d.rlat = d.rlatd * kAreaToRadians;
    d.rlong = d.rlongd * kAreaToRadians;
    TPreparedHour prepared;
    for (int iy = 1; iy <= s.rgrid.ny; ++iy)
        for (int ix = 1; ix <= s.rgrid.nx; ++ix) RunCell(s, ix, iy, report, prepared);
}

bool RunAreaDeck(const TModelData &data, const TDeck &deck, const TAntennaStep &antennas, std::string &text,
                 std::string &error) {
    auto state = std::make_unique<TModelState>();
    TModelState &s = *state;
    InitialiseState(s);
    SetMagneticPole(s);
    if (deck.MagneticPole) {
        s.cnorth_pole.g_magnetic_lat = deck.MagneticPole->first;
        s.cnorth_pole.g_magnetic_lon = deck.MagneticPole->second;
    }
    if (!ApplyDeck(deck, s, error) || !antennas(s, error)) return false;
    if (s.carea.iarea == 0) {
        error = "the deck is not an area deck";
        return false;
    }
    TAreaReport report;
    RunAreaCells(data, s, report);
    text = report.TakeText();
    return true;
}

} // namespace vx::model
