#pragma once
// The swatches beside the five colour items of the "Colores" menu.

#include <QIcon>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "app/configuration.h"

class QAction;

namespace velmara {

// The colour items in menu order: "Corregidos", "Faltantes", "Verbos correctos",
// "Verbos dudosos", "Falsos Positivos".
inline constexpr std::array<int, 5> kColourItemIds = {212, 213, 214, 226, 216};

// The swatch of one colour, passed through "color.bmp" in the program folder, which is removed
// again. When the folder cannot take the file the same picture is made in memory.
QIcon MakeColourSwatch(const std::filesystem::path& programFolder, std::uint32_t colour);

// Puts the swatch of each configured colour beside its item; `action` gives the menu item of an id.
void SetColourSwatches(const std::function<QAction*(int)>& action, const std::filesystem::path& programFolder,
                       const Settings& settings);

}  // namespace velmara
