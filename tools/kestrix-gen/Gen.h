// Generators of realistic inputs for the reference-data manager: the
// registries, lists and archives it downloads, and the lookup files it reads.
// Repeatable for a given seed (tests rely on counts and structure only).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vx::gen {

// "ZipLst.lst": count ZIP codes in ascending order (code i = ZipCode(i)).
std::string GenerateZipList(size_t count = 3000);
std::string ZipCode(size_t i);   // 5 digits; codes are 29 apart
std::string ZipState(size_t i);  // the state of the i-th code's region

struct TFccOptions {
  size_t Records = 1000;
  uint64_t Seed = 1;
  size_t ZipCodes = 3000;    // must match the ZipLst.lst in use
  double SplitShare = 0.01;  // records broken over two lines
};

// "EN.dat" of the FCC licence database: "|"-separated records ending in
// CR LF; ZIP codes found, found under another state, absent, cut short.
std::string GenerateFccEn(const TFccOptions& o);
// The same text written straight to a file (for files of hundreds of MB).
void WriteFccEn(const TFccOptions& o, std::FILE* out);

// "amateur.rpt": the Canadian registry in fixed columns, with a header line.
std::string GenerateAmateurRpt(size_t records, uint64_t seed = 1);
// The RDA list: a header line, then "CALL ... district at columns 71-75".
std::string GenerateRdaList(size_t records, uint64_t seed = 1);
// The Canadian special call signs, ";"-separated with a header line.
std::string GenerateSpecialCalls(size_t records, uint64_t seed = 1);
// The IOTA KML document with count placemarks.
std::string GenerateIotaKml(size_t count, uint64_t seed = 1);
// "IotaDxcc.lst" for the references GenerateIotaKml uses (most of them).
std::string GenerateIotaDxcc(size_t count);
// A small "Prefix.lst" with the country entries those lists refer to.
std::string GeneratePrefixList();

// Archives as the sources publish them.
std::string ZipWith(const std::string& memberName, const std::string& data);

}  // namespace vx::gen
