#pragma once
// The swatches beside the five colour items of the "Colores" menu.

#include <QIcon>

#include <cstdint>
#include <filesystem>

namespace velmara {

// The swatch of one colour (0x00BBGGRR), passed through "color.bmp" in the program folder, which
// is removed again. When the folder cannot take the file the same picture is made in memory.
QIcon MakeColourSwatch(const std::filesystem::path& programFolder, std::uint32_t colour);

}  // namespace velmara
