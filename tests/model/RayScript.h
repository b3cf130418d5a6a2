// Ray scripts: states captured from the reference program around its ray
// routines, replayed through ours. A script is text, one command a line:
//   set NAME[FIRST:COUNT] v...     fill a state field (or a 1-based slice)
//   call ROUTINE args...           run one of our routines
//   expect NAME[FIRST:COUNT] v...  the field must hold exactly these values
//   expect nummod N                the mode count of the last FDIST call
// Floats are written with 9 significant digits, so they read back to the
// very bits the reference had; expectations compare bits (NaN equals NaN).
#pragma once

#include "model/State.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vx::model::rayscript {

// A named run of 4-byte words of the state.
struct TField {
    std::string_view name;
    void *data = nullptr;
    std::size_t count = 0;
    bool isInt = false;
};

template <typename T, int... E>
TField Make(std::string_view name, TTable<T, E...> &table) {
    return {name, table.data(), table.size(), std::is_integral_v<T>};
}
inline TField Make(std::string_view name, float &value) { return {name, &value, 1, false}; }
inline TField Make(std::string_view name, int32_t &value) { return {name, &value, 1, true}; }

// The fields the ray routines read or write, by their block.field names.
inline bool FindField(TModelState &s, std::string_view name, TField &out) {
#define RAY_FIELD(x) Make(#x, s.x)
    const TField fields[] = {
        RAY_FIELD(con.d2r),       RAY_FIELD(con.pio2),      RAY_FIELD(con.r2d),        RAY_FIELD(con.rz),
        RAY_FIELD(con.vofl),      RAY_FIELD(don.amind),     RAY_FIELD(don.gcd),        RAY_FIELD(don.gcdkm),
        RAY_FIELD(frq.freq),      RAY_FIELD(frq.itxrcp),    RAY_FIELD(ron.clat),       RAY_FIELD(ron.clong),
        RAY_FIELD(ron.glat),      RAY_FIELD(ron.rd),        RAY_FIELD(ron.fi),         RAY_FIELD(ron.yi),
        RAY_FIELD(ron.hi),        RAY_FIELD(ron.hprim),     RAY_FIELD(ron.htrue),      RAY_FIELD(ron.fvert),
        RAY_FIELD(ron.km),        RAY_FIELD(ron.kfx),       RAY_FIELD(ron.afac),       RAY_FIELD(rays.ang),
        RAY_FIELD(rays.ifob),     RAY_FIELD(rays.nang),     RAY_FIELD(reflx.delfx),    RAY_FIELD(reflx.hpflx),
        RAY_FIELD(reflx.htflx),   RAY_FIELD(reflx.gdflx),   RAY_FIELD(reflx.fvflx),    RAY_FIELD(reflx.dskpkm),
        RAY_FIELD(reflx.delskp),  RAY_FIELD(reflx.hpskp),   RAY_FIELD(reflx.htskp),    RAY_FIELD(reflx.dmaxkm),
        RAY_FIELD(reflx.fvskp),   RAY_FIELD(reflx.iskp),    RAY_FIELD(reflx.imode),    RAY_FIELD(reflx.afflx),
        RAY_FIELD(reflx.delpen),  RAY_FIELD(reflx.gml),     RAY_FIELD(reflx.fhp),      RAY_FIELD(losx.andvx),
        RAY_FIELD(losx.advx),     RAY_FIELD(losx.aofx),     RAY_FIELD(losx.grlosx),    RAY_FIELD(losx.tgainx),
        RAY_FIELD(losx.efflp),    RAY_FIELD(losx.iaftxr),   RAY_FIELD(lpath.txrgml),   RAY_FIELD(lpath.delopt),
        RAY_FIELD(lpath.gmin),    RAY_FIELD(lpath.ymin),    RAY_FIELD(lpath.ltxrgm),   RAY_FIELD(modes.ghop),
        RAY_FIELD(modes.delmod),  RAY_FIELD(modes.hpmod),   RAY_FIELD(modes.htmod),    RAY_FIELD(modes.fvmod),
        RAY_FIELD(modes.itmod),   RAY_FIELD(modes.afmod),   RAY_FIELD(mufs.modmuf),    RAY_FIELD(mufs.sigl),
        RAY_FIELD(mufs.sigu),     RAY_FIELD(mufs.delmuf),   RAY_FIELD(mufs.hpmuf),     RAY_FIELD(mufs.htmuf),
        RAY_FIELD(mufs.fvmuf),    RAY_FIELD(mufs.afmuf),    RAY_FIELD(mufs.nhopmf),    RAY_FIELD(mufs.yfot),
        RAY_FIELD(mufs.yhpf),     RAY_FIELD(mufs.ymuf),     RAY_FIELD(sigd.dsl),       RAY_FIELD(sigd.asm_),
        RAY_FIELD(sigd.dsu),      RAY_FIELD(sigd.dslf),     RAY_FIELD(sigd.dsuf),      RAY_FIELD(sigd.acav),
        RAY_FIELD(sigd.afe),      RAY_FIELD(sigd.bfe),      RAY_FIELD(sigd.hnu),       RAY_FIELD(sigd.htloss),
        RAY_FIELD(sigd.xnuz),     RAY_FIELD(sigd.xve),      RAY_FIELD(geog.gyz),       RAY_FIELD(geog.rat),
        RAY_FIELD(geog.gmdip),    RAY_FIELD(geog.clck),     RAY_FIELD(geog.abiy),      RAY_FIELD(geog.artic),
        RAY_FIELD(geog.sigpat),   RAY_FIELD(geog.epspat),   RAY_FIELD(es.fs),          RAY_FIELD(es.hs),
        RAY_FIELD(allmode.abps),  RAY_FIELD(allmode.fldst), RAY_FIELD(allmode.hn),     RAY_FIELD(allmode.hp),
        RAY_FIELD(allmode.prob),  RAY_FIELD(allmode.rgain), RAY_FIELD(allmode.sigpow), RAY_FIELD(allmode.sn),
        RAY_FIELD(allmode.tgain), RAY_FIELD(allmode.timed), RAY_FIELD(allmode.tloss),  RAY_FIELD(allmode.b),
        RAY_FIELD(allmode.fslos), RAY_FIELD(allmode.grlos), RAY_FIELD(allmode.adv),    RAY_FIELD(allmode.obf),
        RAY_FIELD(allmode.nmode), RAY_FIELD(allmode.tllow), RAY_FIELD(allmode.tlhgh),  RAY_FIELD(allmode.eff),
        RAY_FIELD(allmode.nmmod), RAY_FIELD(anois.rcnse),   RAY_FIELD(inform.info),    RAY_FIELD(cantenna.numants),
        RAY_FIELD(cantenna.iats), RAY_FIELD(cantenna.xfqs), RAY_FIELD(cantenna.xfqe),  RAY_FIELD(pantenna.pwrdba),
    };
#undef RAY_FIELD
    for (const TField &f : fields) {
        if (f.name == name) {
            out = f;
            return true;
        }
    }
    return false;
}

// One word as the script writes it.
inline std::string FormatWord(const void *word, bool isInt) {
    char text[32];
    if (isInt) {
        int32_t v;
        std::memcpy(&v, word, 4);
        std::snprintf(text, sizeof text, "%d", v);
    } else {
        float v;
        std::memcpy(&v, word, 4);
        std::snprintf(text, sizeof text, "%.9g", double(v));
    }
    return text;
}

// One word as the script reads it (locale-independent).
inline bool ParseWord(std::string_view token, bool isInt, uint32_t &word) {
    if (isInt) {
        int32_t v = 0;
        auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
        std::memcpy(&word, &v, 4);
        return ec == std::errc() && end == token.data() + token.size();
    }
    if (token == "nan" || token == "-nan") {
        const float v = std::nanf("");
        std::memcpy(&word, &v, 4);
        return true;
    }
    float v = 0.0f;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    std::memcpy(&word, &v, 4);
    return ec == std::errc() && end == token.data() + token.size();
}

// A field reference of a script line: NAME or NAME[FIRST:COUNT].
struct TSlice {
    TField field;
    std::size_t first = 1;
    std::size_t count = 0;
};

inline bool ParseSlice(TModelState &s, const std::string &text, TSlice &slice) {
    const auto bracket = text.find('[');
    if (!FindField(s, std::string_view(text).substr(0, bracket), slice.field)) return false;
    slice.first = 1;
    slice.count = slice.field.count;
    if (bracket == std::string::npos) return true;
    if (std::sscanf(text.c_str() + bracket, "[%zu:%zu]", &slice.first, &slice.count) != 2) return false;
    return slice.first >= 1 && slice.first - 1 + slice.count <= slice.field.count;
}

inline uint32_t *WordAt(const TSlice &slice, std::size_t i) {
    return static_cast<uint32_t *>(slice.field.data) + (slice.first - 1 + i);
}

inline bool SameWord(uint32_t a, uint32_t b, bool isInt) {
    if (a == b) return true;
    if (isInt) return false;
    float fa, fb;
    std::memcpy(&fa, &a, 4);
    std::memcpy(&fb, &b, 4);
    return std::isnan(fa) && std::isnan(fb);
}

// Runs a script; `call` receives the routine's name and integer arguments
// and returns the mode count for FDIST (ignored otherwise). Every problem
// (a bad line, a word that differs) is appended to failures.
using TCaller = std::function<int(TModelState &, const std::string &, const std::vector<int> &)>;

inline void RunScript(std::istream &in, TModelState &s, const TCaller &call, std::vector<std::string> &failures,
                      int &expectations) {
    std::string line;
    int nummod = -1;
    std::string lastCall;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string verb, target;
        words >> verb >> target;
        const std::string where = "line " + std::to_string(lineNo) + " (" + lastCall + ") ";
        if (verb == "call") {
            std::vector<int> args;
            for (int a; words >> a;) args.push_back(a);
            lastCall = target;
            for (int a : args) lastCall += " " + std::to_string(a);
            nummod = call(s, target, args);
            continue;
        }
        if (verb == "expect" && target == "nummod") {
            int want = 0;
            words >> want;
            ++expectations;
            if (want != nummod)
                failures.push_back(where + "nummod " + std::to_string(nummod) + " != " + std::to_string(want));
            continue;
        }
        TSlice slice;
        if ((verb != "set" && verb != "expect") || !ParseSlice(s, target, slice)) {
            failures.push_back(where + "cannot read: " + line.substr(0, 60));
            continue;
        }
        std::size_t i = 0;
        for (std::string token; words >> token; ++i) {
            uint32_t word = 0;
            if (i >= slice.count || !ParseWord(token, slice.field.isInt, word)) {
                failures.push_back(where + "bad value in " + target);
                break;
            }
            if (verb == "set") {
                *WordAt(slice, i) = word;
                continue;
            }
            ++expectations;
            const uint32_t ours = *WordAt(slice, i);
            if (!SameWord(ours, word, slice.field.isInt))
                failures.push_back(where + target + " #" + std::to_string(slice.first + i) + ": ours " +
                                   FormatWord(&ours, slice.field.isInt) + ", reference " + token);
        }
        if (i != slice.count) failures.push_back(where + "wrong number of values for " + target);
    }
}

} // namespace vx::model::rayscript
