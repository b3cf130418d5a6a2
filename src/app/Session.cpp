#include "app/Session.h"

#include "app/Version.h"
#include "app/WindowModel.h"
#include "common/FileUtil.h"
#include "common/Ini.h"
#include "common/Paths.h"
#include "engine/Antennas.h"
#include "refdata/CallParser.h"

namespace vx {

TSessionSetup LoadSessionSetup() {
  TSessionSetup setup;
  setup.DataFolder = ShippedDataFolder();
  setup.ReferenceFolder = ReferenceFolder();
  setup.KestrixProgram = ProgramFolder() + "kestrix";
  setup.CacheFolder = AreaCacheFolder();
  setup.SettingsFile = SettingsFile(kVantorName);
  const TIniFile ini = TIniFile::Load(setup.SettingsFile);
  setup.Voacap = ReadVoacapSetup(ini);
  setup.Settings = ReadSettings(ini);
  return setup;
}

std::unique_ptr<TWindowModel> MakeSession(TSessionSetup setup, TSessionServices services) {
  auto engine = std::make_unique<TVoaEngine>(std::move(services.Runner), setup.Voacap);
  return std::make_unique<TWindowModel>(std::move(setup), std::move(services), std::move(engine));
}

void LoadCallLists(TCallParser& parser, const std::string& dataFolder) {
  // The reference folder's lists first; those shipped with the program
  // replace them when they load.
  parser.LoadDefaultFiles();
  parser.SetPrefixFile(dataFolder + "Prefix.lst");
  parser.SetCallFile(dataFolder + "Call.lst");
}

std::vector<std::string> LoadSunspotTable(const TSessionSetup& setup, TSolarIndices& solar) {
  // A downloaded table in the reference folder is newer than the one that
  // shipped; one that is missing or holds no month is passed over.
  std::string ssnFile = setup.ReferenceFolder.empty() ? std::string() : JoinPath(setup.ReferenceFolder, "SSN.dat");
  if (ssnFile.empty() || !solar.LoadSsnTable(ssnFile) || solar.Months().SsnList().empty()) {
    ssnFile = setup.DataFolder + "SSN.dat";
    solar.LoadSsnTable(ssnFile);
  }
  std::vector<std::string> warnings;
  if (auto refused = RefusedLinesMessage(ssnFile, solar.Months()); !refused.empty()) warnings.push_back(refused);
  return warnings;
}

TSessionStart OpenSession(const TSessionSetup& setup, TSessionParts parts) {
  TSessionStart start;
  parts.Engine.CheckInstallation();
  if (!setup.CacheFolder.empty()) MakeDirectories(setup.CacheFolder);
  LoadCallLists(parts.Parser, setup.DataFolder);
  start.Warnings = LoadSunspotTable(setup, parts.Solar);
  parts.Solar.StepMonth(TStepDirection::sdCurrent, parts.MapHour);
  parts.Engine.ImportAntennas(setup.DataFolder + "AntBkup/");
  start.Ready = parts.Engine.Status() == vsReady;
  return start;
}

TSessionStart OpenSession(TWindowModel& model) {
  const TSessionStart start =
      OpenSession(model.Setup(), {model.Engine(), model.Parser(), model.Solar, model.Map.MapHour});
  if (start.Ready) model.SelectAntennaEverywhere(kIsotropeFile);
  return start;
}

}  // namespace vx
