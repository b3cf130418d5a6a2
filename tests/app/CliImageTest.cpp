// vantor-cli chart and area pictures, end to end against the stand-in
// propagation program: the files hold exactly what the views draw.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "app/PictureTitle.h"
#include "common/FileUtil.h"
#include "common/TextUtil.h"
#include "support/VoacapFolder.h"
#include "views/BmpFile.h"
#include "views/ChartDraw.h"
#include "views/Decorate.h"
#include "views/MapDraw.h"
#include "views/QtImage.h"

using namespace vx;

namespace {

struct Result {
  int code = -1;
  std::string out;
};

// One folder per case: ctest runs the cases as parallel processes, and two
// runs of the stand-in must not share a data folder.
std::string Root() {
  return testing::TempDir() + "cli-image-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
}

Result Cli(const std::string& args) {
  MakeDirectories(Root());
  const std::string data = Root() + "itshfbc/";
  if (!DirectoryExists(data)) vxtest::MakeVoacapFolder(data);
  const std::string cmd = "HOME=" + Root() + "home XDG_CONFIG_HOME=" + Root() + "cfg XDG_CACHE_HOME=" + Root() +
                          "cache XDG_DATA_HOME=" + Root() + "data " + VX_CLI + " " + args + " --voacap " +
                          VX_FAKE_VOACAP + " --itshfbc " + data + " 2>/dev/null";
  Result r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int st = pclose(p);
  r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// The numbers of every "key": [..] array (or "key": value) in order; null
// reads as the engine's reset value.
std::vector<float> Numbers(const std::string& json, const std::string& key, bool arrays) {
  std::vector<float> out;
  const std::regex item(arrays ? "\"" + key + "\": \\[([^\\]]*)\\]" : "\"" + key + "\": ([-0-9.a-z]+)");
  for (std::sregex_iterator it(json.begin(), json.end(), item), end; it != end; ++it) {
    std::string list = (*it)[1];
    size_t at = 0;
    while (at <= list.size()) {
      size_t comma = list.find(',', at);
      if (comma == std::string::npos) comma = list.size();
      auto text = Trim(std::string_view(list).substr(at, comma - at));
      auto v = ParseDouble(text);
      out.push_back(v ? float(*v) : ResetValue());
      at = comma + 1;
    }
  }
  return out;
}

TRgbImage ReadPng(const std::string& path) { return FromQImage(QImage(QString::fromStdString(path))); }

const std::string kChart = "chart --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50";
const std::string kArea = "area --home 44,-79 --band 3 --hour 12 --grid 31 --month 3 --ssn 50 --year 2008";

}  // namespace

TEST(CliImage, ChartFilesHoldTheChartOfThePrediction) {
  const std::string png = Root() + "chart.png", bmp = Root() + "chart.bmp";
  Result r = Cli(kChart + " --png " + png + " --bmp " + bmp + " --muf --best-hour");
  ASSERT_EQ(r.code, 0);
  const TRgbImage fromPng = ReadPng(png);
  auto fromBmp = DecodeBmp(ReadWholeFile(bmp).value_or(""));
  ASSERT_TRUE(fromBmp);
  EXPECT_EQ(fromPng, *fromBmp);

  // The same prediction as numbers, drawn here.
  Result json = Cli("predict --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50");
  ASSERT_EQ(json.code, 0);
  const auto muf = Numbers(json.out, "muf", true), snr = Numbers(json.out, "snr", true);
  ASSERT_EQ(muf.size(), 25u);
  ASSERT_EQ(snr.size(), 29u * 25u);
  TPointResults results;
  for (int h = 0; h < 25; ++h) results.Muf[h] = muf[size_t(h)];
  for (int f = 2; f <= 30; ++f)
    for (int h = 0; h < 25; ++h) results.Snr[f][h] = snr[size_t((f - 2) * 25 + h)];
  TRgbImage expected;
  PaintChart(results, TChartOptions{true, true}, expected);
  EXPECT_EQ(fromPng, expected);

  // Without the options: no frames, no curve.
  ASSERT_EQ(Cli(kChart + " --png " + png).code, 0);
  PaintChart(results, TChartOptions{}, expected);
  EXPECT_EQ(ReadPng(png), expected);
}

TEST(CliImage, AreaFilesHoldTheMapWithTheOverlaysAskedFor) {
  std::filesystem::remove_all(Root() + "cache");
  const std::string png = Root() + "map.png", bmp = Root() + "map.bmp";
  Result r = Cli(kArea + " --png " + png + " --style pseudo");
  ASSERT_EQ(r.code, 0);
  const auto snr = Numbers(r.out, "snr", false);
  ASSERT_EQ(snr.size(), 31u * 31u);
  TVoaGrid grid = MakeGrid(31);
  for (int i = 0; i < 31; ++i)
    for (int j = 0; j < 31; ++j) grid[size_t(i)][size_t(j)].Snr = snr[size_t(i * 31 + j)];
  TMapModel model;
  model.MapStyle = msPseudo;
  model.SetData(grid);
  EXPECT_EQ(ReadPng(png), model.MapBitmap);

  // From the cache now, with the sun and the path; the BMP as well.
  r = Cli(kArea + " --bmp " + bmp + " --sun --path 35.4,139.6 --long");
  ASSERT_EQ(r.code, 0);
  model.SetStyle(msColor);
  TMapOverlays o;
  o.Sun = o.Path = o.LongPath = true;
  o.SunTime = SunTime(2008, 3, 12, 0);
  o.Home = TLocation{-79 * 180, 44 * 180};
  o.Dx = TLocation{140 * 180, 35 * 180};  // whole degrees, as the frames hold them
  auto fromBmp = DecodeBmp(ReadWholeFile(bmp).value_or(""));
  ASSERT_TRUE(fromBmp);
  EXPECT_EQ(*fromBmp, model.Compose(o));
}

// The engine's name as the JSON of a run gives it.
std::string EngineOf(const std::string& json) {
  std::smatch m;
  return std::regex_search(json, m, std::regex("\"engine\": \"([^\"]*)\"")) ? m[1].str() : std::string();
}

TEST(CliImage, DecoratedAndEnlargedPictures) {
  const std::string plain = Root() + "plain.png", big = Root() + "big.png", decorated = Root() + "decorated.bmp";
  ASSERT_EQ(Cli(kChart + " --png " + plain).code, 0);
  ASSERT_EQ(Cli(kChart + " --png " + big + " --scale 3").code, 0);
  ASSERT_EQ(Cli(kChart + " --bmp " + decorated + " --decorate --scale 2 --long").code, 0);
  const TRgbImage chart = ReadPng(plain);
  ASSERT_EQ(chart.Width, kChartWidth);
  EXPECT_EQ(ReadPng(big), ScaleImage(chart, 3));
  // The long path is another prediction: compare with its plain chart.
  ASSERT_EQ(Cli(kChart + " --png " + plain + " --long").code, 0);
  const std::string engine = EngineOf(Cli("predict --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50").out);
  ASSERT_FALSE(engine.empty());
  TPictureFacts facts;
  facts.Home = TLocation{-79 * 180, 44 * 180};
  facts.Dx = TLocation{0, 51 * 180};
  facts.LongPath = true;
  facts.Year = 2008, facts.Month = 3, facts.Ssn = 50;
  facts.Engine = engine;
  const auto title = PictureTitle(facts);
  EXPECT_EQ(title[0], "44\xB0 N   79\xB0 W to 51\xB0 N   0\xB0 E, long path");
  auto fromBmp = DecodeBmp(ReadWholeFile(decorated).value_or(""));
  ASSERT_TRUE(fromBmp);
  EXPECT_EQ(*fromBmp, DecorateChart(ReadPng(plain), TPictureDecor{2, title}).Image);

  // A map with its legend, from the same run as its plain picture.
  std::filesystem::remove_all(Root() + "cache");
  const std::string map = Root() + "map.png", legend = Root() + "legend.png";
  Result r = Cli(kArea + " --png " + map + " --style gray");
  ASSERT_EQ(r.code, 0);
  ASSERT_EQ(Cli(kArea + " --png " + legend + " --style gray --decorate").code, 0);
  facts = TPictureFacts{};
  facts.Map = true;
  facts.Home = TLocation{-79 * 180, 44 * 180};
  facts.Band = 3, facts.Hour = 12;
  facts.Year = 2008, facts.Month = 3, facts.Ssn = 50;
  facts.Engine = EngineOf(r.out);
  EXPECT_EQ(PictureTitle(facts)[1], "14 MHz at 12 UTC");
  EXPECT_EQ(ReadPng(legend), DecorateMap(ReadPng(map), msGray, TPictureDecor{1, PictureTitle(facts)}).Image);
}

TEST(CliImage, BadImageOptions) {
  EXPECT_EQ(Cli(kChart).code, 2);  // no file named
  for (const char* scale : {"0", "9", "two", "1.5"}) {
    EXPECT_EQ(Cli(kChart + " --png x.png --scale " + scale).code, 2) << scale;
    EXPECT_EQ(Cli(kArea + " --png x.png --scale " + scale).code, 2) << scale;
  }
  EXPECT_EQ(Cli(kChart + " --decorate").code, 2);
  EXPECT_EQ(Cli(kArea + " --decorate").code, 2);  // the JSON alone has nothing to decorate
  EXPECT_EQ(Cli(kArea + " --scale 2").code, 2);
  EXPECT_EQ(Cli(kArea + " --png x.png --style neon").code, 2);
  EXPECT_EQ(Cli(kArea + " --png x.png --path 95,0").code, 2);
  EXPECT_EQ(Cli("predict --home 44,-79 --dx 51,0 --year 2008 --month 3 --ssn 50 --png x.png").code, 2);
  EXPECT_EQ(Cli(kChart + " --png " + Root() + "no-such-folder/c.png").code, 1);
}

// A picture written into a pipe whose reader leaves early is a failed write,
// reported with exit 1; it does not kill the program with SIGPIPE. A FIFO
// nobody reads is refused at once instead of hanging.
TEST(CliImage, APipeWhoseReaderLeavesIsAFailureNotAKill) {
  MakeDirectories(Root());
  const std::string fifo = Root() + "chart.bmp";
  ::unlink(fifo.c_str());  // a FIFO left by an earlier run of the case
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Cli(kChart + " --bmp " + fifo).code, 1);  // nobody reads: refused, no hang

  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t reader = ::fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    // Opens without waiting for a writer, then reads one byte and leaves.
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ::fcntl(fd, F_SETFL, 0);
    (void)!::write(ready[1], "r", 1);
    char c;
    (void)!::read(fd, &c, 1);
    ::_exit(0);
  }
  char r = 0;
  ASSERT_EQ(::read(ready[0], &r, 1), 1);
  const std::string cmd = "HOME=" + Root() + "home XDG_CONFIG_HOME=" + Root() + "cfg XDG_CACHE_HOME=" + Root() +
                          "cache XDG_DATA_HOME=" + Root() + "data " + VX_CLI + " " + kChart + " --bmp " + fifo +
                          " --voacap " + VX_FAKE_VOACAP + " --itshfbc " + Root() + "itshfbc/ >/dev/null 2>&1";
  const int st = std::system(cmd.c_str());
  ::waitpid(reader, nullptr, 0);
  ASSERT_TRUE(WIFEXITED(st));
  // The shell reports a child killed by a signal as 128 + its number.
  EXPECT_EQ(WEXITSTATUS(st), 1) << "exit status " << WEXITSTATUS(st);
}
