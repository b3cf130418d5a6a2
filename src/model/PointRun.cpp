#include "model/PointRun.h"

#include "model/Ionosphere.h"
#include "model/MonthMaps.h"
#include "model/PointReport.h"
#include "model/RunSetup.h"
#include "model/Signal.h"

#include <memory>

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
    if (ifreq <= 0) FrequencyComplement(s, s.frq.frel, ifreq);
    else s.frq.frel(12) = s.mufs.allmuf(s.time.it);
    ComputeSignal(s, PathModelFlag(s, false));
    SetLuf(s);
    if (s.contrl.mspec != 125 && s.metset.itout == 7) report.WriteHour(s);
    return true;
}

} // namespace

void RunPointMonths(const TModelData &data, TModelState &s, IPointSink &report) {
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
            const int ifreq = int(s.frq.frel(14));
            for (int ihr = 1; ihr <= s.chours.nhours; ++ihr)
                if (report.StopRequested() || !RunHour(s, ihr, ifreq, report)) {
                    report.WriteEndOfRun();
                    return;
                }
        }
    }
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
