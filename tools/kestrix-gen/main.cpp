// kestrix-gen: writes generated inputs for the reference-data manager.
//   kestrix-gen fcc N OUT.zip [ZIPLST]   FCC archive with EN.dat of N records
//   kestrix-gen en N OUT                 the bare EN.dat
//   kestrix-gen ziplst OUT               ZipLst.lst
//   kestrix-gen rac N OUT.zip            Canadian registry archive (amateur.rpt)
//   kestrix-gen rda N OUT.rar            RDA list archive
//   kestrix-gen special N OUT.zip        Canadian special calls archive
//   kestrix-gen iota N OUT.kmz [DXCC PREFIX]  KMZ, and IotaDxcc.lst / Prefix.lst
//   kestrix-gen repeat N OUT.zip MEMBER [LINE]  a member of N bytes: LINE and
//                                        CR LF over and over (empty lines
//                                        without LINE); small, inflates big
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Gen.h"
#include "ZipWriter.h"
#include "common/FileUtil.h"

using namespace vx::gen;

static int Write(const std::string& path, const std::string& bytes) {
  if (vx::WriteFileAtomic(path, bytes)) return 0;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return 1;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kestrix-gen fcc|en|ziplst|rac|rda|special|iota|repeat ...\n");
    return 1;
  }
  const std::string what = argv[1];
  if (what == "ziplst") return Write(argv[2], GenerateZipList());
  if (argc < 4) return 1;
  const size_t n = std::strtoull(argv[2], nullptr, 10);
  const std::string out = argv[3];
  if (what == "en") {
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) return 1;
    TFccOptions o;
    o.Records = n;
    WriteFccEn(o, f);
    return std::fclose(f) == 0 ? 0 : 1;
  }
  if (what == "fcc") {
    TFccOptions o;
    o.Records = n;
    if (argc > 4 && Write(argv[4], GenerateZipList(o.ZipCodes))) return 1;
    return Write(out, ZipWith("EN.dat", GenerateFccEn(o)));
  }
  if (what == "rac") return Write(out, ZipWith("amateur.rpt", GenerateAmateurRpt(n)));
  if (what == "rda") return Write(out, ZipWith("rda.txt", GenerateRdaList(n)));
  if (what == "special") return Write(out, ZipWith("ind_speciaux.csv", GenerateSpecialCalls(n)));
  if (what == "repeat" && argc > 4) {
    TZipMember m;
    m.Name = argv[4];
    m.Data = std::string(argc > 5 ? argv[5] : "") + "\r\n";
    m.RepeatTo = n;
    TZipWriter w;
    w.Add(m);
    return Write(out, w.Build(9));
  }
  if (what == "iota") {
    if (argc > 5 && (Write(argv[4], GenerateIotaDxcc(n)) || Write(argv[5], GeneratePrefixList()))) return 1;
    return Write(out, ZipWith("doc.kml", GenerateIotaKml(n)));
  }
  std::fprintf(stderr, "unknown kind %s\n", what.c_str());
  return 1;
}
