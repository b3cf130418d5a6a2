#include "Physics.h"

#include <algorithm>
#include <cmath>

namespace vx::antgen {

namespace {

constexpr double kEulerGamma = 0.57721566490153286061;
constexpr double kVacuumPermittivity = 8.8541878128e-12;  // F/m

// Composite Simpson rule with n (even) intervals.
template <class F>
auto Simpson(F f, double a, double b, int n) {
  const double h = (b - a) / n;
  auto sum = f(a) + f(b);
  for (int i = 1; i < n; ++i) sum += f(a + i * h) * (i % 2 ? 4.0 : 2.0);
  return sum * (h / 3);
}

// Intervals for the integrals of the sine and cosine integrals: 0.005 wide,
// far below the 2 pi period of the integrands.
int IntervalsFor(double x) { return 2 * std::max(32, int(std::ceil(x / 0.01))); }

// Far-field amplitude of a half-wave dipole along the unit vector of its
// wire, divided by sin^2 of the angle theta from the wire: the field vector
// is this times the wire direction's part across the ray (length sin theta).
double DipoleElementFactor(double cosTheta) {
  const double sin2 = 1 - cosTheta * cosTheta;
  if (sin2 < 1e-12) return kPi / 4;  // the limit along the wire
  return std::cos(kPi / 2 * cosTheta) / sin2;
}

}  // namespace

double Wavelength(double mhz) { return kSpeedOfLight / mhz; }

Complex TGround::RelativePermittivity(double mhz) const {
  const double omega = 2 * kPi * mhz * 1e6;
  return {Permittivity, -Conductivity / (omega * kVacuumPermittivity)};
}

Complex TGround::ReflectHorizontal(double mhz, double e) const {
  if (Perfect) return -1;
  const double s = std::sin(e), c = std::cos(e);
  const Complex root = std::sqrt(RelativePermittivity(mhz) - c * c);
  return (s - root) / (s + root);
}

Complex TGround::ReflectVertical(double mhz, double e) const {
  if (Perfect) return 1;
  const double s = std::sin(e), c = std::cos(e);
  const Complex eps = RelativePermittivity(mhz);
  const Complex root = std::sqrt(eps - c * c);
  return (eps * s - root) / (eps * s + root);
}

double SineIntegral(double x) {
  auto f = [](double t) { return t == 0 ? 1.0 : std::sin(t) / t; };
  return Simpson(f, 0, x, IntervalsFor(x));
}

double CosineIntegral(double x) {
  // Ci(x) = gamma + ln x + integral of (cos t - 1)/t from 0 to x.
  auto f = [](double t) { return t == 0 ? 0.0 : (std::cos(t) - 1) / t; };
  return kEulerGamma + std::log(x) + Simpson(f, 0, x, IntervalsFor(x));
}

double DipoleSelfResistance() {
  // Cin(2 pi) = gamma + ln(2 pi) - Ci(2 pi).
  static const double r = kEulerGamma + std::log(2 * kPi) - CosineIntegral(2 * kPi);
  return r;
}

Complex DipoleMutualImpedance(double spacing) {
  const double k = 2 * kPi, half = 0.5;  // wavenumber and length in wavelengths
  const double slant = std::sqrt(spacing * spacing + half * half);
  const double u0 = k * spacing, u1 = k * (slant + half), u2 = k * (slant - half);
  const double r = 2 * CosineIntegral(u0) - CosineIntegral(u1) - CosineIntegral(u2);
  const double x = -(2 * SineIntegral(u0) - SineIntegral(u1) - SineIntegral(u2));
  return {r, x};
}

THorizontalDipole::THorizontalDipole(double heightMetres, double mhz, const TGround& ground)
    : Height(heightMetres / Wavelength(mhz)), Mhz(mhz), Ground(ground) {
  // The image current (reflection coefficient at normal incidence times the
  // dipole's current) at twice the height adds its mutual impedance.
  const Complex image = Ground.ReflectHorizontal(Mhz, kPi / 2);
  Feed = DipoleSelfResistance() + (image * DipoleMutualImpedance(2 * Height)).real();
}

double THorizontalDipole::Gain(double e, double az) const {
  const double se = std::sin(e), ce = std::cos(e), sa = std::sin(az), ca = std::cos(az);
  // Wire along x, broadside along y. The wire direction across the ray has
  // a horizontal part cos(az) and a part in the plane of incidence
  // -sin(e) sin(az); the reflected ray left the wire at the mirrored
  // elevation, where the latter part changes sign.
  const double element = DipoleElementFactor(ce * sa);
  const Complex direct = std::polar(1.0, 2 * kPi * Height * se);
  const Complex mirrored = std::polar(1.0, -2 * kPi * Height * se);
  const Complex horizontal = element * ca * (direct + Ground.ReflectHorizontal(Mhz, e) * mirrored);
  const Complex vertical = -element * se * sa * (direct - Ground.ReflectVertical(Mhz, e) * mirrored);
  // A unit pattern radiates pi times the normalised resistance (the integral
  // of the squared element factor over the sphere).
  return 4 * kPi * (std::norm(horizontal) + std::norm(vertical)) / (kPi * Feed);
}

double QuarterWaveVerticalGain(double mhz, const TGround& ground, double e) {
  const double s = std::sin(e);
  const Complex reflect = ground.ReflectVertical(mhz, e);
  // Current cos(t) at electrical height t = 0 .. pi/2 above the ground.
  auto element = [&](double t) { return std::cos(t) * (std::polar(1.0, t * s) + reflect * std::polar(1.0, -t * s)); };
  const Complex field = std::cos(e) * Simpson(element, 0, kPi / 2, 256);
  // Over a perfect conductor the same current radiates into the upper half
  // space the power 2 pi times the normalised self resistance of the
  // half-wave dipole it completes.
  return 4 * kPi * std::norm(field) / (2 * kPi * DipoleSelfResistance());
}

}  // namespace vx::antgen
