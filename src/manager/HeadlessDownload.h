// kestrix --headless N: downloads the source's address with a text progress
// bar on standard error, then runs the job on the body.
#pragma once

#include <string>

#include "manager/DLoader.h"
#include "manager/Job.h"

namespace vx {

// Returns the job's exit code (0 only when it reached "DONE"). Fails at
// once, without a request, when the import could not use the download (a
// list it needs is missing from the reference folder).
int DownloadAndImport(TKestrixJob& job, const std::string& url, TJobUi& ui,
                      int idleTimeoutMs = TDownloader::kDefaultIdleTimeoutMs);

// "[#####-----]  50%  1234/2468 bytes" (or the byte count alone when the
// length is unknown), for a terminal line rewritten in place.
std::string ProgressLine(long long received, long long total);

}  // namespace vx
