// Builds "ZipLst.lst", the United States ZIP codes with a region and a
// location that the FCC callbook builder reads, from Census data:
//  - the ZCTA gazetteer's internal points (ZIP code, latitude, longitude),
//  - the ZCTA-to-county relationship (ZIP code, state, county name),
//  - the county code list (state, county code, county name).
// Every ZIP code with a location gets one line, in ascending order:
//   columns 1-5 the code, 7-12 the region (state + county code in four
//   digits, "0000" when the county is not known), 14-23 the latitude and
//   25-35 the longitude in decimal degrees with six decimals; CR LF ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::ziplstgen {

struct TZipInputs {
  std::string_view Locations;    // "zcta<TAB>latitude<TAB>longitude", a header line first
  std::string_view Counties;     // "zcta<TAB>state<TAB>county name" (UTF-8), a header line first
  std::string_view CountyCodes;  // "state,statefp,countyfp,countyname,classfp", a header line first
};

struct TGeneratedZipList {
  std::string Text;
  size_t Codes = 0;             // lines written
  size_t WithCounty = 0;        // region with a county code
  size_t StateByTerritory = 0;  // state from the territories' fixed ZIP ranges
  size_t StateByPrefix = 0;     // state from other codes with the same first three digits
};

// Throws std::runtime_error naming the input and line when something does
// not fit: a malformed line, a repeated code, a coordinate out of range, or
// a code whose state cannot be told.
TGeneratedZipList GenerateZipList(const TZipInputs& in);

// ASCII form of a UTF-8 name for matching: the accented Latin letters lose
// their accents ("Doña Ana" -> "Dona Ana"); other text is unchanged.
std::string FoldAccents(std::string_view utf8);

}  // namespace vx::ziplstgen
