#pragma once
// Checks one request's text against the shared word database and answers in the LanguageTool
// API's JSON. One service serves every request at once: the database, the settings and the
// suggester are only read, and each check has its own state and classifier.

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "app/configuration.h"
#include "server/request.h"
#include "suggest/intellisense.h"
#include "suggest/suggester.h"
#include "worddb/word_database.h"

namespace velmara::server {

inline constexpr const char* kMissingRuleId = "VELMARA_PALABRA_DESCONOCIDA";
inline constexpr const char* kCorrectionRuleId = "VELMARA_CORRECCION_AUTOMATICA";

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

  nlohmann::json Check(const CheckRequest& request) const;

  // GET /v2/languages
  static nlohmann::json Languages();
  static nlohmann::json Software();

 private:
  const WordDatabase& database_;
  const Suggester& suggester_;
  const Settings settings_;
  const CheckLimits limits_;
  // Read once and again only when the file changes; each check gets a copy sharing its entries.
  mutable std::mutex intellisenseMutex_;
  mutable IntellisenseList intellisense_;
};

}  // namespace velmara::server
