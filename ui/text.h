#pragma once
// The edge between the engine's Windows-1252 texts and 0x00BBGGRR colours and Qt's QString and
// QColor. Each Windows-1252 byte becomes exactly one QChar, so character positions agree.

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmara {

QString ToQString(std::string_view windows1252);
// Characters without a Windows-1252 code become "?".
std::string ToWindows1252(const QString& text);

QColor ToQColor(std::uint32_t colour);
std::uint32_t ToColourValue(const QColor& colour);

}  // namespace velmara
