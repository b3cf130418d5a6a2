// The signal step against states captured from voacapl 16.1207W
// (tests/fixtures/model/signal/*.txt). Each file holds the common blocks the
// reference held before one routine ran ("CALL B"), as 32-bit words in hex
// in the reference's order, which TModelState keeps, and every block the
// routine changed ("CALL A"); ours must reproduce them word for word.
#include "model/Modes.h"
#include "model/Reliability.h"
#include "model/Signal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace vx::model;

// Words in hex; "Z<n>" stands for n zero words.
// The blocks as the reference lays them out: where each starts in our state
// and how many words it has.
struct TBlock {
    void *data = nullptr;
    std::size_t words = 0;
};

std::map<std::string, TBlock> Blocks(TModelState &s) {
    static_assert(sizeof(TModeSet) == 462 * 4 && sizeof(TModeSums) == 161 * 4 && sizeof(TMufs) == 261 * 4);
    static_assert(sizeof(TControlPoints) == 967 * 4 && sizeof(TMonthTables) == 5854 * 4);
    static_assert(sizeof(TAntennaSet) == 55881 * 4 && sizeof(TRays) == 6041 * 4);
    return {
        {"ALLMODE", {&s.allmode, 462}},
        {"ZON", {&s.zon, 161}},
        {"ANOIS", {&s.anois, 12}},
        {"DON", {&s.don, 35}},
        {"SON", {&s.son, 260}},
        {"SIGD", {&s.sigd, 15}},
        {"TON", {&s.ton, 13}},
        {"MUFS", {&s.mufs, 261}},
        {"MODES", {&s.modes, 109}},
        {"RON", {&s.ron, 967}},
        {"FRQ", {&s.frq, 46}},
        {"ION", {&s.ion, 7}},
        {"GEOG", {&s.geog, 40}},
        {"ES", {&s.es, 20}},
        {"REFLX", {&s.reflx, 1251}},
        {"CON", {&s.con, 9}},
        {"CGAINS", {&s.cgains, 26}},
        {"SNCOM", {&s.sncom, 13}},
        {"DUDL_NOIS", {&s.dudl_nois, 26}},
        {"TWO", {&s.two, 5854}},
        {"TIME", {&s.time, 53}},
        {"CONTRL", {&s.contrl, 62}},
        {"GH_IPFG", {&s.gh_ipfg, 1}},
        {"INFORM", {&s.inform, 3}},
        {"OUTPRT", {&s.outprt, 77}},
        {"LPATH", {&s.lpath, 96}},
        {"LOSX", {&s.losx, 993}},
        {"RAYS", {&s.rays, 6041}},
        {"CANTENNA", {&s.cantenna, 55881}},
        {"PANTENNA", {&s.pantenna, 40}},
        {"C_METHOD_USED", {&s.c_method_used, 1}},
        {"C_NOISE", {&s.c_noise, 3}},
        {"C_NOISES", {&s.c_noises, 3}},
        {"DATR", {&s.datr, 44}},
        {"METSET", {&s.metset, 82}},
        {"MFAC", {&s.mfac, 24}},
        {"SSP", {&s.ssp, 25}},
        {"CAREAANT", {&s.careaant, 32760}},
    };
}

// One side of a captured call: its routine, arguments, blocks and texts.
struct TSide {
    std::string name;
    int arg1 = 0;
    int arg2 = 0;
    uint32_t power = 0; // PWRDB at the call's frequency
    std::map<std::string, std::vector<uint32_t>> blocks;
    std::map<std::string, std::string> texts;
};

struct TCapture {
    std::string file;
    TSide before;
    TSide after;
    std::vector<std::vector<float>> gains; // itr, delta, freq, gain, eff
};

float AsFloat(uint32_t w) {
    float f;
    std::memcpy(&f, &w, 4);
    return f;
}

bool ReadSide(std::istream &in, const std::string &head, TSide &side) {
    std::istringstream h(head);
    std::string call, tag;
    h >> call >> tag >> side.name >> side.arg1 >> side.arg2;
    std::string line;
    while (std::getline(in, line)) {
        if (line == "END") return true;
        if (line.rfind("PWR ", 0) == 0) {
            side.power = uint32_t(std::stoul(line.substr(4), nullptr, 16));
        } else if (line.rfind("BLOCK ", 0) == 0) {
            std::istringstream b(line.substr(6));
            std::string name;
            std::size_t n = 0;
            b >> name >> n;
            std::vector<uint32_t> &w = side.blocks[name];
            while (w.size() < n && std::getline(in, line)) {
                std::istringstream l(line);
                std::string word;
                while (l >> word) {
                    if (word[0] == 'Z')
                        w.insert(w.end(), std::stoul(word.substr(1)), 0u);
                    else
                        w.push_back(uint32_t(std::stoul(word, nullptr, 16)));
                }
            }
        } else {
            const auto space = line.find(' ');
            side.texts[line.substr(0, space)] = space == std::string::npos ? "" : line.substr(space + 1);
        }
    }
    return false;
}

TCapture ReadCapture(const std::filesystem::path &path) {
    TCapture c;
    c.file = path.filename().string();
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("CALL B ", 0) == 0) ReadSide(in, line, c.before);
        if (line.rfind("CALL A ", 0) == 0) ReadSide(in, line, c.after);
        if (line.rfind("GAIN", 0) == 0) {
            std::istringstream g(line.substr(4));
            int itr = 0;
            std::string w[4];
            g >> itr >> w[0] >> w[1] >> w[2] >> w[3];
            std::vector<float> v{float(itr)};
            for (const std::string &x : w) v.push_back(AsFloat(uint32_t(std::stoul(x, nullptr, 16))));
            c.gains.push_back(v);
        }
    }
    return c;
}

// Texts are two-character slots separated by "|" (MODE, MODER, LAYTYP).
std::string Slot(const std::string &text, int i) { return text.substr(std::size_t(i - 1) * 3, 2); }

void Load(TModelState &s, const TSide &side) {
    auto blocks = Blocks(s);
    for (const auto &[name, words] : side.blocks) {
        if (name == "IFOB13") {
            for (int k = 1; k <= 5; ++k) s.rays.ifob(1, 3, k) = int32_t(words.at(std::size_t(k - 1)));
            continue;
        }
        const TBlock &b = blocks.at(name);
        std::memcpy(b.data, words.data(), std::min(words.size(), b.words) * 4);
    }
    for (const auto &[name, text] : side.texts) {
        if (name == "LAYTYP")
            for (int i = 1; i <= 5; ++i) s.outlab.laytyp(i) = Slot(text, i);
        if (name == "MODE")
            for (int i = 1; i <= 13; ++i) s.alpha.mode(i) = Slot(text, i);
        if (name == "MODER")
            for (int i = 1; i <= 13; ++i) s.alpha.moder(i) = Slot(text, i);
        if (name == "MDL")
            for (int i = 1; i <= 13; ++i) s.son.mdl(i).Text[0] = text.at(std::size_t(i - 1));
    }
    if (side.blocks.count("CANTENNA")) return;
    // The decks use isotropic antennas (gain 0 dBi, efficiency 0) and one
    // transmitter power; the antenna routine then needs only its tables empty
    // and that power (the ground loss it computes from s.geog).
    s.cantenna.numants = 1;
    s.cantenna.iats(1) = 1;
    s.cantenna.xfqs(1) = 0.0f;
    s.cantenna.xfqe(1) = 100.0f;
    s.pantenna.pwrdba(1) = AsFloat(side.power);
}

void Run(TModelState &s, const TSide &call) {
    int nummod = 0;
    const std::string &n = call.name;
    if (n == "RELBIL")
        CombineModes(s, call.arg1, s.frq.freq);
    else if (n == "MPATH")
        MultipathProbability(s, call.arg1);
    else if (n == "SERPRB")
        ServiceProbability(s, call.arg1);
    else if (n == "INMUF")
        InsertMufModes(s, call.arg1, nummod);
    else if (n == "ESMOD")
        SporadicEModes(s);
    else if (n == "SIGDIS")
        SetSignalDistribution(s);
    else if (n == "ALOSFV")
        DeviativeLossFactors(s, call.arg1);
    else if (n == "SELMOD")
        SelectControlArea(s);
    else if (n == "SETLUF")
        SetLuf(s);
    else if (n == "LUFFY")
        ComputeSignal(s, call.arg1);
    else
        FAIL() << "no routine for " << n;
}

// Replays every capture whose file name starts with prefix; returns how many.
int Replay(const std::string &prefix) {
    const std::filesystem::path folder = std::filesystem::path(VX_FIXTURES) / "model" / "signal";
    std::vector<std::filesystem::path> files;
    for (const auto &e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().rfind(prefix, 0) == 0) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto &path : files) {
        SCOPED_TRACE(path.filename().string());
        const TCapture c = ReadCapture(path);
        for (const auto &g : c.gains) {
            if (g[0] > 0.0f) {
                EXPECT_EQ(g[3], 0.0f) << "the captures assume isotropic antennas";
            }
        }
        auto s = std::make_unique<TModelState>();
        Load(*s, c.before);
        Run(*s, c.before);
        auto blocks = Blocks(*s);
        int differing = 0;
        for (const auto &[name, words] : c.after.blocks) {
            if (name == "IFOB13") continue;
            const auto *ours = static_cast<const uint32_t *>(blocks.at(name).data);
            for (std::size_t i = 0; i < std::min(words.size(), blocks.at(name).words); ++i) {
                if (ours[i] == words[i]) continue;
                if (++differing <= 5) {
                    ADD_FAILURE() << name << " word " << i + 1 << ": " << AsFloat(ours[i]) << " (0x" << std::hex
                                  << ours[i] << "), reference " << AsFloat(words[i]) << " (0x" << words[i] << ")"
                                  << std::dec;
                }
            }
        }
        EXPECT_EQ(differing, 0);
        for (const auto &[name, text] : c.after.texts) {
            for (int i = 1; i <= 13; ++i) {
                if (name == "MODE") {
                    EXPECT_EQ(s->alpha.mode(i).View(), Slot(text, i)) << "MODE slot " << i;
                } else if (name == "MODER") {
                    EXPECT_EQ(s->alpha.moder(i).View(), Slot(text, i)) << "MODER slot " << i;
                } else if (name == "MDL") {
                    EXPECT_EQ(s->son.mdl(i).Text[0], text.at(std::size_t(i - 1))) << "MDL slot " << i;
                }
            }
        }
    }
    return int(files.size());
}

TEST(SignalModes, HopModesWithOverTheMufModes) {
    // Circuit-MUF modes, MUFs of higher hop counts (with and without F1),
    // D-E modes, and F modes obscured by sporadic E.
    EXPECT_GE(Replay("inmuf_"), 5);
}

TEST(SignalModes, SporadicEModes) { EXPECT_GE(Replay("esmod_"), 1); }

TEST(SignalReliability, MostReliableModeSummedSignalAndMultipath) {
    // One mode, many modes summed, the blended signal of method 30, a mode
    // interfering within the multipath limits, and service probabilities.
    EXPECT_GE(Replay("relbil_"), 3);
    EXPECT_GE(Replay("mpath_"), 1);
    EXPECT_GE(Replay("serprb_"), 1);
}

TEST(SignalPath, ControlPointLossTablesAndDeviationFactors) {
    EXPECT_GE(Replay("selmod_"), 3);
    EXPECT_GE(Replay("sigdis_"), 2);
    EXPECT_GE(Replay("alosfv_"), 2);
}

TEST(SignalLuf, FirstReliableFrequencyOrMinusTheMostReliable) { EXPECT_GE(Replay("setluf_"), 2); }

TEST(SignalHour, ShortAndLongModelsAndTheirBlend) {
    // A whole hour as the run calls it, with the ionosphere, ray, antenna
    // and noise steps it drives: the long model of a path over 10000 km,
    // method 30 blending both models at 7600 km, and method 30 beyond
    // 10000 km (long model, no blend, the method's flag restored after),
    // and a LUF search interpolating between two frequencies.
    EXPECT_GE(Replay("luffy_"), 4);
}

// Words of one line after its tag, hex to float.
std::vector<float> Floats(const std::string &line, std::size_t skip) {
    std::istringstream in(line);
    std::string word;
    std::vector<float> out;
    for (std::size_t i = 0; in >> word; ++i)
        if (i >= skip) out.push_back(AsFloat(uint32_t(std::stoul(word, nullptr, 16))));
    return out;
}

TEST(SignalLuf, FrequencyComplementOfTheHoursMufs) {
    // Night (lower MUF at 2 MHz), an HPF up to 22 MHz with the lower MUF
    // among even steps, a lower MUF below 4 MHz, and wider days.
    std::ifstream in(std::filesystem::path(VX_FIXTURES) / "model" / "signal" / "frqcom.txt");
    std::string muf, normal, fot;
    int cases = 0;
    while (std::getline(in, muf)) {
        if (muf.rfind("FRQIN", 0) != 0) continue;
        ASSERT_TRUE(std::getline(in, normal) && std::getline(in, fot));
        auto s = std::make_unique<TModelState>();
        const int it = std::stoi(muf.substr(5, 3));
        const std::vector<float> m = Floats(muf.substr(8), 0);
        s->time.it = it;
        s->mufs.emuf(it) = m[0];
        s->mufs.f2muf(it) = m[1];
        s->mufs.hpf(it) = m[2];
        s->mufs.allmuf(it) = m[3];
        s->mufs.fot(it) = m[4];
        for (const auto &[ifreq, line] : {std::pair{0, normal}, std::pair{-10, fot}}) {
            TTable<float, 13> frea{};
            frea.Fill(-1.0f);
            FrequencyComplement(*s, frea, ifreq);
            const std::vector<float> expected = Floats(line, 1);
            for (int i = 1; i <= 13; ++i)
                EXPECT_EQ(frea(i), expected[std::size_t(i - 1)]) << muf << " ifreq " << ifreq << " slot " << i;
        }
        ++cases;
    }
    EXPECT_EQ(cases, 16);
}

TEST(SignalProbability, NormalApproximationAtTheTabulatedDeviates) {
    // The deviates RELBIL uses for 60..95 % must give those percentages
    // back within the approximation's 2.5e-4, and both tails must add to 1.
    const float deviates[] = {0.2533f, 0.5244f, 0.8416f, 1.2815f, 1.6449f};
    const float percent[] = {0.60f, 0.70f, 0.80f, 0.90f, 0.95f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(NormalCdf(deviates[i]), percent[i], 2.5e-4f);
        EXPECT_FLOAT_EQ(NormalCdf(deviates[i]) + NormalCdf(-deviates[i]), 1.0f);
    }
    EXPECT_EQ(NormalCdf(9.0f), NormalCdf(5.0f)) << "the argument is limited to 5";
}

} // namespace
