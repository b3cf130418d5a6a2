#include "cli/CliEngine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "app/MonthSelector.h"
#include "app/PositionLookup.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "common/DayCount.h"
#include "common/Ini.h"
#include "common/Location.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "engine/Process.h"
#include "refdata/CallParser.h"

namespace vx::cli {

const std::vector<std::string>& CommonOptionNames() {
  static const std::vector<std::string> names = {"home", "dx",         "year",       "month",  "ssn",     "power",
                                                 "long", "tx-antenna", "rx-antenna", "voacap", "engine",  "itshfbc",
                                                 "deck", "band",       "hour",       "grid",   "no-cache"};
  return names;
}

bool ParsePoint(const std::string& option, const std::string& text, int32_t& lat, int32_t& lon, std::string& error) {
  TPositionText read = ParsePositionText(text);
  // The call lists are loaded only for a text that needs them.
  if (!read.Ok() && read.Form != TPositionForm::pfDegrees) {
    TCallParser parser(TCallParserVariant::pvMain);
    LoadCallLists(parser, ShippedDataFolder());
    read = LookUpPosition(text, parser, ReferenceFolder());
  }
  if (!read.Ok()) {
    error = "--" + option + ": " + read.Error + " (a locator such as FN31pr, a call sign, or LAT,LON in decimal " +
            "degrees, north and east positive)";
    return false;
  }
  lat = read.Point.Y;
  lon = read.Point.X;
  return true;
}

namespace {

bool IntOption(const TArgs& args, const char* name, long long lo, long long hi, bool required, int32_t& out,
               std::string& error) {
  auto v = args.Value(name);
  if (!v) {
    if (required) error = std::string("missing --") + name;
    return !required;
  }
  auto n = ParseInt(Trim(*v));
  if (!n || *n < lo || *n > hi) {
    error =
        std::string("--") + name + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    return false;
  }
  out = static_cast<int32_t>(*n);
  return true;
}

}  // namespace

// The month from the options, else the UTC clock's; the SSN from the
// options, else the shipped table's for that month.
static bool ReadMonthAndSsn(const TArgs& args, TVoaInputs& in, TInputSources& from, std::string& error) {
  const TCivilTime now = DecodeDayCount(UtcNow());
  in.Year = now.Year;
  in.Month = now.Month;
  if (!IntOption(args, "year", 1900, 2200, false, in.Year, error) ||
      !IntOption(args, "month", 1, 12, false, in.Month, error) || !IntOption(args, "ssn", 0, 999, false, in.Ssn, error))
    return false;
  from.Year = args.Value("year") ? "option" : "clock";
  from.Month = args.Value("month") ? "option" : "clock";
  if (args.Value("ssn")) {
    from.Ssn = "option";
    return true;
  }
  const std::string table = ShippedDataFolder() + "SSN.dat";
  TMonthSelector months;
  if (!months.LoadSsnList(table)) {
    error = "--ssn is required: cannot read " + table;
    return false;
  }
  if (!months.SelectMonth(in.Year, in.Month)) {
    error = "--ssn is required: " + table + " has no sunspot number for " + MonthName(in.Year, in.Month);
    return false;
  }
  in.Ssn = months.MonthSsn();
  from.Ssn = "SSN.dat";
  return true;
}

// One side's antennas: the option's file on every band, else the settings
// file's when it lists them, else the isotropic antenna.
static void ChooseAntennas(const std::optional<std::string>& option, bool inSettings,
                           const std::array<std::string, kBandCount>& settings,
                           std::array<std::string, kBandCount>& out, std::string& from) {
  if (option) {
    out.fill(*option);
    from = "option";
  } else if (inSettings) {
    out = settings;
    from = "settings";
  } else {
    from = "default";
  }
}

// The common options that mean nothing to a batch, which names its maps by
// lists and never runs a single deck.
static bool OnlyForOneJob(const std::string& name) {
  return name == "dx" || name == "band" || name == "hour" || name == "deck" || name == "no-cache";
}

bool ParseJobOptions(const TArgs& args, TJobKind kind, TJobOptions& out, std::string& error,
                     const std::vector<std::string>& extraNames) {
  if (!args.Error().empty()) {
    error = args.Error();
    return false;
  }
  const bool area = kind != TJobKind::Point;
  const bool batch = kind == TJobKind::Batch;
  std::vector<std::string> known;
  for (const auto& name : CommonOptionNames())
    if (!batch || !OnlyForOneJob(name)) known.push_back(name);
  known.insert(known.end(), extraNames.begin(), extraNames.end());
  auto unknown = args.Unknown(known);
  if (!unknown.empty() || !args.Positional().empty()) {
    error = "unknown argument " + (unknown.empty() ? args.Positional()[0] : unknown[0]);
    return false;
  }
  TVoaInputs& in = out.Inputs;
  TInputSources& from = out.From;
  // The settings file names the installation and the user's station unless
  // the command line does.
  const std::string settingsFile = SettingsFile("Vantor");
  const TIniFile ini = TIniFile::Load(settingsFile);
  const TVantorSettings settings = ReadSettings(ini);
  if (auto home = args.Value("home")) {
    if (!ParsePoint("home", *home, in.TxLat, in.TxLon, error)) return false;
    from.Home = "option";
    from.HomeText = *home;
  } else if (HasStoredHome(ini)) {
    in.TxLon = settings.Home.X;
    in.TxLat = settings.Home.Y;
    from.Home = "settings";
  } else {
    error = "--home is required: " + settingsFile +
            " names no home (give --home LOCATOR|CALL|LAT,LON, or put Locator=FN31pr under [User] there)";
    return false;
  }
  if (area && args.Value("dx")) {
    error = "--dx has no effect on a map (use --path DX to draw the path)";
    return false;
  }
  if (!area) {
    auto dx = args.Value("dx");
    if (!dx) {
      error = "--dx is required: a locator (FN31pr), a call sign or LAT,LON (decimal degrees, north and east positive)";
      return false;
    }
    if (!ParsePoint("dx", *dx, in.RxLat, in.RxLon, error)) return false;
    from.Dx = "option";
    from.DxText = *dx;
  }
  if (!ReadMonthAndSsn(args, in, from, error)) return false;
  in.TxPower = settings.TxPower;
  from.Power = ini.ValueExists("User", "TxPower") ? "settings" : "default";
  if (!IntOption(args, "power", 1, 10000000, false, in.TxPower, error)) return false;
  if (args.Value("power")) from.Power = "option";
  if (area) {
    if (batch) in.GridSize = 16;
    if ((!batch && (!IntOption(args, "band", 0, 7, true, in.Band, error) ||
                    !IntOption(args, "hour", 0, 23, true, in.Hour, error))) ||
        !IntOption(args, "grid", 16, 61, !batch, in.GridSize, error))
      return false;
    if (in.GridSize != 16 && in.GridSize != 31 && in.GridSize != 61) {
      error = "--grid must be 16, 31 or 61";
      return false;
    }
  }
  in.LongPath = args.Flag("long");
  ChooseAntennas(args.Value("tx-antenna"), ini.SectionExists("TX Antennas"), settings.TxAntenna, out.TxAntennas,
                 from.TxAntennas);
  ChooseAntennas(args.Value("rx-antenna"), ini.SectionExists("RX Antennas"), settings.RxAntenna, out.RxAntennas,
                 from.RxAntennas);
  out.DeckOnly = args.Flag("deck");
  out.NoCache = args.Flag("no-cache");
  out.Setup = ReadVoacapSetup(ini);
  return ApplyEngineOptions(args, out.Setup, error);
}

bool ApplyEngineOptions(const TArgs& args, TVoacapSetup& setup, std::string& error) {
  if (auto v = args.Value("voacap")) setup.Program = *v;
  if (auto v = args.Value("itshfbc")) setup.DataFolder = *v;
  if (auto v = args.Value("engine"); v && !ParseEngineChoice(*v, setup.Engine)) {
    error = "--engine must be auto, builtin or voacapl";
    return false;
  }
  return true;
}

TAlStringList AntennaListOf(const TJobOptions& options, TVoaInputs& inputs) {
  TAlStringList list;
  for (const auto* side : {&options.TxAntennas, &options.RxAntennas})
    for (const std::string& name : *side)
      if (list.IndexOf(name) < 0) list.Add(name);
  for (int b = 0; b < kBandCount; ++b) {
    inputs.TxAntenna[b] = list.IndexOf(options.TxAntennas[b]);
    inputs.RxAntenna[b] = list.IndexOf(options.RxAntennas[b]);
  }
  return list;
}

std::unique_ptr<TCliSession> OpenJobSession(const TJobOptions& options, const std::string& cacheFolder,
                                            std::string& error) {
  TSessionSetup setup;
  setup.DataFolder = ShippedDataFolder();
  setup.CacheFolder = cacheFolder;
  setup.Voacap = options.Setup;
  TSessionServices services;
  services.Runner = std::make_unique<TProcess>();
  auto session = std::make_unique<TCliSession>();
  session->Model = MakeSession(std::move(setup), std::move(services));
  TVoaEngine* engine = &session->Model->Engine();
  engine->CheckInstallation();
  if (engine->Status() != vsReady) {
    auto box = engine->StatusMessageBox();
    error = engine->StatusText();
    if (!box.Detail.empty()) error += "\n" + box.Detail;
    return nullptr;
  }
  // Antennas the window chose are among those it brings in at start-up.
  if (options.From.TxAntennas == "settings" || options.From.RxAntennas == "settings") {
    engine->ImportAntennas(ShippedDataFolder() + "AntBkup/");
    if (engine->Status() != vsReady) {
      error = engine->StatusText();
      return nullptr;
    }
  }
  // A file named on the command line must be there; one the settings file
  // names falls back to the first of the list, as in the window.
  const TAlStringList& files = engine->AntennaFiles();
  TPredictionInputs& p = session->Model->Inputs;
  for (int b = 0; b < kBandCount; ++b)
    for (bool tx : {true, false}) {
      const std::string& name = (tx ? options.TxAntennas : options.RxAntennas)[b];
      if (files.IndexOf(name) < 0 && (tx ? options.From.TxAntennas : options.From.RxAntennas) != "settings") {
        error = "antenna file " + name + " not found in " + engine->AntennaFolder();
        return nullptr;
      }
      (tx ? p.TxAntenna : p.RxAntenna)[b] = AntennaFileAt(files, SelectAntenna(files, name));
    }
  const TVoaInputs& in = options.Inputs;
  p.Home = TLocation{in.TxLon, in.TxLat};
  // The exact position (a frame would hold whole degrees).
  p.Dx = TLocation{in.RxLon, in.RxLat};
  session->Model->Dx = FormatCoordinates(p.Dx);
  // A DX given as a call is the call box's: its country and clock name the
  // path's far end, as in the window.
  const TPositionText typed = ParsePositionText(options.From.DxText);
  if (!options.From.DxText.empty() && !typed.Ok() && typed.Form != TPositionForm::pfDegrees) {
    LoadCallLists(session->Model->Parser(), ShippedDataFolder());
    session->Model->Parser().Parse(Trim(options.From.DxText));
    session->Model->Call = std::string(Trim(options.From.DxText));
  }
  p.LongPath = in.LongPath;
  p.Year = in.Year;
  p.Month = in.Month;
  p.Ssn = in.Ssn;
  p.UseKp = false;
  p.TxPower = in.TxPower;
  p.GridSize = in.GridSize;
  session->Model->Map.MapBand = in.Band;
  session->Model->Map.MapHour = in.Hour;
  return session;
}

namespace {

// SIGINT and SIGTERM end the child first: it would otherwise go on writing
// into the data folder beside the next run. The handler only writes the
// signal's number into a pipe; the event loop does the rest.
int gStopPipe[2] = {-1, -1};

void StopSignalArrived(int sig) {
  const unsigned char b = static_cast<unsigned char>(sig);
  [[maybe_unused]] auto n = ::write(gStopPipe[1], &b, 1);
}

}  // namespace

void OnStopSignal(QObject& context, std::function<void()> fn) {
  if (gStopPipe[0] < 0) {
    if (::pipe2(gStopPipe, O_CLOEXEC) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = StopSignalArrived;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
  }
  auto* notifier = new QSocketNotifier(gStopPipe[0], QSocketNotifier::Read, &context);
  QObject::connect(notifier, &QSocketNotifier::activated, &context, [fn = std::move(fn)] {
    unsigned char sig = 0;
    [[maybe_unused]] auto n = ::read(gStopPipe[0], &sig, 1);
    fn();
    std::fflush(nullptr);
    ::_exit(128 + sig);
  });
}

int PrintVersion(const std::vector<std::string>& argv) {
  TArgs args(argv, {});
  std::string error;
  TVoacapSetup setup = ReadVoacapSetup(TIniFile::Load(SettingsFile("Vantor")));
  if (!args.Error().empty() || !args.Unknown({"engine", "voacap", "itshfbc"}).empty() || !args.Positional().empty() ||
      !ApplyEngineOptions(args, setup, error)) {
    std::cerr << "vantor-cli --version: " << (error.empty() ? "takes only --engine, --voacap and --itshfbc" : error)
              << "\n";
    return 2;
  }
  std::cout << "vantor-cli " << kVantorVersion << "\n";
  TVoaEngine engine(nullptr, setup);
  engine.CheckInstallation();
  std::cout << "engine: ";
  if (engine.Status() != vsReady)
    std::cout << "none (" << engine.StatusText() << ")";
  else if (engine.Builtin())
    std::cout << engine.EngineName() << " (in this program)";
  else
    std::cout << engine.EngineName() << " (" << engine.VoacapProgram() << ")";
  std::cout << ", choice " << EngineChoiceName(setup.Engine) << std::endl;
  return engine.Status() == vsReady ? 0 : 1;
}

bool HelpRequested(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

void RunToEnd(TCliSession& session, bool area) {
  QEventLoop loop;
  TPredictionController& ctl = session.Controller();
  OnStopSignal(loop, [&ctl] { ctl.CancelPrediction(); });  // kills the child and waits for it
  ctl.Engine().OnWaiting = [](TVoaEngine& e) {
    std::cerr << "Waiting for another VOACAP run in " << e.VoacapFolder() << " to finish..." << std::endl;
  };
  // The events the controller queues have no clients here; the loop ends
  // when the indicator stops spinning.
  session.Model->OnStatusChanged = [&] {
    if (ctl.Status().State != stComputing) loop.quit();
  };
  area ? ctl.ComputeMap() : ctl.ComputeChart();
  if (ctl.Status().State == stComputing) loop.exec();
  session.Model->OnStatusChanged = nullptr;
  ctl.TakeClientEvents();
}

}  // namespace vx::cli
