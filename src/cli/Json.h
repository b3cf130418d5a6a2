// JSON renderings of engine results for vantor-cli.
#pragma once

#include <string>

#include "app/PredCtl.h"
#include "engine/VoaTypes.h"
#include "geo/PathFacts.h"

namespace vx::cli {

// A float as the shortest text that reads back to it; "null" for a reset value.
std::string JsonNumber(float v);
// A string with JSON escapes; bytes above 127 are Windows-1252 and become
// their Unicode characters.
std::string JsonString(const std::string& s);

// What every result begins with: the status, its text and the engine that
// answered ("builtin" or "voacapl").
struct TJsonHead {
  TVoaStatus Status = vsReady;
  std::string StatusText;
  std::string Engine;
  std::string Inputs;  // an object naming what the job used (InputsJson); left out when empty
};

// With path facts, a "path" object follows the rows.
std::string PointJson(const TJsonHead& head, const TPointResults& r, const TPathFacts* path = nullptr);
std::string PathJson(const TPathFacts& f);
// Where each input of a job came from: "option", "settings", "clock",
// "SSN.dat" or "default"; HomeText and DxText are the options as typed.
struct TInputSources {
  std::string Home, Dx, Year, Month, Ssn, Power, TxAntennas, RxAntennas;
  std::string HomeText, DxText;
};

// {"home": {"lat": .., "lon": .., "locator": "FN31pr"}, "dx": {..}, "year":
// .., "month": .., "ssn": .., "power": .., "txAntennas": [..], "rxAntennas":
// [..], "from": {..}}; no "dx" for a map.
std::string InputsJson(const TPredictionInputs& in, const TInputSources& from, bool withDx);
std::string AreaJson(const TJsonHead& head, const TVoaGrid& grid);

}  // namespace vx::cli
