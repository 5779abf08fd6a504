#pragma once
// Checks one request's text against the shared word database and answers in the LanguageTool
// API's JSON. One service serves every request at once: the database, the settings and the
// suggester are only read, and each check has its own state and classifier.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "app/configuration.h"
#include "server/country_databases.h"
#include "server/request.h"
#include "suggest/intellisense.h"
#include "suggest/suggester.h"
#include "worddb/word_database.h"

namespace velmara::server {

// The clients offer "Add to dictionary" only for a rule id they know as a spelling rule: ltex-ls
// for MORFOLOGIK_*, HUNSPELL_*, *_SPELLER_RULE and *_SPELLING_RULE, LanguageTool's browser add-on
// for ids holding SPELLER_RULE, MORFOLOGIK_RULE or HUNSPELL. A missing word's id is both.
inline constexpr const char* kMissingRuleId = "VELMARA_SPELLER_RULE";
inline constexpr const char* kCorrectionRuleId = "VELMARA_CORRECCION_AUTOMATICA";
// A word the words around it say needs an accent (esta → está): advice, the word is in the lists.
inline constexpr const char* kContextRuleId = "VELMARA_TILDE_CONTEXTO";
inline constexpr const char* kContextCategory = "CONFUSED_WORDS";
// The missing-word rule's former id, which clients may keep among their disabled rules.
inline constexpr const char* kFormerMissingRuleId = "VELMARA_PALABRA_DESCONOCIDA";
inline constexpr const char* kRuleCategory = "TYPOS";

struct CheckLimits {
  std::size_t maxMatches = 5000;             // beyond it the answer says its results are incomplete
  std::size_t maxSuggestedWords = 1000;      // distinct missing words offered suggestions per check
  std::size_t suggestionsPerWord = 5;
};

class CheckService {
 public:
  // `intellisenseFile` is read only while settings.Inteligente is 1, and then again only when it
  // changes; it is the service's own fixed path, never one a request names. No trace is ever
  // written.
  CheckService(const WordDatabase& database, const Suggester& suggester, Settings settings,
               std::filesystem::path intellisenseFile, CheckLimits limits = {});

  // The countries a request's language (es-MX, es-AR, …) may choose. Without them, or for "es",
  // "auto" and a country not installed, a request is checked with the service's own database.
  void ServeCountries(std::shared_ptr<CountryDatabases> countries) { countries_ = std::move(countries); }

  nlohmann::json Check(const CheckRequest& request) const;

  // GET /v2/languages: "es" and every country served.
  nlohmann::json Languages() const;
  static nlohmann::json Software();

 private:
  const WordDatabase& database_;
  const Suggester& suggester_;
  const Settings settings_;
  const CheckLimits limits_;
  std::shared_ptr<CountryDatabases> countries_;
  // Read once and again only when the file changes; each check gets a copy sharing its entries.
  mutable std::mutex intellisenseMutex_;
  mutable IntellisenseList intellisense_;
};

}  // namespace velmara::server
