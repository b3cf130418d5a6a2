// Builds the model's coefficient file (ModelCoefficients.dat, see
// model/ModelData.h) from the ASCII coefficient tables published with VOACAP:
// coeff01.asc .. coeff12.asc and fof2CCIR.asc, fof2URSI.asc.
//
// The tables are read as the VOACAP tools that turn them into binaries read
// them (Fortran formatted input, 6E15.8 and 10I5): each table starts on a
// new line after its name line, six (ten) fields a line. The decimal text of
// every field is converted to the nearest float, which is what the Fortran
// run-time gives, so the result equals VOACAP's own binary tables bit for
// bit; CompareWithBinaries checks exactly that against an installation.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/ModelData.h"

namespace vx::modelgen {

// One coefficient file (coeffNN.asc) into month's tables. Returns an error
// ("line 12: ...") or an empty text.
std::string ParseMonthText(std::string_view text, int month, model::TMonthCoefficients& out);

// One foF2 file (fof2CCIR.asc or fof2URSI.asc): a title line, then for each
// month its "month= N" line and 13 x 76 x 2 values.
std::string ParseFoF2Text(std::string_view text, std::array<model::TFoF2Map, model::kMonthCount>& out);

struct TBuildResult {
  std::unique_ptr<model::TModelData> Data;  // null when Error is set
  std::string Error;                        // names the file
};

// Reads the 14 files of folder.
TBuildResult BuildFromFolder(const std::string& folder);

// One month as VOACAP's coeffNNw.bin holds it: nine Fortran unformatted
// sequential records (each framed by its 4-byte little-endian length).
std::string ParseMonthBinary(std::string_view bytes, model::TMonthCoefficients& out);

// A foF2 direct-access file (fof2CCIR.daw): twelve 7,904-byte records.
std::string ParseFoF2Binary(std::string_view bytes, std::array<model::TFoF2Map, model::kMonthCount>& out);

struct TComparison {
  size_t Values = 0;     // values compared
  size_t Different = 0;  // whose bits differ
  std::string Report;    // one line per file, then the total (or the error)
  bool Ok = false;       // every file read and every value equal
};

// Compares data with the binaries VOACAP made from the same tables
// (coeffNNw.bin, fof2CCIR.daw, fof2URSI.daw in folder), value by value.
TComparison CompareWithBinaries(const model::TModelData& data, const std::string& folder);

}  // namespace vx::modelgen
