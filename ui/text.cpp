#include "ui/text.h"

#include "checker/encoding.h"

namespace velmara {

QString FromWindows1252(const std::string& text) { return QString::fromStdString(Windows1252ToUtf8(text)); }

std::string ToWindows1252(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

}  // namespace velmara
