#include "engine/ModelFiles.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "model/Deck.h"

namespace vx {

namespace fs = std::filesystem;

std::string FindModelData() {
  for (std::string folder : {ShippedDataFolder(), ProgramFolder()}) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::string path = folder + model::kModelDataFileName;
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) return path;
  }
  return {};
}

std::shared_ptr<const model::TModelData> SharedModelData(const std::string& path, std::string& error) {
  static std::mutex guard;
  static std::map<std::string, std::shared_ptr<const model::TModelData>> loaded;
  std::lock_guard<std::mutex> lock(guard);
  auto& data = loaded[path];
  if (!data) {
    model::TModelDataLoad load = model::LoadModelData(path);
    if (!load.Data) {
      error = load.Error;
      return nullptr;
    }
    data = std::move(load.Data);
  }
  return data;
}

std::optional<std::pair<float, float>> ReadMagneticPole(const std::string& folder, bool databaseToo) {
  constexpr size_t kMaxPoleFileBytes = 1 << 16;
  for (const char* name : {"run/north_pole.txt", "database/north_pole.txt"}) {
    if (std::string_view(name).starts_with("database") && !databaseToo) break;
    const auto text = ReadWholeFile(folder + name, kMaxPoleFileBytes);
    if (!text) continue;
    if (auto pole = model::ParseMagneticPole(*text)) return pole;
  }
  return std::nullopt;
}

}  // namespace vx
