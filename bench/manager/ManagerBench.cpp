// Benchmarks of the reference-data manager on generated registries:
//  - the FCC index of 1.5 million records against one plain read of the same
//    "EN.dat" (the file lives in a temporary folder and is removed at exit);
//  - extraction of a large ZIP member against zlib inflating the same data
//    in memory;
//  - the peak memory of whole imports against the largest file they write
//    (members that inflate to hundreds of megabytes, realistic registries,
//    and a refused archive of empty lines).
// Ratios to the baseline of the same run are reported as counters.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Gen.h"
#include "ZipWriter.h"
#include "common/FileUtil.h"
#include "manager/CbIndex.h"
#include "manager/Job.h"
#include "manager/Sources.h"
#include "manager/Staging.h"
#include "manager/Unzipper.h"

namespace {

size_t FccRecords() {
  const char* v = std::getenv("KESTRIX_BENCH_RECORDS");  // smaller runs while developing
  return v ? std::strtoull(v, nullptr, 10) : 1500000;
}

struct TFccData {
  std::string Dir;
  int64_t Bytes = 0;
  TFccData() {
    Dir = std::filesystem::temp_directory_path().string() + "/kestrix-bench-" + std::to_string(::getpid()) + "/";
    vx::MakeDirectories(Dir);
    vx::gen::TFccOptions o;
    o.Records = FccRecords();
    std::FILE* f = std::fopen((Dir + "FccCB.dat").c_str(), "wb");
    vx::gen::WriteFccEn(o, f);
    std::fclose(f);
    vx::WriteFileAtomic(Dir + "ZipLst.lst", vx::gen::GenerateZipList(o.ZipCodes));
    Bytes = static_cast<int64_t>(std::filesystem::file_size(Dir + "FccCB.dat"));
  }
  ~TFccData() {
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
};

TFccData& Fcc() {
  static TFccData d;
  return d;
}

long StatusKb(const char* key) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
  return 0;
}

// Resets the peak resident size to the current one (Linux).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double g_plainRead = 0, g_lineRead = 0, g_inflate = 0;

double Seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_PlainReadEnDat(benchmark::State& state) {
  TFccData& d = Fcc();
  std::string buf(1 << 20, '\0');
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    std::FILE* f = std::fopen((d.Dir + "FccCB.dat").c_str(), "rb");
    size_t n = 0, got;
    while ((got = std::fread(buf.data(), 1, buf.size(), f)) > 0) n += got;
    std::fclose(f);
    benchmark::DoNotOptimize(n);
    total += Seconds(t0);
  }
  g_plainRead = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(d.Bytes * state.iterations());
  state.counters["file_MB"] = static_cast<double>(d.Bytes) / 1e6;
}

// A second, gentler baseline: the same file read line by line with the
// standard library, doing nothing with the lines.
void BM_GetlineEnDat(benchmark::State& state) {
  TFccData& d = Fcc();
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    std::ifstream f(d.Dir + "FccCB.dat", std::ios::binary);
    std::string line;
    size_t n = 0;
    while (std::getline(f, line)) n += line.size();
    benchmark::DoNotOptimize(n);
    total += Seconds(t0);
  }
  g_lineRead = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(d.Bytes * state.iterations());
}

// The whole FCC job after extraction (ZipLst.lst, scan, sort, index write
// with its flush to disk), with the phases reported separately.
void BM_FccIndex(benchmark::State& state) {
  TFccData& d = Fcc();
  double total = 0, scan = 0, sort = 0, write = 0;
  long peakKb = 0;
  for (auto _ : state) {
    ResetPeak();
    const long baseKb = StatusKb("VmRSS:");
    const auto t0 = std::chrono::steady_clock::now();
    vx::TZipList zips;
    zips.LoadFromFile(d.Dir + "ZipLst.lst");
    vx::TCallbookEntries e = vx::BuildFccIndex(d.Dir + "FccCB.dat", zips);
    scan += Seconds(t0);
    const auto t1 = std::chrono::steady_clock::now();
    vx::SortCallbookEntries(e, 0, static_cast<ptrdiff_t>(e.size()) - 1);
    sort += Seconds(t1);
    const auto t2 = std::chrono::steady_clock::now();
    vx::TFileStager stager;
    // The records are written as they lie in memory (little-endian hosts).
    stager.Stage(d.Dir + "FccCB.idx",
                 std::string_view(reinterpret_cast<const char*>(e.data()), e.size() * sizeof(vx::TCallbookEntry)));
    stager.Commit();
    write += Seconds(t2);
    total += Seconds(t0);
    peakKb = std::max(peakKb, StatusKb("VmHWM:") - baseKb);
  }
  const double n = static_cast<double>(state.iterations());
  state.SetBytesProcessed(d.Bytes * state.iterations());
  state.counters["records"] = static_cast<double>(FccRecords());
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["scan_ms"] = scan / n * 1000;
  state.counters["sort_ms"] = sort / n * 1000;
  state.counters["write_ms"] = write / n * 1000;
  if (g_plainRead > 0) state.counters["x_plain_read"] = total / n / g_plainRead;
  if (g_lineRead > 0) state.counters["x_getline"] = total / n / g_lineRead;
}

struct TZipData {
  std::string Text, Zip, Packed;
  TZipData() {
    vx::gen::TFccOptions o;
    o.Records = 600000;  // about 120 MB of registry text
    Text = vx::gen::GenerateFccEn(o);
    vx::gen::TZipWriter w;
    w.Add("EN.dat", Text);
    Zip = w.Build(6);
    Packed = vx::gen::DeflateRaw(Text, 6);
  }
};

TZipData& ZipData() {
  static TZipData d;
  return d;
}

void BM_InflateInMemory(benchmark::State& state) {
  TZipData& d = ZipData();
  std::string out(d.Text.size(), '\0');
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    zs.next_in = reinterpret_cast<Bytef*>(d.Packed.data());
    zs.avail_in = static_cast<uInt>(d.Packed.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    if (inflate(&zs, Z_FINISH) != Z_STREAM_END) state.SkipWithError("inflate failed");
    inflateEnd(&zs);
    benchmark::DoNotOptimize(out.data());
    total += Seconds(t0);
  }
  g_inflate = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(d.Text.size()) * state.iterations());
  state.counters["member_MB"] = static_cast<double>(d.Text.size()) / 1e6;
  state.counters["ratio"] = static_cast<double>(d.Text.size()) / static_cast<double>(d.Packed.size());
}

void BM_ZipExtract(benchmark::State& state) {
  TZipData& d = ZipData();
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    vx::TUnZipper z;
    z.Open(d.Zip);
    std::string out = z.Extract(z.IndexOfName("EN.dat"));
    benchmark::DoNotOptimize(out.data());
    total += Seconds(t0);
  }
  const double mean = total / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(d.Text.size()) * state.iterations());
  if (g_inflate > 0) state.counters["x_inflate"] = mean / g_inflate;
}

// One import as the job runs it, on an archive built once per case.
struct TImportCase {
  const char* Name;
  int Source;
  std::string Body;
};

std::string Repeated(const char* member, const std::string& line, uint64_t bytes) {
  vx::gen::TZipMember m;
  m.Name = member;
  m.Data = line + "\r\n";
  m.RepeatTo = bytes;
  vx::gen::TZipWriter w;
  w.Add(m);
  return w.Build(9);
}

const std::vector<TImportCase>& ImportCases() {
  static const std::vector<TImportCase> cases = [] {
    std::vector<TImportCase> c;
    std::string rdaLine = "UA1ABC IVANOV";
    rdaLine.resize(70, ' ');
    rdaLine += "LO-01  1234";
    c.push_back({"rda_200MB_member", vx::srRda, Repeated("rda.txt", rdaLine, 200000000)});
    c.push_back({"special_200MB_member", vx::srCanadianSpecial,
                 Repeated("ind_speciaux.csv", "VX9ABC;Club;2024;Event;x;24/01-24/02;2024", 200000000)});
    c.push_back({"rac_200MB_empty_lines", vx::srRac, Repeated("amateur.rpt", "", 200000000)});
    c.push_back({"rac_60000", vx::srRac, vx::gen::ZipWith("amateur.rpt", vx::gen::GenerateAmateurRpt(60000))});
    vx::gen::TFccOptions o;
    o.Records = 300000;
    c.push_back({"fcc_300000", vx::srFcc, vx::gen::ZipWith("EN.dat", vx::gen::GenerateFccEn(o))});
    c.push_back({"special_5000", vx::srCanadianSpecial,
                 vx::gen::ZipWith("ind_speciaux.csv", vx::gen::GenerateSpecialCalls(5000))});
    return c;
  }();
  return cases;
}

void BM_ImportPeakMemory(benchmark::State& state) {
  const TImportCase& c = ImportCases()[static_cast<size_t>(state.range(0))];
  state.SetLabel(c.Name);
  const std::string dir =
      std::filesystem::temp_directory_path().string() + "/kestrix-import-" + std::to_string(::getpid()) + "/";
  vx::MakeDirectories(dir);
  vx::WriteFileAtomic(dir + "ZipLst.lst", vx::gen::GenerateZipList());
  long peakKb = 0;
  bool done = false;
  for (auto _ : state) {
    vx::TSilentUi ui;
    vx::TKestrixJob job(c.Source, dir, ui);
    ResetPeak();
    const long baseKb = StatusKb("VmRSS:");
    done = job.ImportDownloaded(c.Body);
    peakKb = std::max(peakKb, StatusKb("VmHWM:") - baseKb);
  }
  uintmax_t largest = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.is_regular_file() && e.path().filename() != "ZipLst.lst") largest = std::max(largest, e.file_size());
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  state.counters["done"] = done ? 1 : 0;
  state.counters["archive_MB"] = static_cast<double>(c.Body.size()) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["largest_out_MB"] = static_cast<double>(largest) / 1e6;
  if (largest > 0)
    state.counters["x_largest_out"] = static_cast<double>(peakKb) * 1024.0 / static_cast<double>(largest);
}

}  // namespace

BENCHMARK(BM_ImportPeakMemory)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PlainReadEnDat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GetlineEnDat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FccIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_InflateInMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ZipExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
