#pragma once
// Conversions at the boundary: core text is UTF-8 std::string.
#include <QString>
#include <string>

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }
