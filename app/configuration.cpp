#include "app/configuration.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/profile.h"

namespace velmara {
namespace {

struct StoredSetting {
  const char* section;
  const char* key;
  std::int32_t defaultValue;
  std::int32_t Settings::*member;
  // Added beyond the program's first seven keys: written once it differs from its default or is
  // in the file already, so a file of someone who never changed it keeps its seven keys.
  bool added = false;
};

// In the order the keys are read and written.
constexpr std::array<StoredSetting, 9> kStoredSettings{{
    {"Colores", "Corregidos", 11558979, &Settings::Corregidos},
    {"Colores", "Verbos_Bien", 1426195, &Settings::Verbos_Bien},
    {"Config", "Hay_clipboard", 0, &Settings::Hay_clipboard},
    {"Config", "Crono", 0, &Settings::Crono},
    {"Config", "Dificultad", 0, &Settings::Dificultad},
    {"Config", "Inteligente", 0, &Settings::Inteligente},
    {"Colores", "Verbos_Duda", 12632256, &Settings::Verbos_Duda},
    {"Config", "Avisar_sin_interrumpir", 0, &Settings::Avisar_sin_interrumpir, true},
    {"Config", "Contexto", 1, &Settings::Contexto, true},
}};

}  // namespace

void SetFixedColours(Settings& settings) {
  settings.MissingColour = 255;
  settings.FalsePositiveColour = 9461965;
}

bool Configuration(std::string_view action, const std::filesystem::path& programFolder, Settings& settings) {
  const auto file = programFolder / kConfigurationFile;
  if (action == "get") {
    const ProfileFile profile = ProfileFile::Read(file);
    for (const auto& stored : kStoredSettings) {
      std::string text = profile.Get(stored.section, stored.key, std::to_string(stored.defaultValue));
      settings.*stored.member = LeadingNumber(text);
    }
    settings.Pais = profile.Get("Config", "Pais", "");
    return true;
  }
  if (action == "save") {
    std::array<std::string, kStoredSettings.size()> values;
    std::vector<ProfileEntry> entries;
    std::optional<ProfileFile> present;
    for (std::size_t i = 0; i < kStoredSettings.size(); ++i) {
      const StoredSetting& stored = kStoredSettings[i];
      if (stored.added && settings.*stored.member == stored.defaultValue) {
        if (!present) present = ProfileFile::Read(file);
        constexpr std::string_view kAbsent = "\x01";
        if (present->Get(stored.section, stored.key, kAbsent) == kAbsent) continue;
      }
      values[i] = std::to_string(settings.*stored.member);
      entries.push_back({stored.section, stored.key, values[i]});
    }
    if (!settings.Pais.empty()) entries.push_back({"Config", "Pais", settings.Pais});
    return WritePrivateProfileStrings(entries, file);
  }
  return true;
}

}  // namespace velmara
