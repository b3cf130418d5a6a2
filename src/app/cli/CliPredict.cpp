// vantor-cli predict and vantor-cli area: one engine job, printed as JSON.
#include <iostream>

#include "app/Paths.h"
#include "app/cli/Cli.h"
#include "app/cli/CliEngine.h"
#include "app/cli/Json.h"
#include "engine/Cache.h"
#include "engine/Decks.h"

namespace vx::cli {

namespace {

int Usage(const std::string& error, bool area) {
  std::cerr << "vantor-cli " << (area ? "area" : "predict") << ": " << error << "\n";
  if (area)
    std::cerr << "usage: vantor-cli area --home LAT,LON --band B --hour H --grid 16|31|61 --month M --ssn N\n"
                 "       [--year Y] [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
                 "       [--voacap PROGRAM] [--itshfbc DIR] [--deck] [--no-cache]\n";
  else
    std::cerr << "usage: vantor-cli predict --home LAT,LON --dx LAT,LON --year Y --month M --ssn N\n"
                 "       [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
                 "       [--voacap PROGRAM] [--itshfbc DIR] [--deck]\n";
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

int Finish(const TVoaEngine& engine) {
  if (engine.Status == vsReady) return 0;
  std::cerr << engine.StatusText() << "\n";
  return 1;
}

int Run(const std::vector<std::string>& argv, bool area) {
  TArgs args(argv, {"long", "deck", "no-cache"});
  TJobOptions options;
  std::string error;
  if (!ParseJobOptions(args, area, options, error)) return Usage(error, area);
  if (options.DeckOnly) return PrintDeck(options, area);

  auto engine = MakeEngine(options, error);
  if (!engine) {
    std::cerr << error << "\n";
    return 1;
  }
  if (!area) {
    RunToEnd(*engine, false);
    std::cout << PointJson(*engine) << std::endl;
    return Finish(*engine);
  }
  const std::string cache = AreaCacheFolder();
  if (!options.NoCache && LoadAreaCache(cache, *engine, engine->AreaGrid)) {
    std::cout << AreaJson(vsReady, engine->AreaGrid) << std::endl;
    return 0;
  }
  RunToEnd(*engine, true);
  if (engine->Status == vsReady && !options.NoCache) SaveAreaCache(cache, *engine, engine->AreaGrid);
  std::cout << AreaJson(engine->Status, engine->AreaGrid) << std::endl;
  return Finish(*engine);
}

}  // namespace

int CliPredict(const std::vector<std::string>& args) { return Run(args, false); }
int CliArea(const std::vector<std::string>& args) { return Run(args, true); }

}  // namespace vx::cli
