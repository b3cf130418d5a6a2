// TCallParser: turns a typed call sign (with portable prefixes, area digits
// and suffixes such as /P or /QRP) into the places it belongs to, using the
// prefix list and a keyed exceptions list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "refdata/AlStrLst.h"
#include "refdata/PrefLst.h"

namespace vx {

// The main program keeps the exceptions list cleared and sorted and looks
// keys up with two probes; the reference-data manager only lists entities
// and holds a plain list with the one-probe lookup.
enum class TCallParserVariant { pvMain, pvManager };

// One matched entry of the current lookup. Index is the hit's own position
// (-1 once excluded or consumed); Parent the position of the hit it was
// found under (-1 at top level).
struct THit {
  const TPrefixEntry* Entry = nullptr;
  uint8_t Kind = 0;
  int32_t Index = -1;
  int32_t Parent = -1;
  std::vector<std::string> SubNames;
};

class TCallParser {
 public:
  // Starts with empty lists; LoadDefaultFiles or the setters load them.
  explicit TCallParser(TCallParserVariant variant = TCallParserVariant::pvMain);

  TPrefixList PrefixList;
  TAlStringList CallList;
  std::string Call;
  std::string AltCall;
  std::vector<THit> Hits;
  std::vector<TPrefixData> Results;
  // Called when the text "L/P" is parsed (the program beeps).
  std::function<void()> OnBeep;

  const std::string& PrefixFile() const { return PrefixFile_; }
  const std::string& CallFile() const { return CallFile_; }
  // Load the named list; a failure is not raised (the status tells).
  TLoadStatus SetPrefixFile(const std::string& name);
  bool SetCallFile(const std::string& name);
  // Prefix.lst (and CallDxcc.lst when present) from the reference folder,
  // as the programs load them at start-up.
  void LoadDefaultFiles();

  void Parse(std::string_view text);
  // One line "number=-|prefix|name" per country (kind-1) entry, file order.
  void ListEntities(TAlStringList& list) const;

  // Relative names are shipped files (beside the program, or in the
  // installed data folder); doubled separators merged.
  static std::string ResolvePath(const std::string& name);

  // The steps of Parse, open for tests.
  bool NormalizeCall();
  void LookupPrefix();
  // 0: no match; 1: the call stops inside the mask; 2: the mask is used up.
  static int MatchMask(std::string_view call, const TCompiledMask& mask);
  // 0..3: how the parts after "/" of call and mask relate.
  static int SuffixClass(std::string_view call, const TCompiledMask& mask);
  bool MatchEntry(const TPrefixEntry& e, bool topLevel) const;
  // The first country entry with this entity number; false when none.
  bool FindByEntityNumber(int64_t n, TPrefixData& out) const;

 private:
  std::string ExceptionValue(const std::string& key);
  void AddHit(const TPrefixEntry& e, int32_t row);
  void ExpandChildren(const TPrefixEntry& e, int32_t row);
  void MergeHits();
  static int MatchMaskPart(std::string_view callPart, const TCompiledMask& mask);
  static int SuffixClassOfTail(std::string_view tail, const TCompiledMask& mask);
  void FillResult(TPrefixData& r, int32_t hit);

  TCallParserVariant Variant_;
  std::string PrefixFile_;
  std::string CallFile_;
  // Call split at its first "/", set by LookupPrefix for the mask tests.
  std::string_view CallPart_;
  std::string_view CallTail_;
};

}  // namespace vx
