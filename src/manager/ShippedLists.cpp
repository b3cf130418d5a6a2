#include "manager/ShippedLists.h"

#include <filesystem>
#include <system_error>

#include "common/FileUtil.h"
#include "manager/Sources.h"

namespace vx {

std::vector<std::string> ShippedListsOf(int source) {
  if (source == srFcc) return {"ZipLst.lst"};
  // The forecast is merged into the table, which starts as the shipped one.
  if (source == srSsnForecast) return {"SSN.dat"};
  return {};
}

std::vector<std::string> ProvideShippedLists(int source, const std::string& shippedFolder,
                                             const std::string& referenceFolder) {
  std::vector<std::string> copied;
  for (const std::string& name : ShippedListsOf(source)) {
    const std::string target = JoinPath(referenceFolder, name);
    // Anything by that name, a link too (even a broken one), is the user's.
    // A path that cannot be examined is left alone as well.
    std::error_code ec;
    if (std::filesystem::symlink_status(target, ec).type() != std::filesystem::file_type::not_found) continue;
    constexpr size_t kMaxShippedListBytes = size_t(64) << 20;
    const auto bytes = ReadWholeFile(JoinPath(shippedFolder, name), kMaxShippedListBytes);
    if (bytes && WriteFileAtomic(target, *bytes)) copied.push_back(name);
  }
  return copied;
}

}  // namespace vx
