// vantor-cli predict and vantor-cli area: one engine job, printed as JSON
// (a chart also as a table of the bands or as CSV).
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "app/PictureTitle.h"
#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "cli/CliImage.h"
#include "cli/Json.h"
#include "common/DayCount.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/Decks.h"
#include "views/Conditions.h"
#include "views/MapDraw.h"

namespace vx::cli {

namespace {

const char* UsageText(bool area) {
  return area ? "usage: vantor-cli area [--home POS] --band B --hour H --grid 16|31|61 [--month M] [--ssn N]\n"
                "       [--year Y] [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
                "       [--engine auto|builtin|voacapl] [--voacap PROGRAM] [--itshfbc DIR] [--deck] [--no-cache]\n"
                "       [--png FILE] [--bmp FILE] [--style color|gray|pseudo] [--sun] [--path POS]\n"
                "       [--decorate] [--scale 1-8]\n"
                "POS is a locator (FN31pr), a call sign or LAT,LON in decimal degrees (north and east positive).\n"
                "Home, power and antennas default to the window's settings, the month to this one (UTC) and\n"
                "the SSN to the shipped table's for the month.\n"
              : "usage: vantor-cli predict [--home POS] --dx POS [--year Y] [--month M] [--ssn N]\n"
                "       [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
                "       [--engine auto|builtin|voacapl] [--voacap PROGRAM] [--itshfbc DIR] [--deck]\n"
                "       [--format json|table|csv]\n"
                "POS is a locator (FN31pr), a call sign or LAT,LON in decimal degrees (north and east positive).\n"
                "Home, power and antennas default to the window's settings, the month to this one (UTC) and\n"
                "the SSN to the shipped table's for the month.\n";
}

int Usage(const std::string& error, bool area) {
  std::cerr << "vantor-cli " << (area ? "area" : "predict") << ": " << error << "\n" << UsageText(area);
  return 2;
}

// Writes the deck the engine would write, to standard output.
int PrintDeck(const TJobOptions& options, bool area) {
  TVoaInputs in = options.Inputs;
  TAlStringList antennas = AntennaListOf(options, in);
  auto deck = area ? BuildAreaDeck(in, antennas) : BuildPointDeck(in, antennas);
  if (!deck) {
    std::cerr << StatusMessage(vsDeckError) << "\n";
    return 1;
  }
  std::cout << *deck << std::flush;
  return 0;
}

// What the map options ask for; false with a message on a bad value.
struct TMapImage {
  TMapStyle Style = msColor;
  TMapOverlays Overlays;
  int Scale = 1;
  std::vector<std::string> Title;
};

// A coordinate frame holds whole degrees; the path is drawn between those.
TLocation WholeDegrees(int32_t lon, int32_t lat) {
  auto whole = [](int32_t v) { return RoundToInt32(v / 180.0) * 180; };
  return TLocation{whole(lon), whole(lat)};
}

bool ParseMapImage(const TArgs& args, const TVoaInputs& in, TMapImage& out, std::string& error) {
  if (auto style = args.Value("style")) {
    if (*style == "color")
      out.Style = msColor;
    else if (*style == "gray")
      out.Style = msGray;
    else if (*style == "pseudo")
      out.Style = msPseudo;
    else {
      error = "--style must be color, gray or pseudo";
      return false;
    }
  }
  out.Overlays.Sun = args.Flag("sun");
  out.Overlays.SunTime = SunTime(in.Year, in.Month, in.Hour, UtcNow());
  if (auto path = args.Value("path")) {
    int32_t lat = 0, lon = 0;
    if (!ParsePoint("path", *path, lat, lon, error)) return false;
    out.Overlays.Path = true;
    out.Overlays.Home = WholeDegrees(in.TxLon, in.TxLat);
    out.Overlays.Dx = WholeDegrees(lon, lat);
    out.Overlays.LongPath = in.LongPath;
  }
  return ParsePictureScale(args, out.Scale, error);
}

int WriteMap(const TArgs& args, const TMapImage& map, const TVoaGrid& grid) {
  TMapModel model;
  model.MapStyle = map.Style;
  model.SetData(grid);
  std::string error;
  if (!WriteImages(args, MapPicture(args, map.Scale, model.Compose(map.Overlays), map.Style, map.Title), error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

enum class TChartFormat { Json, Table, Csv };

bool ParseChartFormat(const TArgs& args, TChartFormat& out, std::string& error) {
  const auto format = args.Value("format");
  if (!format || *format == "json")
    out = TChartFormat::Json;
  else if (*format == "table")
    out = TChartFormat::Table;
  else if (*format == "csv")
    out = TChartFormat::Csv;
  else {
    error = "--format must be json, table or csv";
    return false;
  }
  return true;
}

// Colours only for a person at a terminal who has not asked for none.
bool ColourTerminal() { return ::isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR"); }

int Finish(const TVoaEngine& engine) {
  if (engine.Status() == vsReady) return 0;
  std::cerr << engine.StatusText() << "\n";
  if (!engine.FailureDetail().empty()) std::cerr << engine.FailureDetail() << "\n";
  return 1;
}

// Image options only mean something with an image to write; --deck writes
// none.
bool CheckImageOptions(const TArgs& args, bool deckOnly, std::string& error) {
  const bool image = WantsImage(args);
  if (deckOnly && image) {
    error = "--deck prints the deck and draws nothing: --png and --bmp have no effect with it";
    return false;
  }
  for (const char* option : {"style", "path"})
    if (!image && args.Value(option)) {
      error = std::string("--") + option + " has no effect without --png FILE or --bmp FILE";
      return false;
    }
  if (!image && args.Flag("sun")) {
    error = "--sun has no effect without --png FILE or --bmp FILE";
    return false;
  }
  return true;
}

int Run(const std::vector<std::string>& argv, bool area) {
  if (HelpRequested(argv)) {
    std::cout << UsageText(area);
    return 0;
  }
  TArgs args(argv, area ? std::vector<std::string>{"long", "deck", "no-cache", "sun", kDecorateFlag}
                        : std::vector<std::string>{"long", "deck", "no-cache"});
  TJobOptions options;
  std::string error;
  std::vector<std::string> imageNames = {"style", "sun", "path"};
  imageNames.insert(imageNames.end(), PictureOptionNames().begin(), PictureOptionNames().end());
  if (!ParseJobOptions(args, area, options, error, area ? imageNames : std::vector<std::string>{"format"}))
    return Usage(error, area);
  TChartFormat format = TChartFormat::Json;
  if (!area && !ParseChartFormat(args, format, error)) return Usage(error, area);
  if (area && !CheckImageOptions(args, options.DeckOnly, error)) return Usage(error, area);
  TMapImage map;
  if (area && !ParseMapImage(args, options.Inputs, map, error)) return Usage(error, area);
  if (options.DeckOnly) return PrintDeck(options, area);

  // Point predictions are never cached; maps are unless --no-cache.
  const std::string cache = area && !options.NoCache ? AreaCacheFolder() : std::string();
  auto session = OpenJobSession(options, cache, error);
  if (!session) {
    std::cerr << error << "\n";
    return 1;
  }
  RunToEnd(*session, area);
  const TVoaEngine& engine = session->Engine();
  const TJsonHead head{engine.Status(), engine.StatusText(), engine.EngineName(),
                       InputsJson(session->Model->Inputs, options.From, !area)};
  if (!area) {
    if (format == TChartFormat::Json) {
      const auto path = session->Model->PathFacts();
      std::cout << PointJson(head, engine.PointResults(), path ? &*path : nullptr) << std::endl;
    } else if (engine.Status() == vsReady) {
      std::cout << (format == TChartFormat::Csv ? ConditionsCsv(engine.PointResults())
                                                : ConditionsTable(engine.PointResults(), ColourTerminal()))
                << std::flush;
    }
    return Finish(engine);
  }
  std::cout << AreaJson(head, engine.AreaGrid()) << std::endl;
  if (engine.Status() == vsReady && WantsImage(args)) {
    const TVoaInputs& in = options.Inputs;
    TPictureFacts facts;
    facts.Map = true;
    facts.Home = TLocation{in.TxLon, in.TxLat};
    facts.Band = in.Band, facts.Hour = in.Hour;
    facts.Year = in.Year, facts.Month = in.Month, facts.Ssn = in.Ssn;
    facts.Engine = engine.EngineName();
    map.Title = PictureTitle(facts);
    return WriteMap(args, map, engine.AreaGrid());
  }
  return Finish(engine);
}

}  // namespace

int CliPredict(const std::vector<std::string>& args) { return Run(args, false); }
int CliArea(const std::vector<std::string>& args) { return Run(args, true); }

}  // namespace vx::cli
