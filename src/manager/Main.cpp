// kestrix: converts one downloaded reference-data source into the files of
// the reference folder. Started with the source index (0..6); the exit code
// is 0 only when the job is done.
//
//   kestrix N                               the download window
//   kestrix --headless N                    download and import, no window
//   kestrix --headless --from-file PATH N   import PATH as source N
//   kestrix --headless --reprocess 2        rebuild the FCC index in place
//   kestrix --help                          this usage and the seven sources
//
// Headless runs print the status texts to standard error and the count
// messages to standard output.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "common/UserFile.h"
#include "manager/Job.h"
#include "manager/ShippedLists.h"
#include "manager/Sources.h"
#include "manager/Staging.h"
#include "manager/UrlSettings.h"

#ifdef KESTRIX_WITH_QT
#include <QApplication>
#include <QCoreApplication>

#include "manager/HeadlessDownload.h"
#include "manager/MainForm.h"
#endif

namespace {

// Status lines on standard error; a failure (a red status, an error box)
// as one "Error:" line; count messages on standard output.
class THeadlessUi : public vx::TJobUi {
 public:
  void Status(std::string_view text, vx::TStatusColour colour) override {
    if (colour == vx::TStatusColour::scRed) {
      Error(text);
      LastError_ = text;
    } else {
      std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
  }
  void Information(std::string_view text) override {
    std::fprintf(stdout, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
  }
  void Error(std::string_view text) override {
    if (text != LastError_) std::fprintf(stderr, "Error: %.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  std::string LastError_;
};

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "usage: kestrix N                               (N = source 0..6)\n"
               "       kestrix --headless N\n"
               "       kestrix --headless --from-file PATH N\n"
               "       kestrix --headless --reprocess 2\n"
               "       kestrix --help\n"
               "sources:\n");
  for (int i = 0; i < vx::kSourceCount; ++i) std::fprintf(to, "  %d  %s\n", i, vx::SourceInfo(i).Name);
}

int Usage() {
  PrintUsage(stderr);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  vx::IgnoreBrokenPipes();
  vx::RemoveStagedFilesOnSignals();
  bool headless = false, reprocess = false;
  std::string fromFile;
  std::vector<std::string_view> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h") {
      PrintUsage(stdout);
      return 0;
    }
    if (a == "--headless") {
      headless = true;
    } else if (a == "--reprocess") {
      reprocess = true;
    } else if (a == "--from-file" && i + 1 < argc) {
      fromFile = argv[++i];
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return Usage();
    } else {
      positional.push_back(a);
    }
  }
  // Exactly one source index and nothing else: anything more is refused
  // before any file is touched.
  if (positional.size() != 1) return Usage();
  const auto source = vx::ParseSourceIndex(positional[0]);
  if (!source) return Usage();
  if (reprocess && !fromFile.empty()) return Usage();
  if (reprocess && *source != vx::srFcc) return Usage();
  if (!headless && (reprocess || !fromFile.empty())) return Usage();

  vx::CreateProgramFolders(vx::TProgram::pgKestrix);
  // A fresh installation has the lists beside the program, not yet in the
  // reference folder where the job reads them.
  vx::ProvideShippedLists(*source, vx::ShippedDataFolder(), vx::ReferenceFolder());

#ifdef KESTRIX_WITH_QT
  // The application object only once the command line is known to be good:
  // a refused start needs no display.
  std::unique_ptr<QCoreApplication> app;
  if (!headless) {
    app = std::make_unique<QApplication>(argc, argv);
    vx::TMainForm form(*source, vx::SettingsFile("Kestrix"), vx::ReferenceFolder());
    form.Load();
    form.show();
    app->exec();
    return form.ExitCode();
  }
  if (!reprocess && fromFile.empty()) app = std::make_unique<QCoreApplication>(argc, argv);
#else
  if (!headless || (!reprocess && fromFile.empty())) {
    std::fprintf(stderr, "kestrix: this build has no network support; use --headless --from-file\n");
    return 1;
  }
#endif

  THeadlessUi ui;
  vx::TKestrixJob job(*source, vx::ReferenceFolder(), ui);
  job.LoadLookupLists();
  if (reprocess) {
    job.Reprocess();
  } else if (fromFile.empty()) {
#ifdef KESTRIX_WITH_QT
    vx::TUrlSettings urls;
    urls.Read(vx::TIniFile::Load(vx::SettingsFile("Kestrix")));
    return vx::DownloadAndImport(job, urls.Urls[static_cast<size_t>(*source)], ui);
#endif
  } else {
    // The largest download, the US licence database, is about 200 MB.
    constexpr size_t kMaxDownloadBytes = size_t(1) << 30;
    const auto body = vx::ReadWholeFile(fromFile, kMaxDownloadBytes);
    if (!body) {
      ui.Error("Cannot read file \"" + fromFile + "\"");
      return 1;
    }
    job.ImportDownloaded(*body);
  }
  return job.ExitCode();
}
