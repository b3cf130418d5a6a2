// Texts between the bus (UTF-8, QString here) and the core (Windows-1252),
// and file names (the file system's bytes).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vx {

QString BusString(std::string_view cp1252);
// Characters Windows-1252 lacks become "?".
std::string CoreString(const QString& s);

QString BusFileName(const std::string& name);
std::string CoreFileName(const QString& name);

}  // namespace vx
