#include "ui/text.h"

#include <array>

#include "checker/encoding.h"

namespace velmara {

namespace {

// The UTF-16 unit of every Windows-1252 byte: each is one unit, in the Basic Multilingual Plane.
std::array<char16_t, 256> MakeUnitTable() {
  std::array<char16_t, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    const QString one = QString::fromStdString(Windows1252ToUtf8(std::string(1, static_cast<char>(byte))));
    table[static_cast<std::size_t>(byte)] = one.at(0).unicode();
  }
  return table;
}

}  // namespace

QString ToQString(std::string_view windows1252) {
  static const std::array<char16_t, 256> units = MakeUnitTable();
  QString out(static_cast<qsizetype>(windows1252.size()), Qt::Uninitialized);
  QChar* to = out.data();
  for (char c : windows1252) *to++ = QChar(units[static_cast<unsigned char>(c)]);
  return out;
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
