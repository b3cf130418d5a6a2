// vantor-cli lookup [--prefix FILE] [--calls FILE] [CALL ...]
// Resolves call signs as the call-sign box of the main program does. Without
// options the lists are loaded as the program loads them: the reference
// folder's first, then those shipped beside the program.
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>

#include "cli/Cli.h"
#include "cli/CliEngine.h"
#include "common/Paths.h"
#include "common/TextUtil.h"
#include "refdata/CallParser.h"
#include "refdata/DxPlace.h"
#include "refdata/LookupText.h"

namespace vx::cli {

namespace {

constexpr char kUsage[] = "usage: vantor-cli lookup [--prefix FILE] [--calls FILE] [CALL ...]\n";

// Names on the command line are taken from the current folder, like any
// other program's arguments (the parser itself takes relative names beside
// the program).
std::optional<std::string> FromCurrentFolder(std::optional<std::string> name) {
  if (!name || name->empty()) return name;
  std::error_code ec;
  auto absolute = std::filesystem::absolute(*name, ec);
  return ec ? name : std::optional<std::string>(absolute.string());
}

}  // namespace

int CliLookup(const std::vector<std::string>& argv) {
  if (HelpRequested(argv)) {
    std::cout << kUsage;
    return 0;
  }
  TArgs args(argv, {});
  if (!args.Error().empty()) {
    std::cerr << "vantor-cli lookup: " << args.Error() << "\n";
    return 2;
  }
  if (auto bad = args.Unknown({"prefix", "calls"}); !bad.empty()) {
    std::cerr << "vantor-cli lookup: unknown option " << bad[0] << "\n" << kUsage;
    return 2;
  }
  auto prefixFile = FromCurrentFolder(args.Value("prefix"));
  auto callFile = FromCurrentFolder(args.Value("calls"));

  // The reference folder's lists only when the program would load them.
  TCallParser parser(TCallParserVariant::pvMain);
  if (!prefixFile || !callFile) parser.LoadDefaultFiles();
  if (prefixFile) {
    parser.PrefixList.Clear();
    if (TLoadStatus s = parser.SetPrefixFile(*prefixFile); s != TLoadStatus::lsOk) {
      std::cerr << "vantor-cli lookup: " << *prefixFile
                << (s == TLoadStatus::lsUnreadable ? ": cannot read the file\n" : ": not a valid prefix list\n");
      return 1;
    }
  } else {
    parser.SetPrefixFile(ShippedDataFolder() + "Prefix.lst");  // replaces the list only if it loads
  }
  if (callFile) {
    if (!parser.SetCallFile(*callFile)) {
      std::cerr << "vantor-cli lookup: " << *callFile << ": cannot read the file\n";
      return 1;
    }
  } else {
    parser.SetCallFile(ShippedDataFolder() + "Call.lst");  // missing: no exceptions
  }

  // The callbooks of the reference folder move the DX point to the
  // licensee, as in the window; a callbook that cannot be used is named once.
  const std::string callbooks = ReferenceFolder();
  std::set<std::string> told;
  auto run = [&](std::string_view call) {
    parser.Parse(call);
    const TDxPlace place = ResolveDxPlace(call, parser.Results, callbooks);
    std::cout << FormatLookupResults(call, parser.Results) << FormatDxPlace(call, place);
    for (const std::string& note : place.Notes)
      if (told.insert(note).second) std::cerr << "vantor-cli lookup: " << note << "\n";
  };
  if (!args.Positional().empty()) {
    for (const std::string& c : args.Positional()) run(c);
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      std::string_view call = Trim(line);
      if (!call.empty()) run(call);
    }
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace vx::cli
