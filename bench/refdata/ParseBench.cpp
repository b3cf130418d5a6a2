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
  TCallParser p(TCallParserVariant::pvMain);
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

// A generated list of the given number of lines: countries with a few masks
// each and areas below them, the masks spread over all cells. The time per
// line must stay the same however long the list is.
std::string GeneratedList(int64_t lines) {
  static const char kChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string text = "; generated\r\n;\r\n;\r\n";
  for (int64_t i = 0; i < lines; ++i) {
    const char a = kChars[i % 36], b = kChars[(i / 36) % 36], c = kChars[(i / 1296) % 36];
    const bool country = i % 8 == 0;
    text += country ? "0100" : "0201";
    text += "|" + std::to_string(i % 64800 - 32400) + "|" + std::to_string(i % 16200) + "|Entry " + std::to_string(i) +
            "|" + a + b + "|NA|5|8|-5|" + std::to_string(i % 500 + 1) + "||||";
    text += country ? std::string(1, a) + b + "#," + a + "[A-F]" + c + ",\"" + a + b + c + "\""
                    : std::string(1, a) + b + "?" + c;
    text += "|\r\n";
  }
  return text;
}

void BM_LoadGeneratedList(benchmark::State& state) {
  const std::string text = GeneratedList(state.range(0));
  TPrefixList l;
  for (auto _ : state) benchmark::DoNotOptimize(l.LoadFromText(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadGeneratedList)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Complexity();

// Baseline for the generated lists: splitting the same text into lines.
void BM_SplitGeneratedList(benchmark::State& state) {
  const std::string text = GeneratedList(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(SplitLines(text));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SplitGeneratedList)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace
