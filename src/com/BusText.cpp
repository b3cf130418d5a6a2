#include "com/BusText.h"

#include <QFile>

#include "common/QtText.h"

namespace vx {

QString BusString(std::string_view cp1252) { return FromCp1252(cp1252); }
std::string CoreString(const QString& s) { return ToCp1252(s); }

QString BusFileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }
std::string CoreFileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace vx
