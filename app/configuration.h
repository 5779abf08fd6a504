#pragma once
// The settings kept in "Configuracion.ini" in the program folder, and the two fixed colours.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmara {

inline constexpr const char* kConfigurationFile = "Configuracion.ini";

// Colours are 0x00BBGGRR (red in the lowest byte).
struct Settings {
  std::int32_t Corregidos = 11558979;
  std::int32_t Verbos_Bien = 1426195;
  std::int32_t Hay_clipboard = 0;
  std::int32_t Crono = 0;
  std::int32_t Dificultad = 0;
  std::int32_t Inteligente = 0;
  std::int32_t Verbos_Duda = 12632256;
  // 1: automatic checks tell their counts in a notification, without raising the window.
  std::int32_t Avisar_sin_interrumpir = 0;
  // 1: advice on accents from the words around on accents from the words around (checker/context.h).
  std::int32_t Contexto = 1;
  // The country whose words are checked ("es_MX"), key "Pais" of section "Config"; empty: the
  // word database's own. Written only once it has been chosen.
  std::string Pais;
  // Not stored: set at every start.
  std::int32_t MissingColour = 255;
  std::int32_t FalsePositiveColour = 9461965;
};

// Sets the two colours that are the same on every start.
void SetFixedColours(Settings& settings);

// "get" reads the keys (defaults where the file or a key is missing); "save" writes the seven
// keys, and an option added since (Avisar_sin_interrumpir) once it is set or already in the
// file, and the country once it has been chosen, keeping every other line of the file. Any other action does nothing. Returns false when
// "save" could not write the file.
bool Configuration(std::string_view action, const std::filesystem::path& programFolder, Settings& settings);

}  // namespace velmara
