#pragma once
// The Spanish of every country. One word database folder ("palabrasbd") holds the full word lists
// of one country, the base; each other country is a folder beside it, "paises/<country>", that
// holds only how its lists differ from the base's (the forms it removes and adds, one file a
// list) and its own "Falsos Positivos.txt". Loading a country loads the base and applies them.
//
// A difference file ("diccionario.dif", "verbos.dif", "npropios.dif") is the line
// "VELMARA-DIF 1" and then one entry per word, the removed words first, each sorted:
//   one byte '-' (removed) or '+' (added), one byte: how many leading bytes it shares with the
//   word before it, one byte: how many bytes follow, and those bytes (Windows-1252).
// The folder's base country is named in "pais.txt" beside the lists (es_ES when it is absent).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "worddb/word_database.h"

namespace velmara {

inline constexpr const char* kCountriesFolder = "paises";     // beside the base's folder
inline constexpr const char* kBaseCountryFile = "pais.txt";   // in the base's folder
inline constexpr const char* kDefaultCountry = "es_ES";
inline constexpr const char* kDifferencesMagic = "VELMARA-DIF 1\n";

// The code of every Spanish-speaking country we know, in the form es_MX, with its name
// (Windows-1252), Spain first and the others in the order of their names.
struct CountryInfo {
  const char* code;
  const char* name;
};
const std::vector<CountryInfo>& SpanishCountries();

// "es_MX", "es-MX", "es-mx" or "ES_mx" as es_MX; nothing for anything else (not Spanish, or a
// country we do not know).
std::optional<std::string> CountryCode(std::string_view text);

// The country's name ("México"), or the code itself when it is not one of ours.
std::string CountryName(std::string_view code);

// The country of the lists in `databaseFolder` (its "pais.txt", or es_ES).
std::string BaseCountry(const std::filesystem::path& databaseFolder);

// The countries a program can offer with this database folder: its base, then every country
// with a folder of differences beside it, in the order of SpanishCountries().
std::vector<std::string> InstalledCountries(const std::filesystem::path& databaseFolder);

// The folder of the differences of `country`: empty for the base itself, nothing when the
// country is not installed.
std::optional<std::filesystem::path> CountryDifferencesFolder(const std::filesystem::path& databaseFolder,
                                                              std::string_view country);

// The words of one difference file, in Windows-1252. False when the file is missing or damaged.
struct WordDifferences {
  std::vector<std::string> removed;
  std::vector<std::string> added;
};
bool ReadWordDifferences(const std::filesystem::path& file, WordDifferences& differences,
                         const std::function<void()>& pump = {});

// `words` without the removed words, with the added ones merged in (sorted words stay sorted);
// `pump`, when given, is called every few milliseconds.
void ApplyWordDifferences(const WordDifferences& differences, std::vector<std::string>& words,
                          const std::function<void()>& pump = {});

// Loads the base lists of `databaseFolder` (as LoadWordDatabase does, `cacheFolder` and
// `buildIndex` with it) and, for another country, the base's lists (from its record files, or
// from its compiled file when the folder holds nothing else) with its differences applied and its
// false positives. A damaged difference file shows the loader's message for that file and leaves
// the list as the base has it; false then, as for a damaged list.
//
// With a cache folder, another country's lists are compiled there at their first load (with the
// suggester's index `buildIndex` gives) and read in place at the next ones, as long as the copy
// is sound and the base's record files and the country's files are those it was made from.
bool LoadCountryDatabase(const std::filesystem::path& databaseFolder, const std::filesystem::path& differencesFolder,
                         WordDatabase& database, LoadHooks& hooks, const std::filesystem::path& cacheFolder = {},
                         const StoredIndexBuilder& buildIndex = {});

}  // namespace velmara
