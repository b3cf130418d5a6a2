#include "geo/PathGeom.h"

#include <cmath>

namespace vx {

static bool NearNorthPole(float lat) { return std::fabs(lat - kPi / 2) < kGeoEpsilon; }
static bool NearSouthPole(float lat) { return std::fabs(lat + kPi / 2) < kGeoEpsilon; }

void TPathGeometry::SetPath(TGeoPoint p1, TGeoPoint p2, bool longPath) {
  Point1 = p1;
  Point2 = p2;
  LongPath = longPath;
  UpdateTrig();
  ComputeDistanceAzimuth();
}

void TPathGeometry::SetPoint1(TGeoPoint p1) {
  Point1 = p1;
  UpdateTrig();
  ComputeDistanceAzimuth();
}

void TPathGeometry::SetDistanceAzimuth(float d, float a) {
  Distance = d;
  Azimuth = a;
  ComputePoint2();
}

void TPathGeometry::SetAzimuth(float a) {
  Azimuth = a;
  ComputePoint2();
}

void TPathGeometry::SetDistance(float d) {
  Distance = d;
  ComputePoint2();
}

void TPathGeometry::UpdateTrig() {
  // In double: std::sin of a float would round to float.
  SinLat1 = std::sin(double(Point1.Lat));
  CosLat1 = std::cos(double(Point1.Lat));
  SinLat2 = std::sin(double(Point2.Lat));
  CosLat2 = std::cos(double(Point2.Lat));
  double dLon = static_cast<double>(Point2.Lon) - Point1.Lon;
  SinDLon = std::sin(dLon);
  CosDLon = std::cos(dLon);
}

void TPathGeometry::ComputeDistanceAzimuth() {
  Distance = static_cast<float>(SafeArcCos(CosLat1 * CosLat2 * CosDLon + SinLat1 * SinLat2));
  double az;
  if (Distance < kGeoEpsilon)
    az = 0;
  else if (NearNorthPole(Point1.Lat))
    az = kPi + Point1.Lon - Point2.Lon;
  else if (NearSouthPole(Point1.Lat))
    az = static_cast<double>(Point2.Lon) - Point1.Lon;
  else
    az = SafeArcTan2(SinDLon * CosLat2, CosLat1 * SinLat2 - SinLat1 * CosLat2 * CosDLon);
  Azimuth = static_cast<float>(az);
  if (LongPath) {
    Azimuth = static_cast<float>(Azimuth + kPi);
    Distance = static_cast<float>(2 * kPi - Distance);
  }
  Azimuth = NormalizeAngle2Pi(Azimuth);
}

void TPathGeometry::ComputePoint2() {
  const double s1 = std::sin(double(Point1.Lat)), c1 = std::cos(double(Point1.Lat));
  const double d = Distance, a = Azimuth;
  Point2.Lat = static_cast<float>(SafeArcSin(std::sin(d) * c1 * std::cos(a) + std::cos(d) * s1));
  double dLon;
  if (NearNorthPole(Point1.Lat))
    dLon = kPi - a;
  else if (NearSouthPole(Point1.Lat))
    dLon = a;
  else
    dLon = SafeArcTan2(std::sin(a) * std::sin(d) * c1, std::cos(d) - std::sin(double(Point2.Lat)) * s1);
  Point2.Lon = NormalizeAnglePi(static_cast<float>(dLon + Point1.Lon));
  UpdateTrig();
}

}  // namespace vx
