// kestrix --headless N: downloads the source's address with a text progress
// bar on standard error, then runs the job on the body.
#pragma once

#include <string>

#include "manager/Job.h"

namespace vx {

// Returns the job's exit code (0 only when it reached "DONE").
int DownloadAndImport(TKestrixJob& job, const std::string& url, TJobUi& ui);

// "[#####-----]  50%  1234/2468 bytes" (or the byte count alone when the
// length is unknown), for a terminal line rewritten in place.
std::string ProgressLine(long long received, long long total);

}  // namespace vx
