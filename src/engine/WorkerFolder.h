// Private data folders for runs of the outside program side by side. The
// program keeps fixed scratch names in its data folder, so two runs in one
// folder clash; each worker gets a folder of its own that looks like the
// user's: the read-only parts (coefficients, databases, antennas, the
// version file) are links into the user's folder, the folders the program
// writes into are private. Folders are made once and repaired on later use.
#pragma once

#include <string>
#include <vector>

namespace vx {

// The longest data folder path (trailing separator included) the program is
// known to accept.
inline constexpr size_t kMaxDataFolderPath = 52;

// Names in the data folder the program writes into; a worker's are its own.
bool IsPrivateDataEntry(const std::string& name);

// "<base>voa/<8 hex digits of the user's folder>/": one set of worker
// folders per user data folder, so that two installations never share one.
std::string WorkerFolderSet(const std::string& base, const std::string& userFolder);

// Worker k's folder in a set, with its trailing separator.
std::string WorkerFolder(const std::string& set, int k);

// The first base whose worker folders (count of them) keep within the path
// limit, as its folder set; "" when none does.
std::string ChooseWorkerFolderSet(const std::vector<std::string>& bases, const std::string& userFolder, int count);

// Beside the area cache, then the per-user runtime folder when there is one,
// then the user's private folder under tmp (PrivateTempBase).
std::vector<std::string> DefaultWorkerBases();

// tmp/vantor-<uid>/, made with mode 0700 and owned by the user: a short place
// for worker folders when the others are too long (cron, ssh, a long home
// path). "" when a folder by that name is not the user's own private one.
std::string PrivateTempBase(const std::string& tmp = "/tmp");

// Makes or repairs folder as a worker folder of userFolder (both with their
// trailing separators): every entry of the user's folder linked, but the
// private ones made as real folders (small files of the user's run folder
// copied in once); links to entries the user's folder no longer has go.
// False with a message naming what failed.
bool PrepareWorkerFolder(const std::string& userFolder, const std::string& folder, std::string& error);

}  // namespace vx
