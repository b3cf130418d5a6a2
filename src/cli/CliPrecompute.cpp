// vantor-cli precompute: fills the area cache for many hours and bands at
// once, on one worker per core, and reports the counts as JSON.
#include <QElapsedTimer>
#include <QEventLoop>

#include <unistd.h>

#include <iostream>
#include <set>

#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "cli/Json.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/AreaBatch.h"
#include "engine/Process.h"
#include "engine/WorkerPool.h"
#include "views/PreComp.h"

namespace vx::cli {

namespace {

const char* kUsage =
    "usage: vantor-cli precompute [--home POS] [--month M] [--ssn N] [--year Y] [--grid 16|31|61]\n"
    "       [--bands LIST] [--hours LIST] [--power W] [--long] [--tx-antenna FILE] [--rx-antenna FILE]\n"
    "       [--jobs N] [--engine auto|builtin|voacapl] [--voacap PROGRAM] [--itshfbc DIR]\n"
    "  LIST: numbers and ranges, such as 0-7 or 3,5 or 0-5,12 (bands 0-7, hours 0-23)\n";

int Usage(const std::string& error) {
  std::cerr << "vantor-cli precompute: " << error << "\n" << kUsage;
  return 2;
}

// "0-3,12,20-23" in ascending order without repeats; false with a message.
bool ParseList(const std::string& option, const std::string& text, int lo, int hi, std::vector<int>& out,
               std::string& error) {
  std::set<int> values;
  std::string_view rest = text;
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view item = Trim(rest.substr(0, comma));
    const size_t dash = item.find('-', 1);
    auto first = ParseInt(Trim(item.substr(0, dash)));
    auto last = dash == std::string_view::npos ? first : ParseInt(Trim(item.substr(dash + 1)));
    if (!first || !last || *first < lo || *last > hi || *first > *last) {
      error = "--" + option + ": '" + std::string(item) + "' is not a number or range from " + std::to_string(lo) +
              " to " + std::to_string(hi);
      return false;
    }
    for (auto v = *first; v <= *last; ++v) values.insert(int(v));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  out.assign(values.begin(), values.end());
  return true;
}

// A bar redrawn in place on a terminal; on anything else a line for every
// tenth of the work, so that logs stay readable.
class TProgressBar {
 public:
  explicit TProgressBar(int total) : Total_(total), Terminal_(::isatty(2) != 0) {}
  void Show(int done) {
    if (Total_ <= 0) return;
    const int tenth = done * 10 / Total_;
    if (Terminal_) {
      constexpr int kWidth = 40;
      const int filled = done * kWidth / Total_;
      std::cerr << "\r[" << std::string(size_t(filled), '#') << std::string(size_t(kWidth - filled), '.') << "] "
                << done << "/" << Total_ << " maps" << std::flush;
    } else if (tenth != LastTenth_) {
      std::cerr << done << "/" << Total_ << " maps\n" << std::flush;
    }
    LastTenth_ = tenth;
  }
  void End() {
    if (Terminal_ && Total_ > 0) std::cerr << "\n" << std::flush;
  }

 private:
  int Total_;
  bool Terminal_;
  int LastTenth_ = -1;
};

std::string CountsJson(const TAreaBatch& batch, int jobs, double seconds, const char* engine) {
  return "{\"computed\": " + std::to_string(batch.Computed()) + ", \"cached\": " + std::to_string(batch.Cached()) +
         ", \"failed\": " + std::to_string(batch.Failed()) + ", \"jobs\": " + std::to_string(jobs) +
         ", \"seconds\": " + FormatFixed(seconds, 0, 2) + ", \"engine\": " + JsonString(engine) + "}";
}

}  // namespace

int CliPrecompute(const std::vector<std::string>& argv) {
  if (HelpRequested(argv)) {
    std::cout << kUsage;
    return 0;
  }
  TArgs args(argv, {"long"});
  TJobOptions options;
  std::string error;
  if (!ParseJobOptions(args, TJobKind::Batch, options, error, {"bands", "hours", "jobs"})) return Usage(error);
  std::vector<int> hours, bands;
  if (!ParseList("hours", args.Value("hours").value_or("0-23"), 0, 23, hours, error) ||
      !ParseList("bands", args.Value("bands").value_or("0-7"), 0, kBandCount - 1, bands, error))
    return Usage(error);
  TWorkerPoolSetup poolSetup;
  if (auto jobs = args.Value("jobs")) {
    auto n = ParseInt(Trim(*jobs));
    if (!n || *n < 1 || *n > kMaxWorkers)
      return Usage("--jobs must be a whole number from 1 to " + std::to_string(kMaxWorkers));
    poolSetup.Workers = int(*n);
  }

  const std::string cache = AreaCacheFolder();
  auto session = OpenJobSession(options, cache, error);
  if (!session) {
    std::cerr << error << "\n";
    return 1;
  }
  // The inputs exactly as a map request would key them, so that
  // `vantor-cli area` finds what this fills.
  session->Controller().SyncEngineInputs();
  const TVoaInputs base = session->Engine().Inputs();
  TVoaWorkerPool pool(MakeProcessRunner, poolSetup);
  if (!pool.Prepare(session->Engine(), error)) {
    std::cerr << error << "\n";
    return 1;
  }
  if (pool.Size() < pool.Wanted())
    std::cerr << "vantor-cli precompute: " << pool.Size() << " worker" << (pool.Size() == 1 ? "" : "s")
              << " instead of " << pool.Wanted()
              << ": no short private folder for parallel runs was found, so the maps are computed "
              << "one at a time in " << session->Engine().VoacapFolder() << "\n";

  const std::vector<uint32_t> jobs = BuildJobList(hours, bands, base.LongPath);
  TAreaBatch batch(pool, cache);
  TProgressBar bar(int(jobs.size()));
  QEventLoop loop;
  batch.OnJobDone = [&](int, TJobOutcome) { bar.Show(batch.Finished()); };
  batch.OnFinished = [&] { loop.quit(); };
  OnStopSignal(loop, [&] {
    batch.Cancel();  // every child killed and waited for
    bar.End();
    std::cerr << "Interrupted: " << batch.Computed() << " maps computed and stored.\n";
  });
  QElapsedTimer clock;
  clock.start();
  bar.Show(0);
  if (batch.Start(base, AreaJobsOf(jobs), TAreaBatch::fpContinue)) loop.exec();
  bar.End();
  const double seconds = double(clock.nsecsElapsed()) / 1e9;
  std::cout << CountsJson(batch, int(jobs.size()), seconds, session->Engine().EngineName()) << std::endl;
  if (batch.Failed() == 0) return 0;
  std::cerr << batch.Failed() << " of " << jobs.size() << " maps failed; the first: "
            << (batch.FailureStatus() != vsReady ? StatusMessage(batch.FailureStatus()) : "") << "\n";
  if (!batch.FailureDetail().empty()) std::cerr << batch.FailureDetail() << "\n";
  return 1;
}

}  // namespace vx::cli
