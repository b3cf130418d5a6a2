// The Qt edge of the base: the core's Windows-1252 texts as QString and back,
// through the one table in common/Cp1252.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vx {

QString FromCp1252(std::string_view s);
// Characters Windows-1252 lacks become "?".
std::string ToCp1252(const QString& s);

}  // namespace vx
