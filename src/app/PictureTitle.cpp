#include "app/PictureTitle.h"

#include <algorithm>

#include "app/WindowModel.h"
#include "common/TextUtil.h"
#include "geo/CoordFrm.h"

namespace vx {

namespace {

std::string MHz(int band) {
  const float mhz = BandFrequency[size_t(std::clamp(band, 0, kBandCount - 1))];
  return (mhz == 3.5f ? std::string("3.5") : FormatInt(int(mhz))) + " MHz";
}

std::string Utc(int hour) { return FormatInt(hour, 2, true) + " UTC"; }

std::string MapLine(const TPictureFacts& f) {
  switch (f.Maximum) {
    case mmHours: return MHz(f.Band) + ", largest SNR over 24 hours";
    case mmBands: return Utc(f.Hour) + ", largest SNR over all bands";
    case mmBoth: return "Largest SNR over all bands and 24 hours";
    case mmNone: break;
  }
  return MHz(f.Band) + " at " + Utc(f.Hour);
}

TPictureFacts CommonFacts(const TWindowModel& model) {
  const TPredictionInputs in = model.ReadInputs();
  TPictureFacts f;
  f.Home = in.Home;
  f.LongPath = in.LongPath;
  f.Year = in.Year;
  f.Month = in.Month;
  f.Ssn = in.Ssn;
  f.Engine = model.Engine().EngineName();
  return f;
}

}  // namespace

std::vector<std::string> PictureTitle(const TPictureFacts& f) {
  std::vector<std::string> lines;
  const std::string path = f.LongPath ? "long path" : "short path";
  if (f.Map) {
    lines.push_back("Home " + FormatCoordinates(f.Home));
    lines.push_back(MapLine(f));
  } else if (!HasLocation(f.Dx)) {
    lines.push_back("From " + FormatCoordinates(f.Home) + ", " + path);
  } else {
    const std::string dx = f.DxName.empty() ? FormatCoordinates(f.Dx) : f.DxName + " (" + FormatCoordinates(f.Dx) + ")";
    lines.push_back(FormatCoordinates(f.Home) + " to " + dx + ", " + path);
  }
  const std::string month =
      f.Year > 0 && f.Month >= 1 && f.Month <= 12 ? FormatInt(f.Year) + "-" + FormatInt(f.Month, 2, true) : "No month";
  lines.push_back(month + "   SSN " + FormatInt(f.Ssn));
  if (!f.Engine.empty()) lines.push_back("Engine " + f.Engine);
  return lines;
}

TPictureFacts ChartFacts(const TWindowModel& model) {
  TPictureFacts f = CommonFacts(model);
  if (!model.Dx.empty()) {
    f.Dx = model.ReadInputs().Dx;
    f.DxName = model.Call;
  }
  return f;
}

TPictureFacts MapFacts(const TWindowModel& model) {
  TPictureFacts f = CommonFacts(model);
  f.Map = true;
  f.Band = model.Map.MapBand;
  f.Hour = model.Map.MapHour;
  f.Maximum = model.Map.Maximum;
  return f;
}

}  // namespace vx
