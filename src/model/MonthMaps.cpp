#include "model/MonthMaps.h"

#include <algorithm>

namespace vx::model {

namespace {

// Blends a table's low- and high-sunspot sets (last dimension 1 and 2) as
// REDMAP writes it: (low * wLow + high * wHigh) / divisor, in single
// precision, products first.
template <typename Blended, typename Source>
void Blend(Blended &out, const Source &in, float wLow, float wHigh, float divisor) {
    constexpr std::size_t n = Blended::kSize;
    static_assert(Source::kSize == 2 * n, "the source holds two sets of the table");
    for (std::size_t k = 0; k < n; ++k) {
        const float low = in.Data[k] * wLow;
        const float high = in.Data[n + k] * wHigh;
        out.Data[k] = (low + high) / divisor;
    }
}

template <typename Table>
void CopyInto(float *to, const Table &from) {
    std::copy(from.Data.begin(), from.Data.end(), to);
}

} // namespace

// REDMAP
void ReadMonthMaps(const TModelData &data, TModelState &s, float ssn, int month) {
    if (s.ccoeff.coeff.View() != "URSI") s.ccoeff.coeff = "CCIR";
    const TFoF2Set set = s.ccoeff.coeff.View() == "URSI" ? TFoF2Set::fsUrsi : TFoF2Set::fsCcir;
    const TFoF2Map &fof2 = data.FoF2(set, month);
    const TMonthCoefficients &m = data.Month(month);

    s.one.ikim = m.ikim;
    // /TWO/ reads the aurora tables fakp, fakmap and hmym as the three parts
    // of p, and fakabp and abmap as the two parts of abp.
    CopyInto(&s.two.p(1, 1, 1), m.fakp);
    CopyInto(&s.two.p(1, 1, 7), m.fakmap);
    CopyInto(&s.two.abp(1, 1), m.fakabp);
    CopyInto(&s.two.abp(1, 7), m.abmap);
    s.two.dud = m.dud;
    s.two.fam = m.fam;
    s.two.sys = m.sys;
    s.two.f2d = m.f2d;
    s.two.perr = m.perr;
    s.fone.anew = m.anew;
    s.fone.bnew = m.bnew;
    s.fone.achi = m.achi;
    s.fone.bchi = m.bchi;

    // The tables' two sets hold 0 and 100, 10 and 150, or 25 and 125 sunspots.
    const float ssn100 = 100.0f - ssn;
    const float ssn150 = 150.0f - ssn;
    const float ssn10 = ssn - 10.0f;
    const float ssn125 = 125.0f - ssn;
    const float ssn25 = ssn - 25.0f;
    Blend(s.one.f2cof, fof2, ssn100, ssn, 100.0f);
    Blend(s.one.esmcof, m.xesmcf, ssn150, ssn10, 140.0f);
    TTable<float, 29, 16> hmym;
    Blend(hmym, m.xpmap, ssn125, ssn25, 100.0f);
    CopyInto(&s.two.p(1, 1, 8), hmym);
    Blend(s.one.eslcof, m.xeslcf, ssn150, ssn10, 140.0f);
    Blend(s.one.esucof, m.xesucf, ssn150, ssn10, 140.0f);
    Blend(s.one.fm3cof, m.xfm3cf, ssn100, ssn, 100.0f);
    Blend(s.one.ercof, m.xercof, ssn150, ssn10, 140.0f);
}

} // namespace vx::model
