#include "worddb/countries.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "worddb/compiled_database.h"
#include "worddb/word_list_edit.h"
#include "worddb/word_record.h"

namespace velmara {

namespace fs = std::filesystem;

namespace {

// In the order of the compiled database's sources (kSourceFiles).
constexpr const char* kDifferenceFiles[][2] = {
    {kDictionaryFile, "diccionario.dif"}, {kVerbFile, "verbos.dif"}, {kProperNameFile, "npropios.dif"}};

bool Known(std::string_view code) {
  const auto& countries = SpanishCountries();
  return std::any_of(countries.begin(), countries.end(), [code](const CountryInfo& c) { return code == c.code; });
}

}  // namespace

const std::vector<CountryInfo>& SpanishCountries() {
  static const std::vector<CountryInfo> countries = {
      {"es_ES", "Espa\xF1" "a"},         {"es_AR", "Argentina"},      {"es_BO", "Bolivia"},
      {"es_CL", "Chile"},                {"es_CO", "Colombia"},       {"es_CR", "Costa Rica"},
      {"es_CU", "Cuba"},                 {"es_EC", "Ecuador"},        {"es_SV", "El Salvador"},
      {"es_US", "Estados Unidos"},       {"es_GT", "Guatemala"},      {"es_HN", "Honduras"},
      {"es_MX", "M\xE9xico"},            {"es_NI", "Nicaragua"},      {"es_PA", "Panam\xE1"},
      {"es_PY", "Paraguay"},             {"es_PE", "Per\xFA"},        {"es_PR", "Puerto Rico"},
      {"es_DO", "Rep\xFA" "blica Dominicana"}, {"es_UY", "Uruguay"}, {"es_VE", "Venezuela"},
  };
  return countries;
}

std::optional<std::string> CountryCode(std::string_view text) {
  if (text.size() != 5 || (text[2] != '_' && text[2] != '-')) return std::nullopt;
  std::string code;
  for (std::size_t i = 0; i < 5; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (i == 2) code += '_';
    else code += static_cast<char>(i < 2 ? std::tolower(c) : std::toupper(c));
  }
  if (!Known(code)) return std::nullopt;
  return code;
}

std::string CountryName(std::string_view code) {
  for (const CountryInfo& country : SpanishCountries())
    if (code == country.code) return country.name;
  return std::string(code);
}

std::string BaseCountry(const fs::path& databaseFolder) {
  std::ifstream in(databaseFolder / kBaseCountryFile);
  std::string line;
  if (in && std::getline(in, line)) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    if (auto code = CountryCode(line)) return *code;
  }
  return kDefaultCountry;
}

std::vector<std::string> InstalledCountries(const fs::path& databaseFolder) {
  const std::string base = BaseCountry(databaseFolder);
  std::vector<std::string> installed{base};
  for (const CountryInfo& country : SpanishCountries()) {
    if (country.code != base && CountryDifferencesFolder(databaseFolder, country.code)) installed.push_back(country.code);
  }
  return installed;
}

std::optional<fs::path> CountryDifferencesFolder(const fs::path& databaseFolder, std::string_view country) {
  if (country == BaseCountry(databaseFolder)) return fs::path();
  if (!Known(country)) return std::nullopt;
  const fs::path folder = databaseFolder.parent_path() / kCountriesFolder / std::string(country);
  // A folder without its files (an interrupted build, a removed package) is not offered.
  std::error_code error;
  for (const auto& names : kDifferenceFiles)
    if (!fs::is_regular_file(folder / names[1], error)) return std::nullopt;
  if (!fs::is_regular_file(folder / kFalsePositiveFile, error)) return std::nullopt;
  return folder;
}

bool ReadWordDifferences(const fs::path& file, WordDifferences& differences, const std::function<void()>& pump) {
  differences = {};
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return false;
  std::ifstream in(file, std::ios::binary);
  std::string bytes(fs::file_size(file, error), '\0');
  if (error || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
  const std::string_view magic = kDifferencesMagic;
  if (bytes.compare(0, magic.size(), magic) != 0) return false;
  std::string word;
  bool adding = false;
  for (std::size_t at = magic.size(); at < bytes.size();) {
    if (bytes.size() - at < 3) return false;
    const char kind = bytes[at];
    const auto shared = static_cast<unsigned char>(bytes[at + 1]);
    const auto length = static_cast<unsigned char>(bytes[at + 2]);
    at += 3;
    // Removed words come first; a word is never empty, never longer than a record holds, and
    // never takes more of the word before than that word has.
    if ((kind != '-' && kind != '+') || (kind == '-' && adding) || shared > word.size() ||
        shared + length == 0 || shared + length > kMaxWordLength || bytes.size() - at < length) {
      return false;
    }
    adding = kind == '+';
    word.resize(shared);
    word.append(bytes, at, length);
    at += length;
    std::vector<std::string>& words = adding ? differences.added : differences.removed;
    words.push_back(word);
    PumpEvery(pump, words.size(), 32768);
  }
  return true;
}

void ApplyWordDifferences(const WordDifferences& differences, std::vector<std::string>& words,
                          const std::function<void()>& pump) {
  if (!differences.removed.empty()) {
    // The removed words come in the order the base's list has them, so one walk finds them all;
    // any it does not find that way (a list in another order) are looked for by hash.
    std::size_t next = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
      PumpEvery(pump, i, 32768);
      if (next < differences.removed.size() && words[i] == differences.removed[next]) {
        ++next;
        continue;
      }
      if (kept != i) words[kept] = std::move(words[i]);
      ++kept;
    }
    words.resize(kept);
    if (next != differences.removed.size()) {
      const std::unordered_set<std::string_view> removed(differences.removed.begin() + static_cast<std::ptrdiff_t>(next),
                                                         differences.removed.end());
      words.erase(std::remove_if(words.begin(), words.end(),
                                 [&removed](const std::string& word) { return removed.count(word) != 0; }),
                  words.end());
    }
  }
  if (differences.added.empty()) return;
  // Merged as std::merge does (of equal words, the list's first), a step at a time.
  const std::vector<std::string>& added = differences.added;
  std::vector<std::string> merged;
  merged.reserve(words.size() + added.size());
  for (std::size_t i = 0, k = 0; i < words.size() || k < added.size();) {
    PumpEvery(pump, i + k, 32768);
    if (k == added.size() || (i < words.size() && !(added[k] < words[i])))
      merged.push_back(std::move(words[i++]));
    else
      merged.push_back(added[k++]);
  }
  words = std::move(merged);
}

bool LoadCountryDatabase(const fs::path& databaseFolder, const fs::path& differencesFolder, WordDatabase& database,
                         LoadHooks& hooks, const fs::path& cacheFolder, const StoredIndexBuilder& buildIndex) {
  if (differencesFolder.empty()) return LoadWordDatabase(databaseFolder, database, hooks, cacheFolder, buildIndex);
  // Each list is changed as it is read, before it is indexed: one index, no second copy.
  const WordListEdit edit = [&differencesFolder, &hooks](const std::string& fileName, std::vector<std::string>& words) {
    for (const auto& names : kDifferenceFiles) {
      if (fileName != names[0]) continue;
      WordDifferences differences;
      const std::function<void()> pump = hooks.Pumping();
      if (!ReadWordDifferences(differencesFolder / names[1], differences, pump)) {
        hooks.ShowMessageBox(std::string("Fichero con formato Erroneo ..") + "\r\n" + names[1]);
        return false;
      }
      ApplyWordDifferences(differences, words, pump);
    }
    return true;
  };
  // The country's lists are compiled into the cache folder at their first load, from the base's
  // record files (or its compiled file, when it holds nothing else) and the country's own files:
  // a change to any of them makes the copy stale.
  SourceFiles sources = RecordSources(databaseFolder);
  const bool alone = sources.alone;
  if (alone) {
    sources = SourceFiles();
    sources.of[0] = {databaseFolder / kCompiledDatabaseFile};
  }
  for (std::size_t i = 0; i < 3; ++i) sources.of[i].push_back(differencesFolder / kDifferenceFiles[i][1]);
  sources.of[3] = {differencesFolder / kFalsePositiveFile};
  const bool cache = !cacheFolder.empty() && (alone || WorthCaching(databaseFolder));
  const fs::path cached = cache ? cacheFolder / CachedDatabaseName(databaseFolder, differencesFolder) : fs::path();
  const fs::path note = cache ? cacheFolder / kVerifiedDatabasesFile : fs::path();

  hooks.StartLoadingAnimation();
  const bool sound = LoadCachedDatabase(cached, sources, note, database, buildIndex, [&] {
    const bool edited = alone ? LoadEditedCompiledLists(databaseFolder, database, hooks, edit, note)
                              : LoadEditedRecordFiles(databaseFolder, database, hooks, edit);
    LoadFalsePositiveList(differencesFolder, database.falsePositives);
    return edited;
  }, hooks.Pumping());
  hooks.CloseLoadingAnimation();
  return sound;
}

}  // namespace velmara
