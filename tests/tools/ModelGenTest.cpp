// The coefficient-file generator on synthetic tables laid out as the
// published ASCII files: every value lands in its table, fields round to the
// nearest float as the Fortran run-time rounds them, damaged text is named by
// line, and the comparison with VOACAP-style binaries finds a changed value.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "ModelGen.h"
#include "common/FileUtil.h"
#include "common/LittleEndian.h"

using namespace vx;
using namespace vx::modelgen;
using model::TFoF2Map;
using model::TMonthCoefficients;

namespace {

// The tables of a coefficient file in its order, with their value counts.
struct TAsciiTable {
  const char* NameLine;
  size_t Count;
};
constexpr TAsciiTable kAsciiTables[] = {
    {"DUD(5,12,5)", 300},
    {"FAM(14,12)", 168},
    {"SYS(9,16,6)", 864},
    {"FAKP(29,16,6)", 2784},
    {"FAKABP(2,6)", 12},
    {"XFM3CF(9,49,2)", 882},
    {"ANEW(3),BNEW(3),ACHI(2),BCHI(2)", 10},
    {"FAKMAP(29,16)", 464},
    {"ABMAP(2,3)", 6},
    {"F2D(16,6,6)", 576},
    {"PERR(9,4,6)", 216},
    {"XESMCF(7,61,2)", 854},
    {"XPMAP(29,16,2)", 928},
    {"XESLCF(5,55,2)", 550},
    {"XESUCF(5,55,2)", 550},
    {"XERCOF(9,22,2)", 396},
};

// A distinct E15.8 field for value number k of a file (seed tells files apart).
std::string Field(size_t k, unsigned seed) {
  const unsigned long mantissa = (k * 7919ul + seed * 104729ul) % 100000000ul;
  const int exponent = int((k + seed) % 7) - 3;
  char text[32];
  std::snprintf(text, sizeof text, "%s.%08luE%+03d", (k + seed) % 3 == 0 ? "-" : " ", mantissa, exponent);
  std::string field(text);
  return std::string(15 - field.size(), ' ') + field;
}

// The C library's conversion, which the Fortran run-time uses as well.
float Nearest(const std::string& field) { return std::strtof(field.c_str(), nullptr); }

// Appends count fields, six a line, CR LF line ends as in the published files.
void AppendFields(std::string& text, std::vector<float>& values, size_t count, unsigned seed) {
  for (size_t k = 0; k < count; ++k) {
    std::string f = Field(values.size(), seed);
    text += f;
    values.push_back(Nearest(f));
    if (k % 6 == 5 || k + 1 == count) text += "\r\n";
  }
}

struct TSyntheticMonth {
  std::string Text;
  std::vector<int32_t> Ikim;
  std::vector<float> Values;  // in the file's order
};

TSyntheticMonth SyntheticMonth(int month) {
  TSyntheticMonth m;
  char line[64];
  std::snprintf(line, sizeof line, "month=%2d ASCII Ionospheric coefficient file (except foF2)\r\n", month);
  m.Text = line;
  m.Text += "IKIM(10,6)\r\n";
  for (int k = 0; k < 60; ++k) {
    m.Ikim.push_back((k * 7 + month) % 77);
    std::snprintf(line, sizeof line, "%5d", m.Ikim.back());
    m.Text += line;
    if (k % 10 == 9) m.Text += "\r\n";
  }
  for (const TAsciiTable& t : kAsciiTables) {
    m.Text += std::string(t.NameLine) + "\r\n";
    AppendFields(m.Text, m.Values, t.Count, unsigned(month));
  }
  return m;
}

struct TSyntheticFoF2 {
  std::string Text;
  std::vector<float> Values;  // 12 months
};

TSyntheticFoF2 SyntheticFoF2(unsigned seed) {
  TSyntheticFoF2 f;
  f.Text = "foF2 for synthetic coefficients\r\n";
  for (int month = 1; month <= 12; ++month) {
    f.Text += "month=" + std::string(month < 10 ? " " : "") + std::to_string(month) + "\r\n";
    AppendFields(f.Text, f.Values, TFoF2Map::kSize, seed);
  }
  return f;
}

// The float tables of a parsed month in the file order of kAsciiTables.
std::vector<float> InAsciiOrder(const TMonthCoefficients& m) {
  std::vector<float> out;
  auto add = [&](const auto& t) { out.insert(out.end(), t.Data.begin(), t.Data.end()); };
  add(m.dud), add(m.fam), add(m.sys), add(m.fakp), add(m.fakabp), add(m.xfm3cf);
  add(m.anew), add(m.bnew), add(m.achi), add(m.bchi);
  add(m.fakmap), add(m.abmap), add(m.f2d), add(m.perr), add(m.xesmcf), add(m.xpmap);
  add(m.xeslcf), add(m.xesucf), add(m.xercof);
  return out;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// A Fortran unformatted sequential record around the values.
template <typename T>
void AppendRecord(std::string& out, const std::vector<T>& values) {
  AppendLE32(out, uint32_t(values.size() * 4));
  for (T v : values) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    AppendLE32(out, bits);
  }
  AppendLE32(out, uint32_t(values.size() * 4));
}

// coeffNNw.bin as VOACAP's converter writes it: nine records, each the
// values of one WRITE statement.
std::string MonthBinary(const TSyntheticMonth& m) {
  // Offsets of the tables in the ASCII order (kAsciiTables).
  std::vector<size_t> start;
  size_t at = 0;
  for (const TAsciiTable& t : kAsciiTables) start.push_back(at), at += t.Count;
  auto table = [&](size_t i) {
    return std::vector<float>(m.Values.begin() + long(start[i]),
                              m.Values.begin() + long(start[i] + kAsciiTables[i].Count));
  };
  auto join = [&](std::initializer_list<size_t> list) {
    std::vector<float> out;
    for (size_t i : list) {
      auto t = table(i);
      out.insert(out.end(), t.begin(), t.end());
    }
    return out;
  };
  std::string out;
  AppendRecord(out, m.Ikim);
  AppendRecord(out, join({3, 4}));     // FAKP, FAKABP
  AppendRecord(out, join({0, 1, 2}));  // DUD, FAM, SYS
  AppendRecord(out, join({5}));        // XFM3CF
  AppendRecord(out, join({9, 10}));    // F2D, PERR
  AppendRecord(out, join({6, 7, 8}));  // ANEW..BCHI, FAKMAP, ABMAP
  AppendRecord(out, join({11, 12}));   // XESMCF, XPMAP
  AppendRecord(out, join({13, 14}));   // XESLCF, XESUCF
  AppendRecord(out, join({15}));       // XERCOF
  return out;
}

std::string FoF2Binary(const TSyntheticFoF2& f) {
  std::string out;
  for (float v : f.Values) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    AppendLE32(out, bits);
  }
  return out;
}

std::string Line(const std::string& text, size_t number) {
  size_t at = 0;
  for (size_t n = 1; n < number; ++n) at = text.find('\n', at) + 1;
  return text.substr(at, text.find('\n', at) - at);
}

std::string ReplaceLine(std::string text, size_t number, const std::string& with) {
  size_t at = 0;
  for (size_t n = 1; n < number; ++n) at = text.find('\n', at) + 1;
  return text.replace(at, text.find('\n', at) - at, with);
}

}  // namespace

TEST(ModelGen, MonthTextFillsEveryTableInOrder) {
  TSyntheticMonth synthetic = SyntheticMonth(4);
  auto m = std::make_unique<TMonthCoefficients>();
  ASSERT_EQ(ParseMonthText(synthetic.Text, 4, *m), "");
  EXPECT_TRUE(std::equal(m->ikim.Data.begin(), m->ikim.Data.end(), synthetic.Ikim.begin()));
  EXPECT_TRUE(SameBits(InAsciiOrder(*m), synthetic.Values));
  // The one READ that fills four small tables: ANEW(3), BNEW(3), ACHI(2), BCHI(2).
  const size_t first = 300 + 168 + 864 + 2784 + 12 + 882;
  EXPECT_EQ(m->anew(1), synthetic.Values[first]);
  EXPECT_EQ(m->bnew(3), synthetic.Values[first + 5]);
  EXPECT_EQ(m->achi(1), synthetic.Values[first + 6]);
  EXPECT_EQ(m->bchi(2), synthetic.Values[first + 9]);
  // First index fastest: DUD(2,1,1) is the second value of the file.
  EXPECT_EQ(m->dud(2, 1, 1), synthetic.Values[1]);
  EXPECT_EQ(m->dud(1, 2, 1), synthetic.Values[5]);
}

TEST(ModelGen, FieldsRoundToTheNearestFloat) {
  TSyntheticMonth synthetic = SyntheticMonth(1);
  // Line 10 holds the first six DUD values.
  const std::string fields =
      "  .16777217E+08"   // halfway between two floats: to the even one
      "  .33554435E+08"   // nearer the float above
      " -.10000000E+00"   // no float is exactly 0.1
      "-.5000 0000E+01"   // blanks inside a field are ignored
      "  .25000000D+01"   // a D exponent
      "  .11754944E-37";  // the smallest normal float
  auto m = std::make_unique<TMonthCoefficients>();
  ASSERT_EQ(ParseMonthText(ReplaceLine(synthetic.Text, 10, fields + "\r"), 1, *m), "");
  EXPECT_EQ(m->dud(1, 1, 1), 16777216.0f);
  EXPECT_EQ(m->dud(2, 1, 1), 33554436.0f);
  EXPECT_EQ(m->dud(3, 1, 1), -0.1f);
  EXPECT_EQ(m->dud(4, 1, 1), -5.0f);
  EXPECT_EQ(m->dud(5, 1, 1), 2.5f);
  EXPECT_EQ(m->dud(1, 2, 1), 0x1p-126f);
}

TEST(ModelGen, DamagedMonthTextIsNamedByLine) {
  const TSyntheticMonth synthetic = SyntheticMonth(2);
  auto m = std::make_unique<TMonthCoefficients>();
  EXPECT_EQ(ParseMonthText(synthetic.Text, 3, *m), "line 1: expected the line of month 3");
  EXPECT_EQ(ParseMonthText(ReplaceLine(synthetic.Text, 60, "FAN(14,12)\r"), 2, *m), "line 60: expected the name FAM");
  EXPECT_EQ(ParseMonthText(ReplaceLine(synthetic.Text, 10, Line(synthetic.Text, 10).substr(0, 80)), 2, *m),
            "DUD, line 10: the line is too short");
  std::string letters = Line(synthetic.Text, 11);
  letters[20] = 'x';
  EXPECT_EQ(ParseMonthText(ReplaceLine(synthetic.Text, 11, letters), 2, *m), "DUD, line 11: field 2 is not a number");
  // A field without its decimal point would get implied decimals in Fortran.
  EXPECT_EQ(
      ParseMonthText(ReplaceLine(synthetic.Text, 12, "     123456E+01" + Line(synthetic.Text, 12).substr(15)), 2, *m),
      "DUD, line 12: field 1 is not a number");
  EXPECT_EQ(ParseMonthText(synthetic.Text.substr(0, synthetic.Text.size() - 184), 2, *m),
            "XERCOF, the file ends inside a table");
  std::string ikim = Line(synthetic.Text, 3);
  ikim[4] = '?';
  EXPECT_EQ(ParseMonthText(ReplaceLine(synthetic.Text, 3, ikim), 2, *m), "line 3: field 1 is not a number");
}

TEST(ModelGen, FoF2TextHoldsTwelveMonths) {
  const TSyntheticFoF2 synthetic = SyntheticFoF2(5);
  auto maps = std::make_unique<std::array<TFoF2Map, 12>>();
  ASSERT_EQ(ParseFoF2Text(synthetic.Text, *maps), "");
  std::vector<float> all;
  for (const TFoF2Map& map : *maps) all.insert(all.end(), map.Data.begin(), map.Data.end());
  EXPECT_TRUE(SameBits(all, synthetic.Values));
  // 1 + 331 lines a month: the line of month 7 is line 1 + 6 * 331 + 1.
  EXPECT_EQ(ParseFoF2Text(ReplaceLine(synthetic.Text, 1988, "month= 8\r"), *maps),
            "month 7, line 1988: expected the line of month 7");
}

TEST(ModelGen, BinaryRecordsReadBackAndBadFramingIsRefused) {
  const TSyntheticMonth synthetic = SyntheticMonth(9);
  const std::string binary = MonthBinary(synthetic);
  EXPECT_EQ(binary.size(), 38552u);  // the size of VOACAP's coeffNNw.bin
  auto fromText = std::make_unique<TMonthCoefficients>();
  auto fromBinary = std::make_unique<TMonthCoefficients>();
  ASSERT_EQ(ParseMonthText(synthetic.Text, 9, *fromText), "");
  ASSERT_EQ(ParseMonthBinary(binary, *fromBinary), "");
  EXPECT_EQ(fromText->ikim.Data, fromBinary->ikim.Data);
  EXPECT_TRUE(SameBits(InAsciiOrder(*fromText), InAsciiOrder(*fromBinary)));

  std::string wrongLength = binary;
  PutLE32(wrongLength.data() + 248, 11180);
  EXPECT_EQ(ParseMonthBinary(wrongLength, *fromBinary), "a record of 11180 bytes, expected 11184");
  std::string badTrailer = binary;
  badTrailer[244] = 0;
  EXPECT_EQ(ParseMonthBinary(badTrailer, *fromBinary), "a record is cut or badly framed");
  EXPECT_EQ(ParseMonthBinary(binary + "x", *fromBinary), "bytes after the last record");
  EXPECT_EQ(ParseMonthBinary(binary.substr(0, 30000), *fromBinary), "a record is cut or badly framed");
  auto maps = std::make_unique<std::array<TFoF2Map, 12>>();
  EXPECT_EQ(ParseFoF2Binary(std::string(94847, '\0'), *maps), "the file is 94847 bytes, expected 94848");
}

TEST(ModelGen, FolderBuildsALoadableFileAndMatchesItsBinaries) {
  const std::string folder = testing::TempDir() + "/modelgen-synthetic";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (int month = 1; month <= 12; ++month) {
    TSyntheticMonth m = SyntheticMonth(month);
    const std::string nn = (month < 10 ? "0" : "") + std::to_string(month);
    ASSERT_TRUE(WriteFileAtomic(folder + "/coeff" + nn + ".asc", m.Text));
    ASSERT_TRUE(WriteFileAtomic(folder + "/coeff" + nn + "w.bin", MonthBinary(m)));
  }
  const TSyntheticFoF2 ccir = SyntheticFoF2(20);
  const TSyntheticFoF2 ursi = SyntheticFoF2(30);
  ASSERT_TRUE(WriteFileAtomic(folder + "/fof2CCIR.asc", ccir.Text));
  ASSERT_TRUE(WriteFileAtomic(folder + "/fof2URSI.asc", ursi.Text));
  ASSERT_TRUE(WriteFileAtomic(folder + "/fof2CCIR.daw", FoF2Binary(ccir)));
  ASSERT_TRUE(WriteFileAtomic(folder + "/fof2URSI.daw", FoF2Binary(ursi)));

  TBuildResult built = BuildFromFolder(folder);
  ASSERT_EQ(built.Error, "");
  EXPECT_EQ(built.Data->FoF2(model::TFoF2Set::fsUrsi, 12)(13, 76, 2), ursi.Values.back());
  EXPECT_EQ(built.Data->Month(12).ikim(10, 6), SyntheticMonth(12).Ikim.back());

  TComparison same = CompareWithBinaries(*built.Data, folder);
  EXPECT_TRUE(same.Ok) << same.Report;
  EXPECT_EQ(same.Values, 12u * 9620u + 2u * 23712u);
  EXPECT_EQ(same.Different, 0u);

  // The written file loads and holds the same tables.
  const std::string bytes = model::SerializeModelData(*built.Data);
  model::TModelDataLoad load = model::ParseModelData(bytes);
  ASSERT_EQ(load.Error, "");
  EXPECT_TRUE(model::SerializeModelData(*load.Data) == bytes);

  // One value changed in a binary is found; a missing binary fails the check.
  std::string daw = FoF2Binary(ursi);
  daw[5000] = static_cast<char>(daw[5000] ^ 1);
  ASSERT_TRUE(WriteFileAtomic(folder + "/fof2URSI.daw", daw));
  std::filesystem::remove(folder + "/coeff05w.bin");
  TComparison changed = CompareWithBinaries(*built.Data, folder);
  EXPECT_FALSE(changed.Ok);
  EXPECT_EQ(changed.Different, 1u);
  EXPECT_NE(changed.Report.find("fof2URSI.daw: 23712 values, 1 different"), std::string::npos) << changed.Report;
  EXPECT_NE(changed.Report.find("coeff05w.bin: cannot read the file"), std::string::npos) << changed.Report;

  std::filesystem::remove(folder + "/coeff07.asc");
  EXPECT_EQ(BuildFromFolder(folder).Error, folder + "/coeff07.asc: cannot read the file");
  std::filesystem::remove_all(folder);
}
