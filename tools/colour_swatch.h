#pragma once
// The small picture of a colour shown beside each colour item of the "Colores" menu. It passes
// through the short-lived file "color.bmp" in the folder given (the program folder, or the
// cache folder of an installed program).

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace velmara {

inline constexpr const char* kSwatchFile = "color.bmp";
inline constexpr int kSwatchSize = 16;

// A 16 x 16, 24-bit Windows bitmap: white, with a round box of `colour` (0x00BBGGRR) outlined in
// black.
std::string ColourSwatchBitmap(std::uint32_t colour);

bool WriteColourSwatch(const std::filesystem::path& programFolder, std::uint32_t colour, std::error_code& error);
// Removes "color.bmp"; failures are ignored.
void DeleteColourSwatch(const std::filesystem::path& programFolder);

}  // namespace velmara
