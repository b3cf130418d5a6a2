// Far-field physics of simple wire antennas over flat ground: the Fresnel
// reflection coefficients, the sine and cosine integrals, the mutual
// impedance of parallel half-wave dipoles, and the gain of a horizontal
// half-wave dipole and of a quarter-wave vertical.
//
// Conventions: time factor exp(+j w t); angles in radians; elevation e above
// the horizon; the dipole's azimuth is measured from its broadside direction.
// Gains are linear power ratios against an isotropic antenna (dBi after
// 10 log10).
#pragma once

#include <complex>

namespace vx::antgen {

using Complex = std::complex<double>;

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kSpeedOfLight = 299.792458;  // metres per microsecond
inline constexpr double kFeetToMetres = 0.3048;

// Wavelength in metres of a frequency in MHz.
double Wavelength(double mhz);

// Flat ground: relative permittivity and conductivity (S/m), or a perfect
// conductor.
struct TGround {
  double Permittivity = 13;
  double Conductivity = 0.005;
  bool Perfect = false;

  static TGround PerfectConductor() { return {1, 0, true}; }
  static TGround Average() { return {13, 0.005, false}; }

  // Complex relative permittivity at the frequency: eps - j sigma/(w eps0).
  Complex RelativePermittivity(double mhz) const;
  // Fresnel coefficients at elevation e. Horizontal (electric field parallel
  // to the ground): -1 over a perfect conductor. Vertical (field in the plane
  // of incidence, the sign that makes a vertical element's image add): +1
  // over a perfect conductor.
  Complex ReflectHorizontal(double mhz, double e) const;
  Complex ReflectVertical(double mhz, double e) const;
};

// Sine integral Si(x) and cosine integral Ci(x) for x > 0.
double SineIntegral(double x);
double CosineIntegral(double x);

// Impedances divided by eta/(4 pi), the free-space wave impedance over 4 pi
// (about 30 ohms), so that they depend on the geometry alone.
// Self resistance of a thin half-wave dipole with a sinusoidal current.
double DipoleSelfResistance();
// Mutual impedance of two parallel half-wave dipoles side by side, spacing
// in wavelengths (> 0).
Complex DipoleMutualImpedance(double spacing);

// A horizontal half-wave dipole (sinusoidal current, cut for the frequency)
// at a height above the ground. The feed power includes the coupling with
// the ground image (the image weighted by the reflection coefficient at
// normal incidence); the far field adds the reflected ray with the Fresnel
// coefficient of each polarisation.
class THorizontalDipole {
 public:
  THorizontalDipole(double heightMetres, double mhz, const TGround& ground);
  // Gain in the direction of elevation e and azimuth az from broadside.
  double Gain(double e, double az) const;
  // Feed resistance divided by eta/(4 pi).
  double FeedResistance() const { return Feed; }

 private:
  double Height;  // in wavelengths
  double Mhz;
  TGround Ground;
  double Feed;
};

// Gain of a quarter-wave vertical cut for the frequency, fed at the ground
// against radials that make the losses near its base negligible (so the feed
// power is that over a perfect conductor); every element of its sinusoidal
// current adds its own reflected ray with the vertical Fresnel coefficient.
double QuarterWaveVerticalGain(double mhz, const TGround& ground, double e);

}  // namespace vx::antgen
