#pragma once
// The edge between the engine's Windows-1252 texts and 0x00BBGGRR colours and Qt's QString and
// QColor. Each Windows-1252 byte becomes exactly one QChar, so character positions agree.

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "checker/encoding.h"

namespace velmara {

QString ToQString(std::string_view windows1252);
// Characters without a Windows-1252 code become "?".
std::string ToWindows1252(const QString& text);
// Keeping the characters Windows-1252 cannot hold: each becomes kUnheldCharacter and waits in
// `unheld`; on the way back each kUnheldCharacter takes the next of them.
std::string ToWindows1252(const QString& text, UnheldCharacters& unheld);
QString ToQString(std::string_view windows1252, UnheldCharacters& unheld);
// The positions of the kUnheldCharacter bytes whose character takes two UTF-16 units in a QString;
// each moves the positions after it in a box one further.
std::vector<std::size_t> WidePositions(std::string_view windows1252, const UnheldCharacters& unheld);

QColor ToQColor(std::uint32_t colour);
std::uint32_t ToColourValue(const QColor& colour);

}  // namespace velmara
