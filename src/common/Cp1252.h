// Windows-1252, the code page of every text in the core, and Unicode. The
// one table of the system: texts cross to Unicode only at the edges (the
// window, JSON output) and come back through the same table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The character of one byte. 0x80..0x9F are the characters Windows-1252
// puts there; the five codes it leaves undefined (0x81 0x8D 0x8F 0x90 0x9D)
// give U+FFFD, the replacement character.
char32_t Cp1252ToCodePoint(unsigned char c);
// The byte of a character, or nothing when Windows-1252 has no such
// character (U+FFFD included).
std::optional<unsigned char> CodePointToCp1252(char32_t u);

// Appends the UTF-8 form of a code point (one that is not valid gives U+FFFD).
void AppendUtf8(std::string& out, char32_t u);

std::string Cp1252ToUtf8(std::string_view s);
// The same table for the edges that want UTF-16 (Qt).
char16_t Cp1252ToUnicode(unsigned char c);
std::u16string Cp1252ToUtf16(std::string_view s);
// Characters Windows-1252 lacks, and bytes that are not valid UTF-8, become
// the replacement byte.
std::string Utf8ToCp1252(std::string_view s, char replacement = '?');

}  // namespace vx
