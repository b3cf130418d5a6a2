// Lookup lists that ship with the programs and that a job reads from the
// reference folder ("ZipLst.lst" for the FCC callbook, "SSN.dat" that the sunspot forecast
// is merged into). A fresh installation
// has none there, so they are copied in from the shipped data before the job
// runs.
#pragma once

#include <string>
#include <vector>

namespace vx {

// The shipped lists the job of a source reads from the reference folder.
std::vector<std::string> ShippedListsOf(int source);

// Copies each of the source's shipped lists into the reference folder when
// nothing by that name is there yet; a list the user placed there (edited or
// older) is kept. The copy appears whole or not at all. A list that cannot
// be read or written is skipped: the job then reports it missing. Returns
// the names copied.
std::vector<std::string> ProvideShippedLists(int source, const std::string& shippedFolder,
                                             const std::string& referenceFolder);

}  // namespace vx
