// Ray tables, modes and the long-path mode against states captured from
// voacapl 16.1207W (tests/fixtures/model/rays/*.txt, see RayScript.h): each
// script sets what the reference held before a routine and expects, word
// for word, what it held after.
#include "RayScript.h"

#include "model/LongPath.h"
#include "model/Rays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using namespace vx::model;

int CallRoutine(TModelState &s, const std::string &name, const std::vector<int> &args) {
    int nummod = -1;
    if (name == "FOBBY")
        FindOverTheMuf(s, args.at(0));
    else if (name == "FINDF")
        FindReflections(s, args.at(0));
    else if (name == "FDIST")
        FindModeDistances(s, args.at(0), args.at(1), nummod);
    else if (name == "GMLOSS")
        GroundLosses(s);
    else if (name == "SELTXR")
        SelectRaySets(s);
    else if (name == "LNGPAT")
        LongPathModel(s);
    else
        ADD_FAILURE() << "unknown routine " << name;
    return nummod;
}

// Runs every script whose name starts with prefix; returns how many ran.
int RunScripts(const std::string &prefix) {
    const std::filesystem::path folder = std::filesystem::path(VX_FIXTURES) / "model" / "rays";
    int scripts = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        ++scripts;
        std::ifstream in(entry.path());
        auto s = std::make_unique<TModelState>();
        std::vector<std::string> failures;
        int expectations = 0;
        rayscript::RunScript(in, *s, CallRoutine, failures, expectations);
        EXPECT_GT(expectations, 0) << name;
        for (std::size_t i = 0; i < failures.size() && i < 10; ++i) ADD_FAILURE() << name << ": " << failures[i];
        EXPECT_TRUE(failures.empty()) << name << ": " << failures.size() << " differences";
    }
    return scripts;
}

// FOBBY, FINDF (with PENANG) and the FDIST calls of each hop count, on
// short paths: day and night, with and without an F1 layer.
TEST(RayScripts, ShortPathRayTablesAndModes) { EXPECT_GE(RunScripts("short-"), 3); }

// GMLOSS (SETTXR), SELTXR and LNGPAT (CONVH, GETTOP, TABS, BABS) on long
// paths and on short paths over 10,000 km.
TEST(RayScripts, LongPathEndsAndMode) { EXPECT_GE(RunScripts("long-"), 3); }

// A ray table of one column: ranges gd (km) at rising angles.
void FillRays(TModelState &s, int k, const std::vector<float> &gd) {
    for (std::size_t i = 0; i < gd.size(); ++i) {
        const int ia = int(i) + 1;
        s.reflx.gdflx(ia, k) = gd[i];
        s.reflx.delfx(ia, k) = 5.0f + 2.0f * float(i);
        s.reflx.hpflx(ia, k) = 250.0f + 10.0f * float(i);
        s.reflx.htflx(ia, k) = 200.0f + 10.0f * float(i);
        s.reflx.imode(ia, k) = 3;
    }
}

// A hop angle whose length in km (ghop * rz) is exactly km.
float HopOf(float km, float rz) {
    float g = km / rz;
    for (int i = 0; i < 16 && g * rz != km; ++i) g = std::nextafter(g, g * rz < km ? 1.0f : 0.0f);
    return g;
}

void SetEarth(TModelState &s) {
    s.con.rz = 6370.0f;
    s.con.d2r = 0.01745329f;
    s.con.r2d = 57.29578f;
    s.con.pio2 = 1.570796f;
    s.frq.freq = 10.0f;
}

TEST(FindModeDistances, TakesEqualRangesAwayFromTheHopAsTheyAre) {
    auto s = std::make_unique<TModelState>();
    SetEarth(*s);
    s->don.amind = 3.0f;
    // Rays 2 and 3 share a range far from the 3000 km hop: the reference
    // takes ray 2 as a mode there (its test was inverted in 1997). The hop
    // itself lies between rays 4 and 5 and is interpolated.
    FillRays(*s, 2, {3500.0f, 3200.0f, 3200.0f, 3100.0f, 2900.0f, 2500.0f});
    s->reflx.dmaxkm(2) = 3500.0f;
    s->modes.ghop = HopOf(3000.0f, s->con.rz);
    int nummod = 0;
    FindModeDistances(*s, 1, 2, nummod);
    EXPECT_EQ(nummod, 2);
    EXPECT_EQ(s->modes.delmod(1, 2), s->reflx.delfx(2, 2));
    EXPECT_EQ(s->modes.hpmod(1, 2), s->reflx.hpflx(2, 2));
    EXPECT_GT(s->modes.hpmod(2, 2), s->reflx.hpflx(4, 2));
    EXPECT_LT(s->modes.hpmod(2, 2), s->reflx.hpflx(5, 2));
    EXPECT_EQ(s->modes.hpmod(3, 2), -1.0f);
    EXPECT_EQ(s->modes.itmod(3, 2), 5);

    // At the shared range itself the pair is passed over; the next pair
    // starts exactly at the hop and gives its first ray.
    FillRays(*s, 2, {3200.0f, 3200.0f, 3000.0f});
    s->reflx.hpflx(4, 2) = 0.0f;
    s->modes.ghop = HopOf(3200.0f, s->con.rz);
    FindModeDistances(*s, 1, 2, nummod);
    EXPECT_EQ(nummod, 1);
    EXPECT_EQ(s->modes.delmod(1, 2), s->reflx.delfx(2, 2));
}

TEST(FindModeDistances, ReusesTheSlotOfAModeBelowTheMinimumAngle) {
    auto s = std::make_unique<TModelState>();
    SetEarth(*s);
    s->don.amind = 6.0f; // ray 1 (5 degrees) is too low
    FillRays(*s, 1, {3000.0f, 3400.0f, 3000.0f, 2000.0f});
    s->reflx.dmaxkm(1) = 3400.0f;
    s->modes.ghop = HopOf(3000.0f, s->con.rz);
    int nummod = 0;
    FindModeDistances(*s, 2, 1, nummod);
    // Ray 1 lands in slot 1 and is marked; ray 3 then takes slot 1 again.
    EXPECT_EQ(nummod, 1);
    EXPECT_EQ(s->modes.delmod(1, 1), s->reflx.delfx(3, 1));
    EXPECT_EQ(s->modes.hpmod(2, 1), -1.0f);
}

TEST(SetLongPath, FillsTheControlPointsAPathDoesNotUse) {
    auto s = std::make_unique<TModelState>();
    for (int k = 1; k <= 5; ++k) {
        s->ron.clat(k) = float(k);
        s->geog.gyz(k) = float(10 * k);
        s->ron.fi(3, k) = float(100 * k);
        s->ron.htrue(30, k) = float(1000 * k);
        s->rays.ifob(40, 30, k) = 10000 * k;
    }
    const auto original = std::make_unique<TModelState>(*s);

    s->ron.kfx = 1; // one control point: everything from point 1
    SetLongPath(*s);
    for (int k = 2; k <= 5; ++k) {
        EXPECT_EQ(s->ron.clat(k), 1.0f);
        EXPECT_EQ(s->geog.gyz(k), 10.0f);
        EXPECT_EQ(s->ron.fi(3, k), 100.0f);
    }
    // Ionograms only go to slots 2 and 3 (the long-path receive end).
    EXPECT_EQ(s->ron.htrue(30, 3), 1000.0f);
    EXPECT_EQ(s->rays.ifob(40, 30, 3), 10000);
    EXPECT_EQ(s->ron.htrue(30, 4), 4000.0f);
    EXPECT_EQ(s->rays.ifob(40, 30, 5), 50000);

    *s = *original;
    s->ron.kfx = 2; // two: point 3's geography to 4 and 5, point 2's ionogram to 3
    SetLongPath(*s);
    EXPECT_EQ(s->ron.clat(2), 2.0f);
    EXPECT_EQ(s->ron.clat(4), 3.0f);
    EXPECT_EQ(s->geog.gyz(5), 30.0f);
    EXPECT_EQ(s->ron.htrue(30, 3), 2000.0f);
    EXPECT_EQ(s->rays.ifob(40, 30, 3), 20000);
    EXPECT_EQ(s->ron.fi(3, 3), 300.0f);

    *s = *original;
    s->ron.kfx = 3; // three: nothing to fill
    SetLongPath(*s);
    EXPECT_EQ(s->ron.clat(4), 4.0f);
    EXPECT_EQ(s->ron.htrue(30, 3), 3000.0f);
}

// Two ends with three rays each, all 2 hops of 2000 km (whole hops), equal
// gain minus loss, take-off angles 10, 8 and 12 degrees.
std::unique_ptr<TModelState> ThreeRayEnds() {
    auto s = std::make_unique<TModelState>();
    s->don.gcdkm = 20000.0f; // the ends look at 4000 km
    s->don.amind = 3.0f;
    s->frq.itxrcp(1) = 1;
    s->frq.itxrcp(2) = 3;
    s->lpath.delopt = 11.0f;
    s->lpath.gmin = 3.0f;
    s->lpath.ymin = 0.1f;
    for (int k : {1, 3}) {
        s->losx.iaftxr(k) = 3;
        for (int ia = 1; ia <= 3; ++ia) {
            s->reflx.gdflx(ia, k) = 2000.0f;
            s->reflx.hpflx(ia, k) = 300.0f;
            s->losx.andvx(ia, k) = 5.0f;
            s->losx.advx(ia, k) = 1.0f;
        }
        s->reflx.delfx(1, k) = 10.0f;
        s->reflx.delfx(2, k) = 8.0f;
        s->reflx.delfx(3, k) = 12.0f;
    }
    return s;
}

TEST(SelectRaySets, GainThenWholeHopsThenPreferredAngle) {
    // Rays 1 and 3 are both 1 degree from the preferred angle: the first stays.
    auto s = ThreeRayEnds();
    SelectRaySets(*s);
    EXPECT_EQ(s->lpath.ltxrgm(1), 1);
    EXPECT_EQ(s->reflx.gml(2, 1), -12.0f);
    EXPECT_EQ(s->reflx.fhp(2, 1), 0.0f);

    // Closer to it wins when gain and hops tie.
    s = ThreeRayEnds();
    s->reflx.delfx(3, 3) = 11.5f;
    SelectRaySets(*s);
    EXPECT_EQ(s->lpath.ltxrgm(1), 1);
    EXPECT_EQ(s->lpath.ltxrgm(2), 3);

    // A hop count nearer a whole number beats the angle...
    s = ThreeRayEnds();
    s->reflx.gdflx(1, 1) = 1800.0f; // 2.22 hops
    s->reflx.gdflx(2, 1) = 1990.0f; // 2.01 hops, 8 degrees
    s->reflx.gdflx(3, 1) = 1700.0f; // 2.35 hops
    SelectRaySets(*s);
    EXPECT_EQ(s->lpath.ltxrgm(1), 2);

    // ...and more than gmin of gain beats both.
    s = ThreeRayEnds();
    s->reflx.gdflx(1, 1) = 1800.0f;
    s->losx.andvx(1, 1) = 3.0f; // 2.22 * 4 dB against 2 * 6 dB
    SelectRaySets(*s);
    EXPECT_EQ(s->lpath.ltxrgm(1), 1);
}

TEST(SelectRaySets, SkipsAnEndWhoseFirstRayIsShortAndAlone) {
    auto s = ThreeRayEnds();
    s->reflx.gdflx(1, 1) = 5000.0f; // 0.8 hop
    s->reflx.hpflx(2, 1) = 0.0f;    // and the table ends after it
    SelectRaySets(*s);
    EXPECT_EQ(s->lpath.ltxrgm(1), 1);
    EXPECT_EQ(s->reflx.gml(1, 1), 0.0f); // not even looked at
    EXPECT_EQ(s->lpath.ltxrgm(2), 1);
    EXPECT_EQ(s->reflx.gml(1, 3), -12.0f);
}

} // namespace
