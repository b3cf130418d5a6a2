// vantor-cli chart: a point-to-point prediction drawn as the Chart tab draws
// it (without the time line), written as PNG and/or BMP.
#include <iostream>

#include "app/PictureTitle.h"
#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "cli/CliImage.h"
#include "views/ChartDraw.h"

namespace vx::cli {

namespace {

constexpr char kUsage[] =
    "usage: vantor-cli chart [--home POS] --dx POS [--year Y] [--month M] [--ssn N]\n"
    "       (--png FILE | --bmp FILE)... [--best-hour] [--muf] [--decorate] [--scale 1-8]\n"
    "       [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
    "       [--engine auto|builtin|voacapl] [--voacap PROGRAM] [--itshfbc DIR]\n";

int Usage(const std::string& error) {
  std::cerr << "vantor-cli chart: " << error << "\n" << kUsage;
  return 2;
}

}  // namespace

int CliChart(const std::vector<std::string>& argv) {
  if (HelpRequested(argv)) {
    std::cout << kUsage;
    return 0;
  }
  TArgs args(argv, {"long", "deck", "no-cache", "best-hour", "muf", kDecorateFlag});
  TJobOptions options;
  std::string error;
  std::vector<std::string> extra = {"best-hour", "muf"};
  extra.insert(extra.end(), PictureOptionNames().begin(), PictureOptionNames().end());
  if (!ParseJobOptions(args, false, options, error, extra)) return Usage(error);
  int scale = 1;
  if (!ParsePictureScale(args, scale, error)) return Usage(error);
  if (options.DeckOnly) return Usage("--deck is an option of predict");
  if (!WantsImage(args)) return Usage("--png FILE or --bmp FILE is required");

  auto session = OpenJobSession(options, std::string(), error);
  if (!session) {
    std::cerr << error << "\n";
    return 1;
  }
  RunToEnd(*session, false);
  const TVoaEngine& engine = session->Engine();
  if (engine.Status() != vsReady) {
    std::cerr << engine.StatusText() << "\n";
    if (!engine.FailureDetail().empty()) std::cerr << engine.FailureDetail() << "\n";
    return 1;
  }
  TRgbImage chart;
  PaintChart(engine.PointResults(), TChartOptions{args.Flag("best-hour"), args.Flag("muf")}, chart);
  const TVoaInputs& in = options.Inputs;
  TPictureFacts facts;
  facts.Home = TLocation{in.TxLon, in.TxLat};
  facts.Dx = TLocation{in.RxLon, in.RxLat};
  facts.LongPath = in.LongPath;
  facts.Year = in.Year, facts.Month = in.Month, facts.Ssn = in.Ssn;
  facts.Engine = engine.EngineName();
  if (!WriteImages(args, ChartPicture(args, scale, chart, PictureTitle(facts)), error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace vx::cli
