// kestrix: converts one downloaded reference-data source into the files of
// the reference folder. Started with the source index (0..5); the exit code
// is 0 only when the job is done.
//
//   kestrix --headless --from-file PATH N   import PATH as source N
//   kestrix --headless --reprocess 2        rebuild the FCC index in place
//   kestrix N                               the download window (not yet built)
//
// Headless runs print the status texts to standard error and the count
// messages to standard output.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/Paths.h"
#include "common/FileUtil.h"
#include "manager/Job.h"
#include "manager/Sources.h"

namespace {

class THeadlessUi : public vx::TJobUi {
 public:
  void Status(std::string_view text, vx::TStatusColour) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  void Information(std::string_view text) override {
    std::fprintf(stdout, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
  }
  void Error(std::string_view text) override {
    std::fprintf(stderr, "Error: %.*s\n", static_cast<int>(text.size()), text.data());
  }
};

int Usage() {
  std::fprintf(stderr,
               "usage: kestrix --headless --from-file PATH N   (N = source 0..5)\n"
               "       kestrix --headless --reprocess 2\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool headless = false, reprocess = false;
  std::string fromFile;
  std::vector<std::string_view> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
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
  if (!headless) {
    std::fprintf(stderr, "kestrix: the download window is not available in this build; use\n"
                         "  kestrix --headless --from-file PATH %d\n", *source);
    return 1;
  }
  if (reprocess == !fromFile.empty()) return Usage();  // one of the two
  if (reprocess && *source != vx::srFcc) return Usage();

  THeadlessUi ui;
  vx::TKestrixJob job(*source, vx::ReferenceFolder(), ui);
  job.LoadLookupLists();
  if (reprocess) {
    job.Reprocess();
  } else {
    const auto body = vx::ReadWholeFile(fromFile);
    if (!body) {
      ui.Error("Cannot read file \"" + fromFile + "\"");
      return 1;
    }
    job.ImportDownloaded(*body);
  }
  return job.ExitCode();
}
