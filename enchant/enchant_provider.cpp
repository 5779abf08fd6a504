// The detector as an Enchant 2 provider: GTK programs (gedit, GNOME Text Editor, Geany, Pidgin,
// WebKitGTK views) check Spanish through Enchant, and with this module they get our verdicts,
// accent corrections and suggestions. Enchant loads every module of its folder and calls
// init_enchant_provider; everything else is reached through the function pointers it is given.
//
// This code runs inside other people's programs, so it never prints, never throws into Enchant
// and never ends the process; a failure becomes Enchant's error text. Each dictionary has its own
// checker behind a lock taken only inside a call; the database, the settings and the suggester of
// a country are shared by every dictionary of that country and only read. Every installed country
// is offered ("es_MX", "es_AR", ...); "es" is the country the user chose, as for our own programs.

#include <dlfcn.h>
#include <enchant-provider.h>
#include <glib.h>

#include <cstdlib>
#include <map>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/configuration.h"
#include "app/country_choice.h"
#include "app/file_locations.h"
#include "checker/characters.h"
#include "checker/encoding.h"
#include "suggest/intellisense.h"
#include "suggest/suggester.h"
#include "suggest/word_check.h"
#include "worddb/countries.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

#ifndef VELMARA_ENCHANT_TO_BIN
#define VELMARA_ENCHANT_TO_BIN "../../../bin"
#endif

namespace velmara::enchant {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProviderName = "velmara";
constexpr const char* kProviderDescription = "Detector Velmara";
// Names a word database folder for every program that loads the module, as --db does for the
// terminal programs: its own Intellisense list and user's words come with it.
constexpr const char* kDatabaseVariable = "VELMARA_DB";

constexpr const char* kLanguageTag = "es";

// Where this module's file is: the installed program's folders are found from it.
fs::path ModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code error;
  const fs::path file = fs::canonical(info.dli_fname, error);
  return error ? fs::path(info.dli_fname).parent_path() : file.parent_path();
}

struct Paths {
  fs::path configurationFolder;
  fs::path databaseFolder;
  fs::path intellisenseFile;
  fs::path userWordsFile;
  fs::path cacheFolder;  // where a country's lists are kept compiled after their first load
};

Paths DecidePaths() {
  const FileLocations locations = DecideFileLocations(ModuleFolder() / VELMARA_ENCHANT_TO_BIN, ProcessEnvironment());
  Paths paths{locations.configurationFile.parent_path(), locations.databaseFolder, locations.intellisenseFile,
              locations.userWordsFile, locations.cacheFolder};
  if (const char* folder = std::getenv(kDatabaseVariable); folder != nullptr && *folder != '\0') {
    paths.databaseFolder = folder;
    paths.intellisenseFile = paths.databaseFolder / kIntellisenseFile;
    paths.userWordsFile = paths.databaseFolder / kUserWordsFile;
  }
  return paths;
}

Settings ReadSettings(const fs::path& configurationFolder) {
  Settings settings;
  SetFixedColours(settings);
  Configuration("get", configurationFolder, settings);
  return settings;
}

// The dictionary tags offered: "es", then every installed country (es_ES, es_AR, ... es_VE).
std::vector<std::string> OfferedTags(const fs::path& databaseFolder) {
  std::vector<std::string> tags{kLanguageTag};
  for (std::string& country : InstalledCountries(databaseFolder)) tags.push_back(std::move(country));
  return tags;
}

// The country a tag asks for (es_MX for "es_MX" or "es-MX"; for "es" the one the user chose, as
// our own programs choose it, or the database's own when that choice cannot be used); nothing
// when the tag is not one we offer.
std::optional<std::string> CountryOfTag(std::string_view tag, const Paths& paths) {
  if (tag == kLanguageTag) {
    const CountryChoice choice =
        ChooseCountry(paths.databaseFolder, std::nullopt, ProcessEnvironment(), ReadSettings(paths.configurationFolder));
    return choice.error.empty() ? choice.country : BaseCountry(paths.databaseFolder);
  }
  const std::optional<std::string> code = CountryCode(tag);
  if (!code || !CountryDifferencesFolder(paths.databaseFolder, *code)) return std::nullopt;
  return code;
}

// The word as the engine reads it, when Windows-1252 holds every character of it.
std::optional<std::string> EngineWord(std::string_view utf8) {
  bool lossless = true;
  std::string word = Utf8ToWindows1252(utf8, lossless);
  if (!lossless) return std::nullopt;
  return word;
}

// Words added to the user's list while the program runs, for the dictionaries of every country:
// each country's database is read without a lock, so these are kept beside them.
class AddedWords {
 public:
  bool Has(std::string_view key) const {
    std::shared_lock lock(lock_);
    return words_.count(std::string(key)) != 0;
  }
  void Add(std::string key) {
    std::unique_lock lock(lock_);
    words_.insert(std::move(key));
  }

 private:
  mutable std::shared_mutex lock_;
  std::unordered_set<std::string> words_;
};

// What every dictionary of one country reads: loaded at the first dictionary of that country,
// freed with the last one.
class Speller {
 public:
  // Null when the country's words cannot be loaded.
  static std::shared_ptr<Speller> Load(Paths paths, const std::string& country, std::shared_ptr<AddedWords> added) {
    const std::optional<fs::path> differences = CountryDifferencesFolder(paths.databaseFolder, country);
    if (!differences || !CheckWordDatabasePresent(paths.databaseFolder)) return nullptr;
    auto speller = std::shared_ptr<Speller>(new Speller(std::move(paths), std::move(added)));
    LoadHooks quiet;
    LoadCountryDatabase(speller->paths_.databaseFolder, *differences, speller->database_, quiet,
                        speller->paths_.cacheFolder, StoredSuggesterIndex);
    LoadUserWords(speller->paths_.userWordsFile, speller->database_);
    return speller;
  }

  const WordDatabase& database() const { return database_; }
  const Settings& settings() const { return settings_; }
  const Suggester& suggester() const { return suggester_; }
  const Paths& paths() const { return paths_; }

  bool Added(std::string_view key) const { return added_->Has(key); }
  void Add(std::string key) { added_->Add(std::move(key)); }

 private:
  Speller(Paths paths, std::shared_ptr<AddedWords> added)
      : paths_(std::move(paths)), settings_(ReadSettings(paths_.configurationFolder)), suggester_(database_),
        added_(std::move(added)) {}

  Paths paths_;
  Settings settings_;
  WordDatabase database_;
  Suggester suggester_;
  std::shared_ptr<AddedWords> added_;
};

// The key a word is remembered by when added: the lowercased engine word, or the UTF-8 text
// itself when Windows-1252 cannot hold it.
std::string AddedKey(std::string_view utf8) {
  if (std::optional<std::string> word = EngineWord(utf8)) return LowerCase(*word);
  return "\x01" + std::string(utf8);  // never the key of an engine word
}

class Dictionary {
 public:
  explicit Dictionary(std::shared_ptr<Speller> speller)
      : speller_(std::move(speller)),
        check_(speller_->database(), speller_->settings(), speller_->paths().intellisenseFile) {}

  bool Accepted(std::string_view utf8) {
    const std::string key = AddedKey(utf8);
    std::lock_guard lock(lock_);
    if (session_.count(key) != 0 || speller_->Added(key)) return true;
    const std::optional<std::string> word = EngineWord(utf8);
    if (!word) return false;  // no list holds a character Windows-1252 lacks
    std::string correction;
    return check_.Accepted(*word, correction);
  }

  // UTF-8 words: our correction first, then the suggester's.
  std::vector<std::string> Suggest(std::string_view utf8) {
    const std::string word = Utf8ToWindows1252(utf8);
    std::string correction;
    {
      std::lock_guard lock(lock_);
      check_.Accepted(word, correction);
    }
    std::vector<std::string> offered = OfferedWords(std::move(correction), word, speller_->suggester());
    for (std::string& each : offered) each = Windows1252ToUtf8(each);
    return offered;
  }

  void AddToSession(std::string_view utf8) {
    std::lock_guard lock(lock_);
    session_.insert(AddedKey(utf8));
  }

  // Empty, or why the user's list did not take the word (it is accepted all the same).
  std::string AddToPersonal(std::string_view utf8) {
    speller_->Add(AddedKey(utf8));
    return AppendUserWordUtf8(speller_->paths().userWordsFile, utf8);
  }

  // The user's choice of a replacement becomes an entry of the Intellisense list only when the
  // user turned that list on; otherwise nothing is written.
  void StoreReplacement(std::string_view misspelled, std::string_view correction) {
    if (speller_->settings().Inteligente != 1) return;
    const std::optional<std::string> key = EngineWord(misspelled);
    const std::optional<std::string> replacement = EngineWord(correction);
    if (!key || !replacement || key->empty() || replacement->empty()) return;
    if (key->find('|') != std::string::npos || replacement->find('|') != std::string::npos) return;
    const fs::path& file = speller_->paths().intellisenseFile;
    const std::string lowered = LowerCase(*key);
    if (!IntellisenseHasKey(file, lowered)) IntellisenseAppend(file, lowered + "|" + *replacement);
  }

 private:
  std::shared_ptr<Speller> speller_;
  std::mutex lock_;  // held only inside a call
  WordCheck check_;
  std::unordered_set<std::string> session_;
};

struct Provider {
  std::mutex lock;  // held only inside a call
  std::map<std::string, std::weak_ptr<Speller>> spellers;  // by country
  std::shared_ptr<AddedWords> added = std::make_shared<AddedWords>();
};

Dictionary* DictionaryOf(EnchantDict* me) { return static_cast<Dictionary*>(me->user_data); }
Provider* ProviderOf(EnchantProvider* me) { return static_cast<Provider*>(me->user_data); }

// Runs `body`; an exception never reaches the C caller: its text becomes the dictionary's error.
template <typename Result, typename Body>
Result Guarded(EnchantDict* me, Result failed, Body body) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    try {
      enchant_dict_set_error(me, error.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return failed;
}

std::string_view Text(const char* word, std::size_t length) {
  return word == nullptr ? std::string_view() : std::string_view(word, length);
}

// A GLib string vector of the words, which Enchant frees.
char** StringVector(const std::vector<std::string>& words, std::size_t* count) {
  char** vector = g_new0(char*, words.size() + 1);
  for (std::size_t i = 0; i < words.size(); ++i) vector[i] = g_strndup(words[i].data(), words[i].size());
  if (count != nullptr) *count = words.size();
  return vector;
}

int DictCheck(EnchantDict* me, const char* const word, size_t length) {
  return Guarded(me, -1, [&] { return DictionaryOf(me)->Accepted(Text(word, length)) ? 0 : 1; });
}

char** DictSuggest(EnchantDict* me, const char* const word, size_t length, size_t* count) {
  if (count != nullptr) *count = 0;
  return Guarded<char**>(me, nullptr, [&]() -> char** {
    const std::vector<std::string> offered = DictionaryOf(me)->Suggest(Text(word, length));
    if (offered.empty()) return nullptr;
    return StringVector(offered, count);
  });
}

void DictAddToPersonal(EnchantDict* me, const char* const word, size_t length) {
  Guarded(me, 0, [&] {
    const std::string failure = DictionaryOf(me)->AddToPersonal(Text(word, length));
    if (!failure.empty()) enchant_dict_set_error(me, ("cannot add the word to " + std::string(kUserWordsFile) + ": " + failure).c_str());
    return 0;
  });
}

void DictAddToSession(EnchantDict* me, const char* const word, size_t length) {
  Guarded(me, 0, [&] {
    DictionaryOf(me)->AddToSession(Text(word, length));
    return 0;
  });
}

void DictStoreReplacement(EnchantDict* me, const char* const misspelled, size_t misspelledLength,
                          const char* const correction, size_t correctionLength) {
  Guarded(me, 0, [&] {
    DictionaryOf(me)->StoreReplacement(Text(misspelled, misspelledLength), Text(correction, correctionLength));
    return 0;
  });
}

// A word runs as the detector's tokeniser reads it: every character that is not a separator of
// the engine, and characters Windows-1252 lacks below the punctuation block (other alphabets,
// combining marks), as the ispell pipe reads them.
int DictIsWordCharacter(EnchantDict*, uint32_t code, size_t) {
  char byte = 0;
  if (!Windows1252Of(static_cast<char32_t>(code), byte)) return code >= 0x80 && code < 0x2000 ? 1 : 0;
  return IsSeparatorChar(static_cast<unsigned char>(byte)) ? 0 : 1;
}

EnchantDict* ProviderRequestDict(EnchantProvider* me, const char* const tag) {
  try {
    // Another language is no business of ours, whatever is installed.
    if (tag == nullptr || (tag != std::string_view(kLanguageTag) && !CountryCode(tag))) return nullptr;
    Paths paths = DecidePaths();
    if (!CheckWordDatabasePresent(paths.databaseFolder)) {
      enchant_provider_set_error(me, "no Velmara word database is installed");
      return nullptr;
    }
    const std::optional<std::string> country = CountryOfTag(tag, paths);
    if (!country) return nullptr;
    Provider* provider = ProviderOf(me);
    std::shared_ptr<Speller> speller;
    {
      // Held while a country loads: a second dictionary of it waits and shares it.
      std::lock_guard lock(provider->lock);
      speller = provider->spellers[*country].lock();
      if (!speller) {
        speller = Speller::Load(std::move(paths), *country, provider->added);
        if (!speller) {
          enchant_provider_set_error(me, ("the words of " + *country + " cannot be loaded").c_str());
          return nullptr;
        }
        provider->spellers[*country] = speller;
      }
    }
    auto dictionary = std::make_unique<Dictionary>(std::move(speller));
    EnchantDict* dict = g_new0(EnchantDict, 1);
    dict->user_data = dictionary.release();
    dict->check = DictCheck;
    dict->suggest = DictSuggest;
    dict->add_to_personal = DictAddToPersonal;
    dict->add_to_session = DictAddToSession;
    dict->store_replacement = DictStoreReplacement;
    dict->is_word_character = DictIsWordCharacter;
    return dict;
  } catch (const std::exception& error) {
    try {
      enchant_provider_set_error(me, error.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return nullptr;
}

void ProviderDisposeDict(EnchantProvider*, EnchantDict* dict) {
  if (dict == nullptr) return;
  delete DictionaryOf(dict);
  g_free(dict);
}

int ProviderDictionaryExists(EnchantProvider*, const char* const tag) {
  try {
    if (tag == nullptr) return 0;
    const Paths paths = DecidePaths();
    return CheckWordDatabasePresent(paths.databaseFolder) && CountryOfTag(tag, paths) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

char** ProviderListDicts(EnchantProvider*, size_t* count) {
  if (count != nullptr) *count = 0;
  try {
    const fs::path databaseFolder = DecidePaths().databaseFolder;
    if (!CheckWordDatabasePresent(databaseFolder)) return nullptr;
    return StringVector(OfferedTags(databaseFolder), count);
  } catch (...) {
    return nullptr;
  }
}

const char* ProviderIdentify(EnchantProvider*) { return kProviderName; }
const char* ProviderDescribe(EnchantProvider*) { return kProviderDescription; }

void ProviderDispose(EnchantProvider* me) {
  if (me == nullptr) return;
  delete ProviderOf(me);
  g_free(me);
}

}  // namespace
}  // namespace velmara::enchant

extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider(void) {
  using namespace velmara::enchant;
  try {
    auto state = std::make_unique<Provider>();
    EnchantProvider* provider = g_new0(EnchantProvider, 1);
    provider->user_data = state.release();
    provider->dispose = ProviderDispose;
    provider->request_dict = ProviderRequestDict;
    provider->dispose_dict = ProviderDisposeDict;
    provider->dictionary_exists = ProviderDictionaryExists;
    provider->identify = ProviderIdentify;
    provider->describe = ProviderDescribe;
    provider->list_dicts = ProviderListDicts;
    return provider;
  } catch (...) {
    return nullptr;
  }
}
