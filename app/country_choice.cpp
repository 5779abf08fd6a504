#include "app/country_choice.h"

#include "worddb/countries.h"

namespace velmara {

namespace {

std::string InstalledList(const std::filesystem::path& databaseFolder) {
  std::string list;
  for (const std::string& country : InstalledCountries(databaseFolder)) list += (list.empty() ? "" : " ") + country;
  return list;
}

}  // namespace

CountryChoice ChooseCountry(const std::filesystem::path& databaseFolder, const std::optional<std::string>& requested,
                            const Environment& environment, const Settings& settings) {
  CountryChoice choice;
  std::optional<std::string> asked = requested;
  const char* source = "--country";
  if (!asked || asked->empty()) {
    asked = environment(kCountryVariable);
    source = kCountryVariable;
  }
  if (asked && !asked->empty()) {
    const std::optional<std::string> code = CountryCode(*asked);
    const std::optional<std::filesystem::path> folder =
        code ? CountryDifferencesFolder(databaseFolder, *code) : std::nullopt;
    if (!folder) {
      choice.error = std::string(source) + ": '" + *asked + "' is " +
                     (code ? "not installed" : "not a Spanish-speaking country (es_MX, es-AR, ...)") +
                     "; installed: " + InstalledList(databaseFolder);
      return choice;
    }
    choice.country = *code;
    choice.differences = *folder;
    return choice;
  }
  if (const std::optional<std::string> stored = CountryCode(settings.Pais)) {
    if (const auto folder = CountryDifferencesFolder(databaseFolder, *stored)) {
      choice.country = *stored;
      choice.differences = *folder;
      return choice;
    }
  }
  choice.country = BaseCountry(databaseFolder);
  return choice;
}

}  // namespace velmara
