#include "ui/text.h"

#include "checker/encoding.h"

namespace velmara {

QString ToQString(std::string_view windows1252) {
  return QString::fromStdString(Windows1252ToUtf8(windows1252));
}

std::string ToWindows1252(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

std::string ToWindows1252(const QString& text, UnheldCharacters& unheld) {
  return Utf8ToWindows1252(text.toStdString(), unheld);
}

QString ToQString(std::string_view windows1252, UnheldCharacters& unheld) {
  if (windows1252.find(kUnheldCharacter) == std::string_view::npos) return ToQString(windows1252);
  return QString::fromStdString(Windows1252ToUtf8(windows1252, unheld));
}

std::vector<std::size_t> WidePositions(std::string_view windows1252, const UnheldCharacters& unheld) {
  std::vector<std::size_t> positions;
  std::size_t next = 0;
  for (std::size_t i = windows1252.find(kUnheldCharacter); i != std::string_view::npos && next < unheld.codes.size();
       i = windows1252.find(kUnheldCharacter, i + 1)) {
    if (unheld.codes[next++] > 0xFFFF) positions.push_back(i);
  }
  return positions;
}

QColor ToQColor(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t ToColourValue(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace velmara
