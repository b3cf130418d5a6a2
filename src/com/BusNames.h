// The names under which Vantor and its sibling programs meet on the session
// bus. They are fixed: scripts, station logs and the siblings rely on them.
#pragma once

namespace vx {

// Vantor's own automation service.
inline constexpr char kVantorBusName[] = "net.vexmoor.Vantor";
inline constexpr char kVantorObjectPath[] = "/net/vexmoor/Vantor";
inline constexpr char kVantorInterface[] = "net.vexmoor.Vantor.App";
inline constexpr char kVantorErrorName[] = "net.vexmoor.Vantor.Error";

// The world-map program.
inline constexpr char kGeomiraBusName[] = "net.vexmoor.Geomira";
inline constexpr char kGeomiraObjectPath[] = "/net/vexmoor/Geomira";
inline constexpr char kGeomiraInterface[] = "net.vexmoor.Geomira.App";
inline constexpr char kGeomiraMapPath[] = "/net/vexmoor/Geomira/Map";
inline constexpr char kGeomiraMapInterface[] = "net.vexmoor.Geomira.DxMap";

// The space-weather monitor.
inline constexpr char kSunsentryBusName[] = "net.vexmoor.Sunsentry";
inline constexpr char kSunsentryObjectPath[] = "/net/vexmoor/Sunsentry";
inline constexpr char kSunsentryInterface[] = "net.vexmoor.Sunsentry.App";

}  // namespace vx
