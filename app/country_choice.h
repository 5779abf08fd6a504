#pragma once
// Which country's words a program checks: asked for on its command line (--country), else in
// VELMARA_COUNTRY, else the one chosen in "Configuración" ("Pais"), else the word database's own.
// The user's own files (Intellisense list, own words) are the same whatever the country.

#include <filesystem>
#include <optional>
#include <string>

#include "app/configuration.h"
#include "app/file_locations.h"

namespace velmara {

inline constexpr const char* kCountryVariable = "VELMARA_COUNTRY";

struct CountryChoice {
  std::string country;                   // es_MX
  std::filesystem::path differences;     // its folder of differences; empty for the database's own
  std::string error;                     // why the country asked for cannot be used (English)
};

// A country asked for on the command line or in the environment that is not installed is an
// error naming those that are; one stored in the configuration that is no longer installed gives
// way to the database's own, as a removed package must not stop the program.
CountryChoice ChooseCountry(const std::filesystem::path& databaseFolder, const std::optional<std::string>& requested,
                            const Environment& environment, const Settings& settings);

}  // namespace velmara
