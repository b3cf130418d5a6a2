#include "refdata/DxPlace.h"

#include <array>
#include <cctype>

#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "refdata/AlStrLst.h"
#include "refdata/CbReader.h"

namespace vx {

namespace {

constexpr char kCountryCentre[] = "country centre";

struct TCallbookFiles {
  TCallbookKind Kind;
  const char* Index;
  const char* Detail;  // null: the index has no detail file
};

constexpr TCallbookFiles kFcc{TCallbookKind::ckFcc, "FccCB.idx", "FccCB.dat"};
constexpr TCallbookFiles kRac{TCallbookKind::ckRac, "RacCB.idx", "RacCB.dat"};
constexpr TCallbookFiles kRda{TCallbookKind::ckRda, "RdaCB.idx", nullptr};

// The callbook most likely to list a call of this entity first; a call is
// listed by one registry at most, so the order only saves reads.
std::array<TCallbookFiles, 3> SearchOrder(const std::vector<TPrefixData>& results) {
  std::string entity;
  for (const TPrefixData& r : results)
    if (!r.EntityNumber.empty()) {
      entity = r.EntityNumber;
      break;
    }
  if (entity == "1") return {kRac, kFcc, kRda};                                        // Canada
  if (entity == "54" || entity == "15" || entity == "126") return {kRda, kFcc, kRac};  // Russia
  return {kFcc, kRac, kRda};
}

// Text from another program's file, safe to show on one line.
std::string Printable(std::string_view s) {
  std::string out(Trim(s));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return out;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The first line of bytes (up to CR or LF) and where the next one starts.
std::string_view NextLine(std::string_view& rest) {
  const size_t end = rest.find_first_of("\r\n");
  std::string_view line = rest.substr(0, end);
  if (end == std::string_view::npos) {
    rest = {};
  } else {
    size_t next = end + 1;
    // CR LF and LF CR end one line, as the index's builder reads them.
    if (next < rest.size() && (rest[next] == '\r' || rest[next] == '\n') && rest[next] != rest[end]) ++next;
    rest.remove_prefix(next);
  }
  return line;
}

// The ZIP code of the licence record at the start of detail, when the
// record is the call's (lines of one record are joined with a blank, as
// the index's builder joins them).
std::string FccZip(std::string_view detail, std::string_view call) {
  std::string record;
  TAlStringList fields;
  fields.Delimiter = '|';
  for (int lines = 0; lines < 4 && !detail.empty(); ++lines) {
    if (lines) record += ' ';
    record += Trim(NextLine(detail));
    fields.SetDelimitedItems(record);
    if (fields.Count() > 17) break;
  }
  if (fields.Count() <= 18 || UpperAscii(Trim(fields[4])) != call) return {};
  std::string_view zip = std::string_view(fields[18]).substr(0, 5);
  return zip.size() == 5 && AllDigits(zip) ? std::string(zip) : std::string();
}

// The province of the licence line at the start of detail, read as the
// index's builder reads it, when the line is the call's.
std::string RacProvince(std::string_view detail, std::string_view call) {
  std::string_view line = detail.substr(0, detail.find_first_of("\r\n"));
  if (UpperAscii(Trim(Columns(line, 1, 6))) != call) return {};
  const bool late = line.size() >= 458 && line[457] != ' ';
  return Printable(UpperAscii(late ? Columns(line, 458, 459) : Columns(line, 187, 188)));
}

// "VE3" of "VE3ABC": the call up to its first digit, with the digit.
std::string_view CallArea(std::string_view call) {
  const size_t digit = call.find_first_of("0123456789", 1);
  return digit == std::string_view::npos ? call : call.substr(0, digit + 1);
}

}  // namespace

std::string CallbookKey(std::string_view typed) {
  std::string key;
  for (char c : UpperAscii(Trim(typed)))
    if (c != ' ') key += c;
  if (key.size() < 3 || key.size() > 15 || key.find('/') != std::string::npos) return {};
  return key;
}

std::string CallbookSource(TCallbookKind kind, const TCallbookEntry& e, std::string_view detail) {
  const std::string call(e.CallText());
  const std::string region = Printable(e.RegionText());
  switch (kind) {
    case TCallbookKind::ckFcc: {
      if (std::string zip = FccZip(detail, call); !zip.empty()) return "FCC licence, ZIP " + zip;
      return region.empty() ? "FCC licence" : "FCC licence, " + region;
    }
    case TCallbookKind::ckRac: {
      std::string province = RacProvince(detail, call);
      if (province.empty()) province = region;
      std::string text = "Canadian licence, " + Printable(CallArea(call));
      return province.empty() ? text : text + " " + province;
    }
    case TCallbookKind::ckRda: break;
  }
  return region.empty() ? "RDA list" : "RDA district " + region;
}

TDxPlace ResolveDxPlace(std::string_view typed, const std::vector<TPrefixData>& results,
                        const std::string& referenceFolder) {
  TDxPlace place;
  if (results.empty()) return place;
  for (const TPrefixData& r : results)
    if (r.HasCoords() && r.Lat != kNoLocation32) {
      place.Point = TLocation{r.Lon, r.Lat};
      place.Source = kCountryCentre;
      break;
    }
  const std::string key = CallbookKey(typed);
  if (referenceFolder.empty() || key.empty()) return place;
  for (const TCallbookFiles& book : SearchOrder(results)) {
    const TCallbookLookup found = FindInCallbook(JoinPath(referenceFolder, book.Index), key);
    if (!found.Note.empty()) place.Notes.push_back(found.Note);
    if (!found.Entry) continue;
    const std::optional<TLocation> at = CallbookLocation(*found.Entry);
    if (!at) continue;  // listed without a location: the prefix's point stands
    const std::string detail =
        book.Detail ? ReadDetailBytes(JoinPath(referenceFolder, book.Detail), found.Entry->DatOffset) : std::string();
    place.Point = *at;
    place.Source = CallbookSource(book.Kind, *found.Entry, detail);
    break;
  }
  return place;
}

}  // namespace vx
