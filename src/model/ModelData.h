// The model's long-term tables: for each month the ionospheric, noise and
// system coefficients, and the foF2 maps of the two published sets (CCIR and
// URSI). They come from the coefficient tables published with VOACAP and are
// shipped as one file of our own (written by tools/modelgen); the run reads
// one month of them into its state (MonthMaps.h).
//
// The file: a 32-byte header ("VXMODEL" 0x1A, format version, section count,
// then the number of 4-byte values of each of the four sections), the
// sections, and a CRC-32 of everything before it. All values little-endian.
//   1. per month, the integer table ikim                 (12 x 60 int32)
//   2. per month, every other month table, in the order of
//      TMonthCoefficients below                          (12 x 9560 float32)
//   3. CCIR foF2 maps, per month                         (12 x 1976 float32)
//   4. URSI foF2 maps, per month                         (12 x 1976 float32)
// Tables are stored with their first index fastest, as in the model.
//
// Loaded once, the data are never changed: one TModelData serves every run
// of every thread.
#pragma once

#include "model/Table.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vx::model {

inline constexpr int kMonthCount = 12;

// One month of the coefficient file, before the sunspot interpolation (the
// x-tables hold a low- and a high-sunspot set in their last dimension).
struct TMonthCoefficients {
    TTable<int32_t, 10, 6> ikim{};
    TTable<float, 29, 16, 6> fakp{};
    TTable<float, 2, 6> fakabp{};
    TTable<float, 5, 12, 5> dud{};
    TTable<float, 14, 12> fam{};
    TTable<float, 9, 16, 6> sys{};
    TTable<float, 9, 49, 2> xfm3cf{};
    TTable<float, 16, 6, 6> f2d{};
    TTable<float, 9, 4, 6> perr{};
    TTable<float, 3> anew{};
    TTable<float, 3> bnew{};
    TTable<float, 2> achi{};
    TTable<float, 2> bchi{};
    TTable<float, 29, 16> fakmap{};
    TTable<float, 2, 3> abmap{};
    TTable<float, 7, 61, 2> xesmcf{};
    TTable<float, 29, 16, 2> xpmap{};
    TTable<float, 5, 55, 2> xeslcf{};
    TTable<float, 5, 55, 2> xesucf{};
    TTable<float, 9, 22, 2> xercof{};

    // Calls visit(name, table) for every float table, in file order.
    template <typename Visit>
    void ForEachFloatTable(Visit &&visit) {
        VisitAll(*this, visit);
    }
    template <typename Visit>
    void ForEachFloatTable(Visit &&visit) const {
        VisitAll(*this, visit);
    }

private:
    template <typename Self, typename Visit>
    static void VisitAll(Self &m, Visit &visit) {
        visit("fakp", m.fakp);
        visit("fakabp", m.fakabp);
        visit("dud", m.dud);
        visit("fam", m.fam);
        visit("sys", m.sys);
        visit("xfm3cf", m.xfm3cf);
        visit("f2d", m.f2d);
        visit("perr", m.perr);
        visit("anew", m.anew);
        visit("bnew", m.bnew);
        visit("achi", m.achi);
        visit("bchi", m.bchi);
        visit("fakmap", m.fakmap);
        visit("abmap", m.abmap);
        visit("xesmcf", m.xesmcf);
        visit("xpmap", m.xpmap);
        visit("xeslcf", m.xeslcf);
        visit("xesucf", m.xesucf);
        visit("xercof", m.xercof);
    }
};

// Number of float values of one month (section 2 holds 12 of these).
inline constexpr std::size_t kMonthFloatCount = 9560;

// The foF2 maps of one month: 13 x 76 coefficients for a low and a high
// sunspot number.
using TFoF2Map = TTable<float, 13, 76, 2>;

enum class TFoF2Set { fsCcir = 0, fsUrsi = 1 };

struct TModelData {
    std::array<TMonthCoefficients, kMonthCount> months{};    // [month - 1]
    std::array<std::array<TFoF2Map, kMonthCount>, 2> fof2{}; // [set][month - 1]

    const TMonthCoefficients &Month(int month) const { return months.at(std::size_t(month - 1)); }
    const TFoF2Map &FoF2(TFoF2Set set, int month) const { return fof2[std::size_t(set)].at(std::size_t(month - 1)); }
};

// The shipped file's name (beside the programs, or in the shared data folder
// once installed).
inline constexpr const char *kModelDataFileName = "ModelCoefficients.dat";
inline constexpr uint32_t kModelDataVersion = 1;

// The file's bytes for these data.
std::string SerializeModelData(const TModelData &data);

struct TModelDataLoad {
    std::shared_ptr<const TModelData> Data; // null when Error is set
    std::string Error;                      // empty on success
};

// Checks the header (magic, version, section sizes), the length, the CRC and
// every value (finite and within the model's plausible range) before
// returning the data; otherwise says what is wrong.
TModelDataLoad ParseModelData(std::string_view bytes);

// Reads the file and parses it as above; the error names the file.
TModelDataLoad LoadModelData(const std::string &path);

// CRC-32 (IEEE 802.3, reflected, as zip and PNG use it).
uint32_t Crc32(std::string_view bytes);

} // namespace vx::model
