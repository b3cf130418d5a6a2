// Call-sign lookup speed over the contest call list, against an exact-call
// hash map of the same calls as the baseline, and the cost of loading the
// prefix list. Lists are generated from the country file in memory.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "CtyConvert.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "refdata/CallParser.h"

using namespace vx;

namespace {

struct TData {
  std::vector<std::string> Calls;
  std::string PrefixLst;
  std::string Dir;
  bool Ok = false;
};

const TData& Data() {
  static TData d = [] {
    TData t;
    auto csv = ReadWholeFile("/usr/share/hamradio-files/cty.csv");
    auto scp = ReadWholeFile("/usr/share/hamradio-files/MASTER.SCP");
    if (!csv || !scp) return t;
    for (std::string_view l : SplitLines(*scp)) {
      l = Trim(l);
      if (!l.empty() && l[0] != '#') t.Calls.emplace_back(l);
    }
    auto lists = prefixgen::GenerateLists(prefixgen::ParseCountryFile(*csv));
    t.PrefixLst = lists.PrefixLst;
    t.Dir = "/tmp/vantor-refdata-bench/";
    MakeDirectories(t.Dir);
    t.Ok = WriteWholeFile(t.Dir + "Prefix.lst", lists.PrefixLst) && WriteWholeFile(t.Dir + "Call.lst", lists.CallLst);
    return t;
  }();
  return d;
}

void BM_Parse(benchmark::State& state) {
  const TData& d = Data();
  if (!d.Ok) return state.SkipWithError("hamradio-files is not installed");
  TCallParser p(TCallParserVariant::pvMain, false);
  p.SetPrefixFile(d.Dir + "Prefix.lst");
  p.SetCallFile(d.Dir + "Call.lst");
  size_t found = 0;
  for (auto _ : state) {
    for (const auto& c : d.Calls) {
      p.Parse(c);
      found += p.Results.size();
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * d.Calls.size());
}
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);

// Baseline: an exact-call hash map holding every call of the list.
void BM_HashLookup(benchmark::State& state) {
  const TData& d = Data();
  if (!d.Ok) return state.SkipWithError("hamradio-files is not installed");
  std::unordered_map<std::string, int> map;
  for (size_t i = 0; i < d.Calls.size(); ++i) map.emplace(d.Calls[i], static_cast<int>(i));
  size_t found = 0;
  for (auto _ : state) {
    for (const auto& c : d.Calls) {
      auto it = map.find(c);
      found += it != map.end() ? it->second : 0;
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * d.Calls.size());
}
BENCHMARK(BM_HashLookup)->Unit(benchmark::kMillisecond);

void BM_LoadPrefixList(benchmark::State& state) {
  const TData& d = Data();
  if (!d.Ok) return state.SkipWithError("hamradio-files is not installed");
  TPrefixList l;
  for (auto _ : state) benchmark::DoNotOptimize(l.LoadFromFile(d.Dir + "Prefix.lst"));
  state.SetBytesProcessed(state.iterations() * d.PrefixLst.size());
}
BENCHMARK(BM_LoadPrefixList)->Unit(benchmark::kMicrosecond);

// Baseline for the load: reading the same file into memory.
void BM_ReadPrefixFile(benchmark::State& state) {
  const TData& d = Data();
  if (!d.Ok) return state.SkipWithError("hamradio-files is not installed");
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(d.Dir + "Prefix.lst"));
  state.SetBytesProcessed(state.iterations() * d.PrefixLst.size());
}
BENCHMARK(BM_ReadPrefixFile)->Unit(benchmark::kMicrosecond);

}  // namespace
