#include "tools/colour_swatch.h"

#include "tools/replace_file.h"

namespace velmara {
namespace {

constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kWhiteColour = 0xFFFFFF;
// The box covers pixels 0 to 14 and is rounded all the way: a disc around pixel (7, 7).
constexpr int kDiscCentre = 7;
constexpr int kDiscRadiusSquared = 7 * 7 + 7;

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool InDisc(int x, int y) {
  int dx = x - kDiscCentre;
  int dy = y - kDiscCentre;
  return dx * dx + dy * dy <= kDiscRadiusSquared;
}

std::uint32_t SwatchPixel(int x, int y, std::uint32_t colour) {
  if (!InDisc(x, y)) return kWhiteColour;
  bool edge = !InDisc(x - 1, y) || !InDisc(x + 1, y) || !InDisc(x, y - 1) || !InDisc(x, y + 1);
  return edge ? kBlack : colour;
}

}  // namespace

std::string ColourSwatchBitmap(std::uint32_t colour) {
  constexpr std::uint32_t kHeaderSize = 14 + 40;
  constexpr std::uint32_t kRowSize = (kSwatchSize * 3 + 3) / 4 * 4;
  constexpr std::uint32_t kPixelSize = kRowSize * kSwatchSize;
  std::string out;
  out.reserve(kHeaderSize + kPixelSize);
  out += "BM";
  PutLittleEndian(out, kHeaderSize + kPixelSize, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, kHeaderSize, 4);
  PutLittleEndian(out, 40, 4);  // the plain information header
  PutLittleEndian(out, kSwatchSize, 4);
  PutLittleEndian(out, kSwatchSize, 4);  // positive: rows run from the bottom up
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  PutLittleEndian(out, 0, 4);  // no compression
  PutLittleEndian(out, kPixelSize, 4);
  PutLittleEndian(out, 2835, 4);  // 72 dots per inch
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  for (int y = kSwatchSize - 1; y >= 0; --y) {
    std::size_t rowStart = out.size();
    for (int x = 0; x < kSwatchSize; ++x) {
      std::uint32_t pixel = SwatchPixel(x, y, colour);
      out.push_back(static_cast<char>((pixel >> 16) & 0xFF));  // blue, green, red
      out.push_back(static_cast<char>((pixel >> 8) & 0xFF));
      out.push_back(static_cast<char>(pixel & 0xFF));
    }
    out.resize(rowStart + kRowSize, '\0');
  }
  return out;
}

bool WriteColourSwatch(const std::filesystem::path& programFolder, std::uint32_t colour, std::error_code& error) {
  return ReplaceFileContent(programFolder / kSwatchFile, ColourSwatchBitmap(colour), error);
}

void DeleteColourSwatch(const std::filesystem::path& programFolder) { DeleteFileQuietly(programFolder / kSwatchFile); }

}  // namespace velmara
