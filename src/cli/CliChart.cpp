// vantor-cli chart: a point-to-point prediction drawn as the Chart tab draws
// it (without the time line), written as PNG and/or BMP.
#include <iostream>

#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "cli/CliImage.h"
#include "views/ChartDraw.h"

namespace vx::cli {

namespace {

constexpr char kUsage[] =
    "usage: vantor-cli chart [--home POS] --dx POS [--year Y] [--month M] [--ssn N]\n"
    "       (--png FILE | --bmp FILE)... [--best-hour] [--muf]\n"
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
  TArgs args(argv, {"long", "deck", "no-cache", "best-hour", "muf"});
  TJobOptions options;
  std::string error;
  const std::vector<std::string> extra = {"png", "bmp", "best-hour", "muf"};
  if (!ParseJobOptions(args, false, options, error, extra)) return Usage(error);
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
  if (!WriteImages(args, chart, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace vx::cli
