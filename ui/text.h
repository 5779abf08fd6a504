#pragma once
// Text crossing into and out of widgets: the program works in Windows-1252, Qt in Unicode.

#include <QString>
#include <string>

namespace velmara {

QString FromWindows1252(const std::string& text);
// Characters that Windows-1252 lacks become "?".
std::string ToWindows1252(const QString& text);

}  // namespace velmara
