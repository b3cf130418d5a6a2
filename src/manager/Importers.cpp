#include "manager/Importers.h"

#include <stdexcept>

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "manager/CbIndex.h"
#include "manager/IotaKml.h"
#include "manager/SpecialCalls.h"
#include "manager/Sources.h"
#include "manager/Staging.h"
#include "refdata/AlStrLst.h"

namespace vx {

namespace {

// Member 0 of a single-member archive (IOTA, special calls, RDA).
std::string ExtractFirstMember(TImportContext& ctx) {
  TUnZipper& z = *ctx.Unzipper;
  z.Open(ctx.Body);
  if (z.Count() == 0) {
    z.Close();
    throw EZipError("The downloaded file is not a ZIP archive or holds no file");
  }
  std::string text;
  try {
    text = z.Extract(0);
  } catch (...) {
    z.Close();
    throw;
  }
  z.Close();
  return text;
}

std::string Target(const TImportContext& ctx, const std::string& name) { return JoinPath(ctx.Folder, name); }

}  // namespace

std::string ExtractMemberToFile(TImportContext& ctx, TFileStager& stager, std::string_view memberName,
                                const std::string& targetName) {
  ctx.Ui->Status("Unzipping...");
  TUnZipper& z = *ctx.Unzipper;
  z.Open(ctx.Body);
  const int i = z.IndexOfName(memberName);
  if (i < 0) {
    z.Close();
    throw EZipError("The downloaded file holds no \"" + std::string(memberName) + "\"");
  }
  std::string bytes;
  try {
    bytes = z.Extract(i);
  } catch (...) {
    z.Close();
    throw;
  }
  z.Close();
  return stager.Stage(Target(ctx, targetName), bytes);
}

void ImportFcc(TImportContext& ctx) {
  TFileStager stager;
  const std::string detail = ExtractMemberToFile(ctx, stager, "EN.dat", "FccCB.dat");
  ctx.Ui->Status("Processing data...");
  ImportFccDatabase(ctx.Folder, *ctx.Ui, stager, detail);
}

void ImportRac(TImportContext& ctx) {
  TFileStager stager;
  const std::string detail = ExtractMemberToFile(ctx, stager, "amateur.rpt", "RacCB.dat");
  ctx.Ui->Status("Processing data...");
  ImportRacDatabase(ctx.Folder, *ctx.Ui, stager, detail);
}

void ImportRda(TImportContext& ctx) {
  const std::string text = ExtractFirstMember(ctx);
  ctx.Ui->Status("Processing data...");
  TFileStager stager;
  ImportRdaDatabase(ctx.Folder, text, *ctx.Ui, stager);
}

void ImportLotwUserList(TImportContext& ctx) {
  TFileStager stager;
  stager.Stage(Target(ctx, "lotw1.txt"), ctx.Body);
  stager.Commit();
}

void ImportIota(TImportContext& ctx) {
  if (!ctx.IotaDxcc || !ctx.Entities) throw std::runtime_error("The IOTA lookup lists are not loaded");
  const std::string kml = ExtractFirstMember(ctx);
  const TIotaLists lists = BuildIotaLists(kml, *ctx.IotaDxcc, *ctx.Entities);
  TFileStager stager;
  stager.Stage(Target(ctx, "IotaRef.lst"), JoinLinesCrLf(lists.RefLines));
  stager.Stage(Target(ctx, "Islands/Iota.lst"), JoinLinesCrLf(lists.IslandLines));
  stager.Commit();
}

void ImportSpecialCalls(TImportContext& ctx) {
  const std::string text = ExtractFirstMember(ctx);
  const std::vector<std::string> lines = BuildSpecialCallLines(text);
  TFileStager stager;
  stager.Stage(Target(ctx, "CanSpec.lst"), JoinLinesCrLf(lines));
  stager.Commit();
  ctx.Ui->Information("Special Canadian callsigns imported: " + FormatInt(static_cast<int64_t>(lines.size())) +
                      " calls");
}

void ImportSource(TImportContext& ctx, int source) {
  switch (source) {
    case srIota: ImportIota(ctx); break;
    case srLotwUsers: ImportLotwUserList(ctx); break;
    case srFcc: ImportFcc(ctx); break;
    case srRac: ImportRac(ctx); break;
    case srCanadianSpecial: ImportSpecialCalls(ctx); break;
    case srRda: ImportRda(ctx); break;
    default: break;
  }
}

}  // namespace vx
