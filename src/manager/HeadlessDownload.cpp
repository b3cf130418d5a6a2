#include "manager/HeadlessDownload.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>

#include "manager/DLoader.h"

namespace vx {

std::string ProgressLine(long long received, long long total) {
  if (total <= 0) return std::to_string(received) + " bytes";
  const long long shown = received < total ? received : total;
  const int width = 30;
  const int filled = static_cast<int>(shown * width / total);
  return "[" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(width - filled), '-') +
         "] " + std::to_string(shown * 100 / total) + "%  " + std::to_string(received) + "/" + std::to_string(total) +
         " bytes";
}

int DownloadAndImport(TKestrixJob& job, const std::string& url, TJobUi& ui, int idleTimeoutMs) {
  if (const std::string missing = job.MissingInput(); !missing.empty()) {
    ui.Status(missing, TStatusColour::scRed);
    return 1;
  }
  TDownloader dl;
  dl.IdleTimeoutMs = idleTimeoutMs;
  QEventLoop loop;
  bool ok = false;
  size_t lastLength = 0;
  auto draw = [&](const std::string& line) {
    std::string padded = line;
    if (padded.size() < lastLength) padded.append(lastLength - padded.size(), ' ');
    lastLength = line.size();
    std::fprintf(stderr, "\r%s", padded.c_str());
    std::fflush(stderr);
  };
  dl.OnData = [&](TDownloader& d) { draw(ProgressLine(d.File().BytesReceived, d.File().ContentLength)); };
  dl.OnSuccess = [&](TDownloader&) {
    ok = true;
    loop.quit();
  };
  dl.OnError = [&](TDownloader&) { loop.quit(); };
  ui.Status("Downloading " + url);
  dl.Download(url);
  if (dl.Busy()) loop.exec();
  if (lastLength) std::fprintf(stderr, "\n");
  if (!ok) {
    ui.Status("Download failed: " + dl.File().ResultText, TStatusColour::scRed);
    return 1;
  }
  job.ImportDownloaded(dl.File().Data);
  return job.ExitCode();
}

}  // namespace vx
