#include "manager/Importers.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "common/DayCount.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "manager/CbIndex.h"
#include "manager/IotaKml.h"
#include "manager/SourceFormat.h"
#include "manager/Sources.h"
#include "manager/SpecialCalls.h"
#include "manager/SsnForecast.h"
#include "manager/SsnMerge.h"
#include "manager/Staging.h"
#include "refdata/AlStrLst.h"

namespace vx {

namespace {

std::string Target(const TImportContext& ctx, const std::string& name) { return JoinPath(ctx.Folder, name); }

// Opens the body as an archive for the life of the object.
class TOpenArchive {
 public:
  explicit TOpenArchive(TImportContext& ctx) : Z(*ctx.Unzipper) {
    Z.Open(ctx.Body);
    if (Z.Count() == 0) {
      Z.Close();
      throw EZipError("The downloaded file is not a ZIP archive or holds no file");
    }
  }
  ~TOpenArchive() { Z.Close(); }
  TOpenArchive(const TOpenArchive&) = delete;
  TOpenArchive& operator=(const TOpenArchive&) = delete;
  TUnZipper& Z;
};

// Member index's text, line by line, as it is inflated.
void ForEachLine(const TUnZipper& z, int index, const std::string& what,
                 const std::function<void(std::string_view)>& onLine) {
  TLineSplitter split(onLine, kMaxLineBytes, what);
  z.ExtractTo(index, [&](std::string_view piece) { split.Feed(piece); });
  split.Finish();
}

// The first member, in the given order, that check accepts: check throws
// ESourceFormat for a member that is not the source's file, and the next
// one is tried. When none fits, the first member's reason is given.
int FindMember(const TUnZipper& z, const std::vector<int>& order, const std::function<void(int)>& check) {
  std::string first;
  for (int i : order) {
    try {
      check(i);
      return i;
    } catch (const ESourceFormat& e) {
      if (first.empty()) first = std::string(e.what()) + " (\"" + z.Files()[static_cast<size_t>(i)].Name + "\")";
    }
  }
  throw ESourceFormat(first);
}

std::vector<int> ArchiveOrder(const TUnZipper& z) {
  std::vector<int> order;
  for (int i = 0; i < z.Count(); ++i) order.push_back(i);
  return order;
}

bool EndsWithKml(const std::string& name) {
  return name.size() >= 4 && UpperAscii(std::string_view(name).substr(name.size() - 4)) == ".KML";
}

}  // namespace

std::string ExtractMemberToFile(TImportContext& ctx, TFileStager& stager, std::string_view memberName,
                                const std::string& targetName, const TLineFormat& format, size_t* lines) {
  ctx.Ui->Status("Unzipping...");
  TOpenArchive archive(ctx);
  const int i = archive.Z.IndexOfName(memberName);
  if (i < 0) throw EZipError("The downloaded file holds no \"" + std::string(memberName) + "\"");
  TRecordTally tally(format.What);
  const std::string staged = stager.StageStream(Target(ctx, targetName), [&](const TFileStager::TWriter& write) {
    TLineSplitter split([&](std::string_view line) { tally.Add(format.IsRecord(line)); }, kMaxLineBytes, format.What);
    archive.Z.ExtractTo(i, [&](std::string_view piece) {
      split.Feed(piece);
      write(piece);
    });
    split.Finish();
    tally.Finish();
  });
  if (lines) *lines = tally.Lines();
  return staged;
}

void ImportFcc(TImportContext& ctx) {
  // The ZIP list first: without it the download cannot be used at all.
  TZipList zips;
  zips.LoadFromFile(Target(ctx, "ZipLst.lst"));
  TFileStager stager;
  size_t lines = 0;
  const std::string detail = ExtractMemberToFile(ctx, stager, "EN.dat", "FccCB.dat",
                                                 {"an FCC licence file (\"EN.dat\")", IsFccEnLine}, &lines);
  ctx.Ui->Status("Processing data...");
  ImportFccDatabase(ctx.Folder, *ctx.Ui, stager, detail, &zips, lines);
}

void ImportRac(TImportContext& ctx) {
  TFileStager stager;
  size_t lines = 0;
  const std::string detail = ExtractMemberToFile(ctx, stager, "amateur.rpt", "RacCB.dat",
                                                 {"a RAC callsign file (\"amateur.rpt\")", IsRacLine}, &lines);
  ctx.Ui->Status("Processing data...");
  ImportRacDatabase(ctx.Folder, *ctx.Ui, stager, detail, lines);
}

void ImportRda(TImportContext& ctx) {
  const std::string what = "an RDA list";
  TOpenArchive archive(ctx);
  // A first reading finds the member that is the list and counts its lines,
  // so the index is built in an array of the right size.
  size_t lines = 0;
  const int member = FindMember(archive.Z, ArchiveOrder(archive.Z), [&](int i) {
    TRecordTally tally(what);
    ForEachLine(archive.Z, i, what, [&](std::string_view line) { tally.Add(IsRdaLine(line)); });
    tally.Finish();
    lines = tally.Lines();
  });
  ctx.Ui->Status("Processing data...");
  TRdaIndexBuilder builder;
  builder.Reserve(lines);
  ForEachLine(archive.Z, member, what, [&](std::string_view line) { builder.AddLine(line); });
  TFileStager stager;
  WriteRdaDatabase(ctx.Folder, builder.Entries(), *ctx.Ui, stager);
}

void ImportLotwUserList(TImportContext& ctx) {
  const std::string what = "a LoTW user list";
  TRecordTally tally(what);
  TLineSplitter split([&](std::string_view line) { tally.Add(IsLotwLine(line)); }, kMaxLineBytes, what);
  split.Feed(ctx.Body);
  split.Finish();
  tally.Finish();
  TFileStager stager;
  stager.Stage(Target(ctx, "lotw1.txt"), ctx.Body);
  stager.Commit();
}

void ImportIota(TImportContext& ctx) {
  if (!ctx.IotaDxcc || !ctx.Entities) throw std::runtime_error("The IOTA lookup lists are not loaded");
  const std::string what = "an IOTA list";
  TOpenArchive archive(ctx);
  // A KMZ keeps its document as a ".kml" member, usually beside pictures.
  std::vector<int> order;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < archive.Z.Count(); ++i)
      if (EndsWithKml(archive.Z.Files()[static_cast<size_t>(i)].Name) == (pass == 0)) order.push_back(i);
  TIotaLists lists;
  FindMember(archive.Z, order, [&](int i) {
    const TZippedFileInfo& fi = archive.Z.Files()[static_cast<size_t>(i)];
    if (static_cast<size_t>(fi.Size) > kMaxKmlBytes)
      throw ESourceFormat("Not " + what + ": larger than " + FormatInt(kMaxKmlBytes >> 20) +
                          " MB, far more than any IOTA list");
    lists = BuildIotaLists(archive.Z.Extract(i), *ctx.IotaDxcc, *ctx.Entities);
    if (lists.Islands == 0) throw ESourceFormat("Not " + what + ": it holds no island group");
    // The scan stops at the first placemark it cannot read; a document cut
    // off or damaged early would silently lose most groups.
    if (lists.Islands * 2 <= lists.Placemarks)
      throw ESourceFormat("Not " + what + ": only " + FormatInt(static_cast<int64_t>(lists.Islands)) + " of " +
                          FormatInt(static_cast<int64_t>(lists.Placemarks)) + " placemarks could be read");
  });
  TFileStager stager;
  stager.Stage(Target(ctx, "IotaRef.lst"), JoinLinesCrLf(lists.RefLines));
  stager.Stage(Target(ctx, "Islands/Iota.lst"), JoinLinesCrLf(lists.IslandLines));
  stager.Commit();
}

void ImportSpecialCalls(TImportContext& ctx) {
  const std::string what = "a Canadian special callsign table";
  TOpenArchive archive(ctx);
  // A first reading finds the table and measures what it makes, so the
  // lines are kept in one block of the right size.
  size_t lines = 0, bytes = 0;
  const int member = FindMember(archive.Z, ArchiveOrder(archive.Z), [&](int i) {
    TRecordTally tally(what);
    TSpecialCallTable count;
    bool header = true;
    ForEachLine(archive.Z, i, what, [&](std::string_view row) {
      if (!header) tally.Add(IsSpecialCallRow(row));
      header = false;
      count.CountRow(row);
    });
    tally.Finish();
    lines = count.MadeLines();
    bytes = count.MadeBytes();
  });
  TSpecialCallTable table;
  table.Reserve(lines, bytes);
  ForEachLine(archive.Z, member, what, [&](std::string_view row) { table.AddRow(row); });
  TFileStager stager;
  size_t calls = 0;
  stager.StageStream(Target(ctx, "CanSpec.lst"),
                     [&](const TFileStager::TWriter& write) { calls = table.Emit(write, "\r\n"); });
  stager.Commit();
  ctx.Ui->Information("Special Canadian callsigns imported: " + FormatInt(static_cast<int64_t>(calls)) + " calls");
}

void ImportSsnForecast(TImportContext& ctx) {
  const std::vector<TSsnMonth> forecast = ParseSsnForecast(ctx.Body);
  const std::string target = Target(ctx, "SSN.dat");
  // A table that is there but cannot be read must not be replaced by the
  // forecast alone: its observed months would be lost.
  constexpr size_t kMaxTableBytes = size_t(1) << 20;
  std::optional<std::string> existing;
  if (FileExists(target) && !(existing = ReadWholeFile(target, kMaxTableBytes)))
    throw std::runtime_error("Cannot read file \"" + target + "\"");
  const TSsnMerge merged = MergeSsnForecast(existing.value_or(std::string()), forecast, ctx.CurrentMonthKey);
  TFileStager stager;
  stager.Stage(target, merged.Table);
  stager.Commit();
  auto month = [](const TSsnMonth& m) { return std::string(MonthAbbreviation(m.Month)) + " " + FormatInt(m.Year); };
  ctx.Ui->Information("Sunspot forecast imported: " + month(forecast.front()) + " to " + month(forecast.back()) + ", " +
                      FormatInt(merged.Replaced + merged.Added) + " months updated, " + FormatInt(merged.Kept) +
                      " observed months kept");
}

void ImportSource(TImportContext& ctx, int source) {
  switch (source) {
    case srIota: ImportIota(ctx); break;
    case srLotwUsers: ImportLotwUserList(ctx); break;
    case srFcc: ImportFcc(ctx); break;
    case srRac: ImportRac(ctx); break;
    case srCanadianSpecial: ImportSpecialCalls(ctx); break;
    case srRda: ImportRda(ctx); break;
    case srSsnForecast: ImportSsnForecast(ctx); break;
    default: break;
  }
}

}  // namespace vx
