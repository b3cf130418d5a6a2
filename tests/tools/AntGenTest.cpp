// Physics of the shipped antenna models and the layout of their files.
#include <gtest/gtest.h>

#include <cmath>

#include "AntFile.h"
#include "Models.h"
#include "Physics.h"
#include "common/TextUtil.h"
#include "engine/AntPattern.h"

using namespace vx;
using namespace vx::antgen;

namespace {

constexpr double kDegree = kPi / 180;
constexpr double kOhmsPerUnit = 376.730313668 / (4 * kPi);  // eta / (4 pi)

double Dbi(double gain) { return 10 * std::log10(gain); }

// Integral of the gain over the upper half space divided by 4 pi: the share
// of the feed power that leaves in the far field (1 without losses).
template <class Gain>
double RadiatedShare(Gain gain) {
  const int ne = 180, na = 360;
  double sum = 0;
  for (int i = 0; i < ne; ++i) {
    const double e = (i + 0.5) * (kPi / 2) / ne;
    for (int j = 0; j < na; ++j) sum += gain(e, (j + 0.5) * 2 * kPi / na) * std::cos(e);
  }
  return sum * (kPi / 2 / ne) * (2 * kPi / na) / (4 * kPi);
}

// The same for a pattern that does not depend on azimuth.
template <class Gain>
double RadiatedShareRound(Gain gain) {
  const int ne = 900;
  double sum = 0;
  for (int i = 0; i < ne; ++i) {
    const double e = (i + 0.5) * (kPi / 2) / ne;
    sum += gain(e) * std::cos(e);
  }
  return sum * (kPi / 2 / ne) * 2 * kPi / (4 * kPi);
}

// Elevation (degrees, 0.01 steps) of the first maximum of a gain function.
template <class Gain>
double FirstLobe(Gain gain) {
  double previous = gain(0.0);
  for (int i = 1; i <= 9000; ++i) {
    const double now = gain(i * 0.01 * kDegree);
    if (now < previous) return (i - 1) * 0.01;
    previous = now;
  }
  return 90;
}

}  // namespace

TEST(AntGenPhysics, SineAndCosineIntegralsAndDipoleImpedances) {
  EXPECT_NEAR(SineIntegral(1), 0.946083070367, 1e-9);
  EXPECT_NEAR(CosineIntegral(1), 0.337403922900, 1e-9);
  EXPECT_NEAR(SineIntegral(10), 1.658347594218, 1e-9);
  EXPECT_NEAR(CosineIntegral(10), -0.045456433004, 1e-9);
  // The textbook values: 73.1 ohms for the half-wave dipole; two of them half
  // a wavelength apart couple with about -12.5 - j29.9 ohms.
  EXPECT_NEAR(DipoleSelfResistance() * kOhmsPerUnit, 73.08, 0.01);
  const Complex z = DipoleMutualImpedance(0.5) * kOhmsPerUnit;
  EXPECT_NEAR(z.real(), -12.5, 0.1);
  EXPECT_NEAR(z.imag(), -29.9, 0.1);
  // Close together the mutual resistance tends to the self resistance.
  EXPECT_NEAR(DipoleMutualImpedance(1e-4).real(), DipoleSelfResistance(), 1e-3);
}

TEST(AntGenPhysics, FresnelCoefficients) {
  const TGround perfect = TGround::PerfectConductor(), average = TGround::Average();
  EXPECT_EQ(perfect.ReflectHorizontal(14, 0.3), Complex(-1));
  EXPECT_EQ(perfect.ReflectVertical(14, 0.3), Complex(1));
  // Grazing incidence reflects both polarisations with -1 over real ground.
  EXPECT_NEAR(std::abs(average.ReflectHorizontal(14, 0) + 1.0), 0, 1e-12);
  EXPECT_NEAR(std::abs(average.ReflectVertical(14, 0) + 1.0), 0, 1e-12);
  // Real ground reflects less than all; vertical polarisation has its
  // pseudo-Brewster minimum near sin(e) = 1/sqrt(|eps|).
  double smallest = 2, where = 0;
  for (int i = 1; i <= 900; ++i) {
    const double e = i * 0.1 * kDegree;
    EXPECT_LT(std::abs(average.ReflectHorizontal(14, e)), 1);
    const double v = std::abs(average.ReflectVertical(14, e));
    EXPECT_LT(v, 1);
    if (v < smallest) smallest = v, where = e;
  }
  const double brewster = std::asin(1 / std::sqrt(std::abs(average.RelativePermittivity(14))));
  EXPECT_NEAR(where / kDegree, brewster / kDegree, 3);
  // Average ground at 3.5 MHz: eps = 13 - j 25.7 (60 lambda sigma).
  EXPECT_NEAR(average.RelativePermittivity(3.5).imag(), -60 * Wavelength(3.5) * 0.005, 0.05);
}

TEST(AntGenPhysics, HorizontalDipoleFirstLobeOverPerfectGround) {
  // The image adds in phase where 2 k h sin(e) = pi: sin(e) = lambda / (4 h).
  for (double mhz : {7.0, 14.0, 21.0, 28.0}) {
    const double h = 16.764;
    const THorizontalDipole dipole(h, mhz, TGround::PerfectConductor());
    const double lobe = FirstLobe([&](double e) { return dipole.Gain(e, 0); });
    EXPECT_NEAR(lobe, std::asin(Wavelength(mhz) / (4 * h)) / kDegree, 0.02) << mhz << " MHz";
    // There the field doubles: 6 dB over the free-space 2.15 dBi, corrected
    // by the image's share of the feed resistance.
    const double peak = dipole.Gain(lobe * kDegree, 0);
    EXPECT_NEAR(Dbi(peak), 2.15 + 6.02 + Dbi(DipoleSelfResistance() / dipole.FeedResistance()), 0.01);
  }
}

TEST(AntGenPhysics, EnergyIsConservedOverPerfectGroundAndLostOverRealGround) {
  for (double heightInWavelengths : {0.1, 0.25, 0.5, 0.78, 1.5}) {
    const double mhz = 14, h = heightInWavelengths * Wavelength(mhz);
    const THorizontalDipole perfect(h, mhz, TGround::PerfectConductor());
    EXPECT_NEAR(RadiatedShare([&](double e, double az) { return perfect.Gain(e, az); }), 1, 1e-3)
        << heightInWavelengths;
    const THorizontalDipole real(h, mhz, TGround::Average());
    const double share = RadiatedShare([&](double e, double az) { return real.Gain(e, az); });
    EXPECT_GT(share, 0.2) << heightInWavelengths;
    EXPECT_LT(share, 1) << heightInWavelengths;
  }
  for (double mhz : {1.0, 3.5, 14.0, 30.0}) {
    auto perfect = [&](double e) { return QuarterWaveVerticalGain(mhz, TGround::PerfectConductor(), e); };
    auto real = [&](double e) { return QuarterWaveVerticalGain(mhz, TGround::Average(), e); };
    EXPECT_NEAR(RadiatedShareRound(perfect), 1, 1e-4) << mhz;
    EXPECT_LT(RadiatedShareRound(real), 1) << mhz;
  }
}

TEST(AntGenPhysics, VerticalOverPerfectGroundHasItsMaximumAtTheHorizon) {
  const TGround perfect = TGround::PerfectConductor();
  const double horizon = QuarterWaveVerticalGain(14, perfect, 0);
  EXPECT_NEAR(Dbi(horizon), 2.15 + 3.01, 0.01);  // the half-wave dipole's pattern, doubled
  for (int e = 1; e <= 89; ++e) EXPECT_LT(QuarterWaveVerticalGain(14, perfect, e * kDegree), horizon);
  // Over real ground the reflected ray cancels the direct one at the horizon.
  EXPECT_LT(QuarterWaveVerticalGain(14, TGround::Average(), 0), 1e-12);
}

TEST(AntGenPhysics, RealGroundLeavesNoGainAtTheHorizon) {
  for (double feet : {33.0, 55.0, 100.0}) {
    const auto rows = DipoleRows(feet * kFeetToMetres, TGround::Average());
    for (int mhz = 1; mhz <= 30; ++mhz) {
      const auto& row = rows[size_t(mhz - 1)];
      const double peak = *std::max_element(row.begin(), row.end());
      const THorizontalDipole dipole(feet * kFeetToMetres, mhz, TGround::Average());
      EXPECT_LT(dipole.Gain(0, 0), 1e-12);
      EXPECT_EQ(row[0], kGainFloor);
      EXPECT_LT(row[1], peak - 5) << feet << " ft, " << mhz << " MHz";
      EXPECT_GT(peak, 4) << feet << " ft, " << mhz << " MHz";
      EXPECT_LT(peak, 9) << feet << " ft, " << mhz << " MHz";
    }
  }
  const auto vertical = VerticalRows(TGround::Average());
  for (const auto& row : vertical) {
    EXPECT_EQ(row[0], kGainFloor);
    EXPECT_LT(row[1], *std::max_element(row.begin(), row.end()) - 5);
  }
}

TEST(AntGenPhysics, AzimuthTableOfTheDipole) {
  const double h = 55 * kFeetToMetres, mhz = 14.175;
  const auto rows = DipoleAzimuthRows(h, mhz, TGround::Average());
  ASSERT_EQ(rows.size(), 360u);
  const THorizontalDipole dipole(h, mhz, TGround::Average());
  for (int e = 1; e <= 90; ++e) EXPECT_DOUBLE_EQ(rows[0][size_t(e)], Dbi(dipole.Gain(e * kDegree, 0)));
  // Symmetric about the wire and about broadside; silent off the wire's end
  // at the horizon, and the same at the zenith in every direction.
  for (int az = 1; az < 180; ++az)
    for (int e = 0; e <= 90; e += 5) {
      EXPECT_NEAR(rows[size_t(az)][size_t(e)], rows[size_t(360 - az)][size_t(e)], 1e-9);
      EXPECT_NEAR(rows[size_t(az)][size_t(e)], rows[size_t(180 - az)][size_t(e)], 1e-9);
    }
  EXPECT_EQ(rows[90][0], kGainFloor);
  EXPECT_LT(rows[90][20], rows[0][20] - 10);
  for (const auto& row : rows) EXPECT_NEAR(row[90], rows[0][90], 1e-9);
}

TEST(AntGenFile, LayoutOfTheTables) {
  const auto models = ShippedModels();
  ASSERT_EQ(models.size(), 5u);
  for (const auto& m : models) {
    SCOPED_TRACE(m.Name);
    EXPECT_LE(m.Name.size(), 14u);  // "Vantor/" + name fills a deck's 21-character antenna field
    const auto lines = SplitLines(m.Text);
    const bool type13 = m.Name.ends_with(".N13");
    const size_t parameters = type13 ? 4 : 3, rows = type13 ? 360 : 30;
    ASSERT_EQ(lines.size(), 2 + parameters + rows * 10);
    EXPECT_LT(lines[0].size(), 80u);                    // the whole line is the display name
    EXPECT_EQ(m.Text.find('\n'), lines[0].size() + 1);  // CR LF
    EXPECT_EQ(std::count(m.Text.begin(), m.Text.end(), '\n'), std::count(m.Text.begin(), m.Text.end(), '\r'));
    EXPECT_EQ(lines[1].substr(0, 2), type13 ? " 4" : " 3");
    EXPECT_EQ(lines[2].substr(0, 12), "  0.00  [ 1]");
    EXPECT_EQ(lines[3].substr(0, 12), type13 ? "  13    [ 2]" : "  14    [ 2]");
    for (size_t i = 2 + parameters; i < lines.size(); ++i) {
      const size_t k = (i - 2 - parameters) % 10;
      ASSERT_EQ(lines[i].size(), k == 9 ? 16u : 79u) << i;
      for (size_t c = 9; c < lines[i].size(); c += 7) EXPECT_EQ(lines[i][c + 3], '.') << i;  // f7.3
      if (k == 0 && !type13) {
        EXPECT_EQ(ParseInt(lines[i].substr(0, 2)), int64_t((i - 2 - parameters) / 10 + 1));
        EXPECT_EQ(lines[i].substr(2, 7), "  0.00 ");  // efficiency, columns 3-8
      }
    }
  }
  EXPECT_THROW(FormatType14("x", std::vector<TElevationRow>(29)), std::invalid_argument);
}

TEST(AntGenFile, TablesReadBackThroughTheViewersReader) {
  const TGround ground = TGround::Average();
  for (const auto& m : ShippedModels()) {
    SCOPED_TRACE(m.Name);
    auto pattern = ParseAntennaPattern(m.Text);
    ASSERT_TRUE(pattern);
    EXPECT_EQ(pattern->Description, std::string(SplitLines(m.Text)[0]));
    std::vector<TElevationRow> expected;
    if (m.Name == "Dipole55.N14") expected = DipoleRows(55 * kFeetToMetres, ground);
    if (m.Name == "Dipole33.N14") expected = DipoleRows(33 * kFeetToMetres, ground);
    if (m.Name == "Dipole100.N14") expected = DipoleRows(100 * kFeetToMetres, ground);
    if (m.Name == "Vertical.N14") expected = VerticalRows(ground);
    if (m.Name == "Dipole20m.N13") expected = DipoleAzimuthRows(55 * kFeetToMetres, 14.175, ground);
    ASSERT_FALSE(expected.empty());
    const bool type14 = expected.size() == 30;
    ASSERT_EQ(pattern->AntennaType, type14 ? 14 : 13);
    ASSERT_EQ(pattern->Pattern.size(), type14 ? 31u : 360u);
    for (size_t r = 0; r < expected.size(); ++r)
      for (size_t e = 0; e < 91; ++e)
        ASSERT_NEAR(pattern->Pattern[r + (type14 ? 1 : 0)][e], expected[r][e], 0.0005 + 1e-6) << r << " " << e;
  }
}
