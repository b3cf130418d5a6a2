// TPathGeometry: great-circle distance and bearing between two points on a
// sphere (short or long path), and the point reached from Point1 after a
// given central angle along a given bearing. Every setter recomputes what
// depends on it, so Point2 is valid after each call (the map steps Distance
// along a path, or Azimuth round a ring).
#pragma once

#include "geo/MyMath.h"

namespace vx {

class TPathGeometry {
 public:
  float Distance = 0;  // central angle, radians
  float Azimuth = 0;   // initial bearing at Point1, clockwise from north
  TGeoPoint Point1;
  TGeoPoint Point2;
  bool LongPath = false;
  // Always those of the current points.
  double SinLat1 = 0, CosLat1 = 0;
  double SinLat2 = 0, CosLat2 = 0;
  double SinDLon = 0, CosDLon = 0;

  void SetPath(TGeoPoint p1, TGeoPoint p2, bool longPath);
  void SetPoint1(TGeoPoint p1);
  void SetDistanceAzimuth(float d, float a);
  void SetAzimuth(float a);
  void SetDistance(float d);

 private:
  void UpdateTrig();
  void ComputeDistanceAzimuth();
  void ComputePoint2();
};

}  // namespace vx
