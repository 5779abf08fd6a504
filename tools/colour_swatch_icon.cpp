#include "tools/colour_swatch_icon.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPixmap>

#include "tools/colour_swatch.h"

namespace velmara {

QIcon MakeColourSwatch(const std::filesystem::path& programFolder, std::uint32_t colour) {
  QPixmap pixmap;
  std::error_code error;
  if (WriteColourSwatch(programFolder, colour, error)) {
    // Read into memory at once, as the file goes away right after. QImage rather than QPixmap:
    // the pixmap cache keys on name and time, and would hand the first colour to all five items.
    QImage picture;
    picture.load(QFile::decodeName(QByteArray::fromStdString((programFolder / kSwatchFile).string())), "BMP");
    pixmap = QPixmap::fromImage(picture);
    DeleteColourSwatch(programFolder);
  }
  if (pixmap.isNull()) {
    std::string bitmap = ColourSwatchBitmap(colour);
    pixmap.loadFromData(reinterpret_cast<const uchar*>(bitmap.data()), static_cast<uint>(bitmap.size()), "BMP");
  }
  return QIcon(pixmap);
}

}  // namespace velmara
