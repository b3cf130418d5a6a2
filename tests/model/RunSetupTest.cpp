// The state a run starts from and what the deck's cards make of it,
// against the values the reference holds at the same points (its common
// blocks printed after LISTIN and after DECRED, bit for bit).
#include "model/RunSetup.h"

#include "model/Deck.h"

#include "DeckTestDecks.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>

using namespace vx::model;

namespace {

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

std::unique_ptr<TModelState> StateOf(const TDeck &deck) {
    auto s = std::make_unique<TModelState>();
    InitialiseState(*s);
    std::string error;
    EXPECT_TRUE(ApplyDeck(deck, *s, error)) << error;
    return s;
}

std::unique_ptr<TModelState> StateAfter(const std::string &card) {
    auto s = std::make_unique<TModelState>();
    InitialiseState(*s);
    std::string error;
    EXPECT_TRUE(ApplyCard(card, *s, error)) << error;
    return s;
}

} // namespace

TEST(RunSetup, StartsFromTheReferencePresets) {
    auto s = std::make_unique<TModelState>();
    InitialiseState(*s);
    EXPECT_EQ(Bits(s->con.d2r), 0x3C8EFA35u);
    EXPECT_EQ(Bits(s->con.pi), 0x40490FDAu);
    EXPECT_EQ(Bits(s->con.rz), 0x45C71000u);
    EXPECT_EQ(s->datr.nt, 20);
    EXPECT_EQ(Bits(s->datr.twdiv), 0x3F000000u);
    EXPECT_EQ(Bits(s->rays.ang(40)), 0x42B3FAE1u);
    EXPECT_EQ(Bits(s->ssp.sun(1, 1)), 0xC1B86666u);
    EXPECT_EQ(Bits(s->ssp.sun(2, 12)), 0xC1BB999Au);
    EXPECT_EQ(Bits(s->don.amin), 0x3D567770u);
    EXPECT_EQ(Bits(s->lpath.gcdlng), 0x461C4000u);
    // METHOD 23 and the area's method 20 both run the full system model.
    EXPECT_EQ(s->metset.jtrun(23), 7);
    EXPECT_EQ(s->metset.jtout(23), 7);
    EXPECT_EQ(s->metset.jtrun(20), 7);
    EXPECT_EQ(s->metset.jtout(26), 3);
    // FI, YI, HI filled element by element: the last sample's E, F1, F2.
    EXPECT_EQ(s->ron.fi(1, 4), 0.f);
    EXPECT_EQ(s->ron.fi(2, 4), 0.2f);
    EXPECT_EQ(s->ron.hi(3, 5), 300.f);
    EXPECT_EQ(s->ron.yi(2, 2), 20.f);
    EXPECT_EQ(s->one.ia(5), 1966);
    EXPECT_EQ(s->two.f2d(1, 1, 1), -1.f);
    EXPECT_EQ(s->ion.noise, -4);
    EXPECT_EQ(s->frq.frel(14), -1.f);
    EXPECT_EQ(s->metset.itrun, 1);
    EXPECT_EQ(s->contrl.icard, 26);
}

TEST(RunSetup, PointDeckGivesTheReferenceState) {
    TDeck deck;
    std::string error;
    ASSERT_TRUE(ReadPointDeck(test::SydneyLondonDeck(), deck, error)) << error;
    auto s = StateOf(deck);
    EXPECT_EQ(Bits(s->don.tlatd), 0xC2077AE1u);  // 33.87S
    EXPECT_EQ(Bits(s->don.tlongd), 0x431735C3u); // 151.21E
    EXPECT_EQ(Bits(s->don.rlatd), 0x424E0000u);
    EXPECT_EQ(Bits(s->don.rlongd), 0xBE051EB8u); // 0.13W
    EXPECT_EQ(Bits(s->don.amin), 0x3D567750u);   // 3 degrees times D2R, not the preset
    EXPECT_EQ(Bits(s->don.dmp), 0x3DCCCCCDu);
    EXPECT_EQ(Bits(s->ton.xnoise), 0x43110000u); // 145
    EXPECT_EQ(s->ion.noise, 145);
    EXPECT_EQ(s->ion.lufp, 90);
    EXPECT_EQ(s->ion.method, 23);
    EXPECT_EQ(s->metset.itrun, 7);
    EXPECT_EQ(s->metset.itout, 7);
    EXPECT_EQ(s->chours.nhours, 24);
    EXPECT_EQ(s->chours.ihours(24), 24);
    EXPECT_EQ(s->contrl.months(1), 12);
    EXPECT_EQ(s->contrl.months(2), 0);
    EXPECT_EQ(s->contrl.sunsp(1), 5.f);
    // "-1" in a F5.2 field: an implied decimal point.
    EXPECT_EQ(Bits(s->frq.frel(1)), 0xBC23D70Au);
    EXPECT_EQ(s->frq.frel(14), 1.f);
    EXPECT_EQ(s->psca.ipsc, 1);
    EXPECT_EQ(s->psca.psc(4), 0.f);
    EXPECT_EQ(s->outprt.linmax, 99);
    EXPECT_EQ(s->outprt.linbyp, 1);
    EXPECT_EQ(s->outprt.linbd(3), 10);
    EXPECT_EQ(s->alpha.itran(1).View(), "SYDNEY    ");
    EXPECT_EQ(s->alpha.ircvr(1).View(), "LONDON    ");
    EXPECT_EQ(s->alpha.nyear.View(), " 2019");
    EXPECT_EQ(s->cantenna.numants, 16);
    EXPECT_EQ(s->cantenna.iats(9), 2);
    EXPECT_EQ(s->cantenna.antfile(1).View(), "default/isotrope        ");
    EXPECT_EQ(Bits(s->pantenna.pwrkw(1)), 0x3DCCCCCDu);
    EXPECT_EQ(Bits(s->pantenna.pwrdba(1)), 0x41A00000u); // 20 dBW
    EXPECT_EQ(s->pantenna.pwrdba(9), 0.f);
    EXPECT_EQ(s->carea.iarea, 0);
    EXPECT_EQ(s->contrl.kcard, 29);
    EXPECT_EQ(s->contrl.icard, 12);
}

TEST(RunSetup, AreaDeckGivesTheReferenceState) {
    TDeck deck;
    std::string error;
    ASSERT_TRUE(ReadAreaDeck(test::DipoleAreaDeck(), "ref/d16.voa", deck, error)) << error;
    auto s = StateOf(deck);
    // Method 30 is method 20 with path smoothing, as an area run.
    EXPECT_EQ(s->ion.method, 20);
    EXPECT_EQ(s->contrl.mspec, 121);
    EXPECT_EQ(s->carea.iarea, 1);
    EXPECT_EQ(s->rgrid.iproj, 8);
    EXPECT_EQ(s->contrl.itype, 1);
    EXPECT_EQ(s->rgrid.nx, 16);
    EXPECT_EQ(s->rgrid.xmin, -180.f);
    EXPECT_EQ(s->rgrid.ymax, 90.f);
    EXPECT_EQ(Bits(s->don.tlatd), 0x42300000u);
    EXPECT_EQ(Bits(s->don.tlongd), 0xC29E0000u);
    EXPECT_EQ(s->don.rlatd, 0.f);
    EXPECT_EQ(s->frq.frel(1), 14.f);
    EXPECT_EQ(s->outprt.linmax, 55);
    EXPECT_EQ(s->chours.nhours, 1);
    EXPECT_EQ(s->chours.ihours(1), 12);
    EXPECT_EQ(s->contrl.months(1), 3);
    EXPECT_EQ(s->cantenna.numants, 2);
    EXPECT_EQ(s->cantenna.antfile(2).View(), "ref/dipole10m.t14       ");
    EXPECT_EQ(Bits(s->pantenna.pwrdba(1)), 0x41A00000u);
    EXPECT_EQ(s->alpha.ircvr(1).View(), std::string(10, '\0'));
}

TEST(RunSetup, CardsFollowDecredsRules) {
    // Hours may run past midnight.
    auto s = StateAfter("TIME         22    4    2    1");
    ASSERT_EQ(s->chours.nhours, 4);
    EXPECT_EQ(s->chours.ihours(1), 22);
    EXPECT_EQ(s->chours.ihours(2), 24);
    EXPECT_EQ(s->chours.ihours(4), 4);
    // Hour 0 is hour 24; a zero step is one hour.
    s = StateAfter("TIME          0    1    0    1");
    EXPECT_EQ(s->chours.nhours, 2);
    EXPECT_EQ(s->chours.ihours(1), 24);
    // Unset system values take their defaults.
    s = StateAfter("SYSTEM       1.   0. 0.00   0. 67.0 3.00 0.10");
    EXPECT_EQ(s->don.amind, 3.f);
    EXPECT_EQ(s->ion.lufp, 90);
    EXPECT_EQ(s->ion.noise, -4);
    s = StateAfter("LINEMAX      20");
    EXPECT_EQ(s->outprt.linmax, 55);
    s = StateAfter("FPROB     OFF");
    EXPECT_EQ(s->psca.ipsc, 0);
    EXPECT_EQ(s->psca.psc(4), 0.7f);
    s = StateAfter("COEFFS    URSI88");
    EXPECT_EQ(s->ccoeff.coeff.View(), "URSI");
    s = StateAfter("COEFFS    ursi");
    EXPECT_EQ(s->ccoeff.coeff.View(), "CCIR");
    s = StateAfter("FREQUENCY   0.00 7.00");
    EXPECT_EQ(s->frq.frel(14), -10.f);
    // Blank hemispheres select the preset circuit.
    s = StateAfter("CIRCUIT   10.00     20.00     30.00     40.00   S     0");
    EXPECT_EQ(s->don.tlatd, 40.03f);
    EXPECT_EQ(s->don.tlongd, -105.3f);
    EXPECT_EQ(s->alpha.itran(1).View(), "BOULDER,  ");
    // Old-style months (hundredths) and a day of the month.
    s = StateAfter("MONTH      2019 .06 3.15");
    EXPECT_EQ(s->contrl.months(1), 6);
    EXPECT_EQ(s->contrl.months(2), 3);
    EXPECT_EQ(s->cdaily.idaily(2), 15);
    EXPECT_EQ(s->ccoeff.coeff.View(), "URSI");
    // An exponent, and blanks inside a number; without a decimal point
    // the last two digits are decimals, exponent or not.
    s = StateAfter("SUNSPOT   1.E2 1 2.  1E2");
    EXPECT_EQ(s->contrl.sunsp(1), 100.f);
    EXPECT_EQ(s->contrl.sunsp(2), 12.f);
    EXPECT_EQ(s->contrl.sunsp(3), 1.f);
}
