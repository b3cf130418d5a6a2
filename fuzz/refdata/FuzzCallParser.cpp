// Any text typed into the call-sign box, against a fixed prefix list that
// uses every kind of entry and mask, and an exceptions list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "refdata/CallParser.h"

using namespace vx;

namespace {

const char* kPrefixList =
    "header\nheader\nheader\n"
    "0100|-17820|6840|United States|K|NA|5|8|5|291||||K,N,W,A[A-K]|\n"
    "0201|-14400|6300|Fourth area|K4|||||||||\"K4???\",[KNW]4.|\n"
    "0902|||Region nine||||||||||K4???|\n"
    "0302|-14000|6200|Region three||||||||||K4???,K4@/P|\n"
    "0203|-14100|6100|Deep area||||||||||K4#@@.|\n"
    "0100|bad|x|Broken|X|||||abc||||XX,X[-Z]|\n"
    "0100|-28346|3802|Hawaii|KH6|||||110||||KH[67],[AKNW]H6|\n"
    "0100|450|8460|France|F|||||227||||F,T[MOQ]|\n"
    "0100|0|-16200|Antarctica|CE9|||||13||||CE9,KC4@@,[|\n"
    "0100|1800|9000|Italy|I|||||248||||I,I[A-C-E]#|\n"
    "0100|-900|9540|England|G|||||223||||G,M,2[EI]|\n"
    "0600|-100|9900|Portable|G/P|||||500||||G/P,M/P|\n"
    "0100|-12600|7200|Canada|VE|||||1||||VE,VA,VO#.,CY0/?|\n"
    "0100|4500|10000|Dots|.|||||77||||..,#.,?/.|\n";

const char* kCallList = "K1XYZ 291\nDL1ZZZ=KH6\nAA1AA=9999\nAB1AB=0\nAC1AC=ADIF\nAD1AD=K1//\nAE1AE=-5\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TCallParser parser = [] {
    TCallParser p(TCallParserVariant::pvMain);
    if (p.PrefixList.LoadFromText(kPrefixList) != TLoadStatus::lsOk) __builtin_trap();
    p.CallList.SetText(kCallList);
    p.CallList.SetSorted(true);
    return p;
  }();
  parser.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const TPrefixData& r : parser.Results)
    if (r.Name.size() > 64) __builtin_trap();
  return 0;
}
