#include "model/PointRun.h"

#include "model/Ionosphere.h"
#include "model/MonthMaps.h"
#include "model/PointReport.h"
#include "model/ResultTables.h"
#include "model/RunSetup.h"
#include "model/Signal.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

namespace vx::model {

void SweepFrequencies(int sweep, TTable<float, 29> &frel) {
    // RUNFREQS, its first mode (whole MHz): first and last of each sweep.
    constexpr int kFirst[3] = {2, 11, 21};
    constexpr int kLast[3] = {10, 20, 30};
    for (int k = 1; k <= 11; ++k) frel(k) = 0.f;
    int slot = 0;
    for (int mhz = kFirst[sweep - 1]; mhz <= kLast[sweep - 1]; ++mhz) frel(++slot) = float(mhz);
}

int PathModelFlag(const TModelState &s, bool areaRun) {
    const int method = s.ion.method;
    const int special = s.contrl.mspec;
    const float distance = s.don.gcdkm;
    const float limit = s.lpath.gcdlng;
    if (method == 22 || method == 25 || special == 125) return 100;
    if (method == 21) return special == 121 ? 100 : 200;
    if (areaRun) return distance > limit ? 200 : 100;
    const int printedMethod = special == 121 ? 30 : method;
    if (special != 121 && distance >= limit) return 200;
    if (printedMethod == 30 && distance >= limit) return 200;
    return 100;
}

namespace {

// HFMUFS: the number of frequencies of the sweep (NF of /TON/).
void CountFrequencies(TModelState &s) {
    int nf = 1;
    while (nf <= 11 && s.frq.frel(nf) != 0.f) ++nf;
    s.ton.nf = nf - 1;
}

// HFMUFS, one hour jt of the TIME card (its ihr-th); false when the run
// stops (VIRTIM has cleared ITRUN).
bool RunHour(TModelState &s, int ihr, int ifreq, IPointSink &report) {
    const int jt = s.chours.ihours(ihr);
    s.time.jtx = ihr;
    SetHour(s, jt);
    const int krun = s.contrl.krun;
    // KRUN (EXECUTE card) leaves out parts of the time variation.
    if (krun <= 2) {
        PrepareVirtualHeights(s);
        if (s.metset.itrun <= 0) return false;
        if (krun <= 1) {
            ApplyTimeVariation(s);
            ApplyF2Variation(s);
        }
        if (krun != 1) ApplySporadicE(s);
    }
    SetUpIonosphere(s);
    ComputeCircuitMuf(s);
    if (ifreq <= 0)
        FrequencyComplement(s, s.frq.frel, ifreq);
    else
        s.frq.frel(12) = s.mufs.allmuf(s.time.it);
    ComputeSignal(s, PathModelFlag(s, false));
    SetLuf(s);
    if (s.contrl.mspec != 125 && s.metset.itout == 7) report.WriteHour(s);
    return true;
}

} // namespace

namespace {

// Collects the rows of the hours one thread computes, each in its place.
class TPlacedRows : public IPointSink {
public:
    TPlacedRows(std::vector<TPointHourRow> &rows, std::size_t first, const std::atomic<bool> *stop)
        : Rows(rows), First(first), Stop(stop) {}
    void WriteHour(TModelState &s) override { Rows[First + std::size_t(s.time.jtx - 1)] = ReadHourRow(s); }
    void WriteEndOfRun() override {}
    bool StopRequested() const override { return Stop && Stop->load(std::memory_order_relaxed); }

private:
    std::vector<TPointHourRow> &Rows;
    std::size_t First;
    const std::atomic<bool> *Stop;
};

} // namespace

namespace {

// HFMUFS' loops: the months of the deck and the frequency sweeps of each,
// the state set up for each sweep; `runSweep(ifreq)` computes its hours and
// returns false to end the run. False when the run was ended.
template <typename Sweep>
bool ForEachSweep(const TModelData &data, TModelState &s, Sweep &&runSweep) {
    const bool sweeps = s.frq.frel(1) < 0.f;
    for (int imonth = 1; imonth <= 12; ++imonth) {
        const int month = s.contrl.months(imonth);
        if (month == 0) break;
        s.ssp.month = month;
        s.don.ssn = s.contrl.sunsp(imonth);
        ReadMonthMaps(data, s, s.don.ssn, month);
        s.cday.iday = s.cdaily.idaily(imonth);
        ComputeGeometry(s);
        const int sweepCount = sweeps && s.ion.method != 26 ? 3 : 1;
        for (int sweep = 1; sweep <= sweepCount; ++sweep) {
            if (sweeps) SweepFrequencies(sweep, s.frq.frel);
            CountFrequencies(s);
            SetSunAngles(s);
            SetOutputLines(s);
            if (!runSweep(int(s.frq.frel(14)))) return false;
        }
    }
    return true;
}

} // namespace

bool RunPointRows(const TModelData &data, TModelState &s, std::vector<TPointHourRow> &rows,
                  const std::atomic<bool> *stop, int threads) {
    rows.clear();
    return ForEachSweep(data, s, [&](int ifreq) {
        const int hours = s.chours.nhours;
        const std::size_t first = rows.size();
        rows.resize(first + std::size_t(std::max(0, hours)));
        // Every hour is computed from the hour up, so the hours of a sweep
        // are shared out among the threads, each on its own copy of the
        // state as the sweep begins.
        const int workers = std::max(1, std::min(threads, hours));
        std::vector<char> ran(std::size_t(std::max(0, hours)), 0);
        const auto runHours = [&](TModelState &own, int firstHour) {
            TPlacedRows sink(rows, first, stop);
            for (int ihr = firstHour; ihr <= hours; ihr += workers) {
                if (sink.StopRequested() || !RunHour(own, ihr, ifreq, sink)) return;
                ran[std::size_t(ihr - 1)] = 1;
            }
        };
        std::vector<std::unique_ptr<TModelState>> copies;
        for (int w = 1; w < workers; ++w) copies.push_back(std::make_unique<TModelState>(s));
        std::vector<std::thread> pool;
        for (int w = 1; w < workers; ++w) pool.emplace_back([&, w] { runHours(*copies[std::size_t(w - 1)], 1 + w); });
        runHours(s, 1);
        for (std::thread &t : pool) t.join();
        // The run ends at the first hour that did not run (a stop, or
        // VIRTIM ending it), as the one-thread run would.
        for (int ihr = 1; ihr <= hours; ++ihr)
            if (!ran[std::size_t(ihr - 1)]) {
                rows.resize(first + std::size_t(ihr - 1));
                return false;
            }
        return true;
    });
}

void RunPointMonths(const TModelData &data, TModelState &s, IPointSink &report) {
    ForEachSweep(data, s, [&](int ifreq) {
        for (int ihr = 1; ihr <= s.chours.nhours; ++ihr)
            if (report.StopRequested() || !RunHour(s, ihr, ifreq, report)) return false;
        return true;
    });
    report.WriteEndOfRun();
}

std::unique_ptr<TModelState> PrepareRun(const TDeck &deck, const TAntennaStep &antennas, std::string &error) {
    auto state = std::make_unique<TModelState>();
    TModelState &s = *state;
    InitialiseState(s);
    SetMagneticPole(s);
    if (deck.MagneticPole) {
        s.cnorth_pole.g_magnetic_lat = deck.MagneticPole->first;
        s.cnorth_pole.g_magnetic_lon = deck.MagneticPole->second;
    }
    if (!ApplyDeck(deck, s, error) || !antennas(s, error)) return nullptr;
    return state;
}

bool RunPointDeck(const TModelData &data, const TDeck &deck, const TAntennaStep &antennas, std::string &text,
                  std::string &error) {
    TPointReport report;
    if (!report.WriteListing(deck.Cards)) {
        error = "the deck has a card the listing does not know";
        return false;
    }
    auto state = PrepareRun(deck, antennas, error);
    if (!state) return false;
    for (const std::string &card : deck.Cards)
        if (card.compare(0, 14, "COMMENT   GROU") == 0) report.WriteCommentGroup(card);
    RunPointMonths(data, *state, report);
    text = report.TakeText();
    return true;
}

} // namespace vx::model
