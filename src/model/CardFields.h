// Fixed-column fields of a card, read as the reference's formatted READs
// read them: Iw, Fw.d, Aw and nX, with blanks ignored inside a field and an
// all-blank field read as zero. Unlike the reference, a field that is not a
// number is reported, never stopped on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::model {

class TCardFields {
public:
    explicit TCardFields(std::string_view image) : Image(image) {}

    // nX: skips columns.
    void Skip(int columns) { Next += columns; }
    // Iw: an optionally signed whole number. False when it is not one or
    // does not fit 32 bits.
    bool Int(int width, int32_t &value);
    // Fw.d: a decimal number with optional exponent; without a decimal
    // point the last d digits are decimals. False when it is not a finite
    // number.
    bool Real(int width, int decimals, float &value);
    // Aw: the columns as they are (blank beyond the end of the image).
    std::string Text(int width);
    // 1-based column of the next field.
    int Column() const { return int(Next) + 1; }

private:
    std::string Field(int width);

    std::string_view Image;
    std::size_t Next = 0;
};

} // namespace vx::model
