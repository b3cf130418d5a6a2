// Numbers in the fixed columns of the model's text records, read and written
// as the reference's formatted I/O does it (gfortran F and I editing):
// - a field is cut from its columns; a line shorter than that reads as blanks;
// - blanks inside a field are ignored, an all-blank field is zero;
// - a real without a decimal point has `decimals` implied decimals
//   ("  1500" in a 7.3 field is 1.5, "1e2" is 0.001e2);
// - written, a value is rounded to nearest (ties to even, as the C library
//   does for gfortran) and a value too wide for its field is a failure (the
//   reference writes asterisks, which no later read accepts); a value that
//   rounds to zero is written without a sign (-fno-sign-zero).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx::model {

// The lines of a text: LF ends a line, a CR just before it is dropped; a last
// line without LF still counts.
std::vector<std::string_view> SplitTextLines(std::string_view bytes);

// Columns [column, column + width) of a line (1-based), blank-padded.
std::string FieldText(std::string_view line, int column, int width);

// F-editing input of a whole field's text. False when it is not a number.
bool ParseFixedReal(std::string_view field, int decimals, float &value);
// I-editing input of a whole field's text. False when it is not an integer.
bool ParseFixedInteger(std::string_view field, int32_t &value);

// The field at a column of a line, read as F`width`.`decimals` / I`width`.
bool ReadRealField(std::string_view line, int column, int width, int decimals, float &value);
bool ReadIntegerField(std::string_view line, int column, int width, int32_t &value);

// F`width`.`decimals` output, right-justified. False when it does not fit.
bool WriteFixedReal(float value, int width, int decimals, std::string &text);
// I`width` output. False when it does not fit.
bool WriteFixedInteger(int32_t value, int width, std::string &text);

// A value written as F`width`.`decimals` and read back the same way, as the
// reference does with its scratch files. False when the write overflows.
bool FixedRoundTrip(float value, int width, int decimals, float &result);

// The first item of list-directed input (`READ(lu,*)`) from line `at` on:
// blank lines are passed over, the item ends at a blank, comma or slash.
// On success `at` is the line after the one read. False at the end of the
// lines or when the item is empty.
bool NextListItem(const std::vector<std::string_view> &lines, std::size_t &at, std::string_view &item);
// The same item read as a list-directed real or integer.
bool ParseListReal(std::string_view item, float &value);
bool ParseListInteger(std::string_view item, int32_t &value);

} // namespace vx::model
