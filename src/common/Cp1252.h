// The one table from the core's Windows-1252 bytes to Unicode, for the edges
// that show text (widgets, JSON).
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Latin-1 except for the printable characters at 0x80..0x9F; the five bytes
// Windows-1252 leaves undefined there map to the control characters of the
// same number, as Windows itself converts them.
char16_t Cp1252ToUnicode(unsigned char c);
std::u16string Cp1252ToUtf16(std::string_view s);

}  // namespace vx
