#include "server/check_service.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/version.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/context.h"
#include "checker/encoding.h"
#include "suggest/neighbours.h"
#include "worddb/countries.h"
#include "worddb/text_hash.h"

namespace velmara::server {
namespace {

constexpr std::size_t kContextReach = 40;    // code points each side of a match
constexpr std::size_t kSentenceReach = 300;  // at most this far from a match to its sentence's ends

// One engine character per code point of `utf8` (valid UTF-8), but for a combining accent that
// makes one letter with the letter before it (o and U+0301: ó). `codePointOf[k]` is the code point
// where engine character k starts, with one entry more for the end.
std::string EngineText(const std::string& utf8, std::size_t codePoints, std::vector<std::uint32_t>& codePointOf) {
  std::string text = Utf8ToWindows1252(utf8);
  codePointOf.clear();
  if (text.size() == codePoints) {
    codePointOf.resize(codePoints + 1);
    for (std::size_t k = 0; k <= codePoints; ++k) codePointOf[k] = static_cast<std::uint32_t>(k);
    return text;
  }
  text.clear();
  const std::vector<std::uint32_t> starts = ByteStarts(utf8);
  bool composable = false;
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const std::string_view piece = std::string_view(utf8).substr(starts[k], starts[k + 1] - starts[k]);
    char32_t code = 0;
    std::size_t length = 0;
    if (composable && DecodeUtf8Character(piece, code, length) && ComposeAccent(text.back(), code)) {
      composable = false;
      continue;
    }
    const std::string one = Utf8ToWindows1252(piece);
    composable = one.size() == 1;
    text += composable ? one[0] : '?';
    codePointOf.push_back(static_cast<std::uint32_t>(k));
  }
  codePointOf.push_back(static_cast<std::uint32_t>(starts.size() - 1));
  return text;
}

// Positions in the client's text of the engine's characters.
struct Positions {
  const std::string& text;  // UTF-8, what the client counts in
  std::vector<std::uint32_t> bytes;
  std::vector<std::uint32_t> units;
  const std::vector<std::uint32_t>& codePointOf;  // of each engine character

  std::uint32_t Unit(std::size_t k) const { return units[codePointOf[k]]; }
  char First(std::size_t k) const { return text[bytes[codePointOf[k]]]; }
  // Read in the client's text: the engine's may hold a stand-in for a character it lacks.
  bool EndsSentence(std::size_t k) const {
    const char c = First(k);
    return c == '.' || c == '?' || c == '!' || c == '\n' || c == '\r';
  }
  bool EndsLine(std::size_t k) const { return First(k) == '\n' || First(k) == '\r'; }
  bool IsSpace(std::size_t k) const { return First(k) == ' '; }

  std::string Slice(std::size_t from, std::size_t to) const {
    return text.substr(bytes[codePointOf[from]], bytes[codePointOf[to]] - bytes[codePointOf[from]]);
  }
};

nlohmann::json Replacements(const std::vector<std::string>& values) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::string& value : values) list.push_back({{"value", value}});
  return list;
}

// The match of an accent advice: its own rule, the advised word as the only replacement.
nlohmann::json AdviceMatch(const Advice& advice, const std::string& written, const std::string& replacement,
                           const Positions& at, std::size_t wordStart, std::size_t end, std::size_t contextStart,
                           std::size_t contextEnd, std::size_t sentenceStart, std::size_t sentenceEnd) {
  return {
      {"message", Windows1252ToUtf8(advice.message)},
      {"shortMessage", "Tilde"},
      {"offset", at.units[wordStart]},
      {"length", at.units[end] - at.units[wordStart]},
      {"replacements", Replacements({replacement})},
      {"context",
       {{"text", at.Slice(contextStart, contextEnd)},
        {"offset", at.units[wordStart] - at.units[contextStart]},
        {"length", at.units[end] - at.units[wordStart]}}},
      {"sentence", at.Slice(sentenceStart, sentenceEnd)},
      {"type", {{"typeName", "Hint"}}},
      {"rule",
       {{"id", kContextRuleId},
        {"description", "Tilde que pide el contexto («" + written + "» y «" + replacement + "» son palabras)"},
        {"issueType", "misspelling"},
        {"category", {{"id", kContextCategory}, {"name", "Palabras que se confunden"}}}}},
      {"ignoreForIncompleteSentence", false},
      {"contextForSureMatch", 0},
  };
}

}  // namespace

CheckService::CheckService(const WordDatabase& database, const Suggester& suggester, Settings settings,
                           std::filesystem::path intellisenseFile, CheckLimits limits)
    : database_(database),
      suggester_(suggester),
      settings_(settings),
      limits_(limits),
      intellisense_(std::move(intellisenseFile)) {}

nlohmann::json CheckService::Software() {
  return {{"name", "Detector Velmara"}, {"version", kVersion}, {"buildDate", __DATE__}, {"apiVersion", 1},
          {"status", ""},                {"premium", false},   {"premiumHint", ""}};
}

nlohmann::json CheckService::Languages() const {
  nlohmann::json list = nlohmann::json::array({{{"name", "Spanish"}, {"code", "es"}, {"longCode", "es"}}});
  const std::vector<std::string> countries = countries_ ? countries_->Installed() : std::vector<std::string>{kDefaultCountry};
  for (const std::string& country : countries) {
    std::string longCode = country;
    longCode[2] = '-';
    list.push_back({{"name", "Spanish (" + Windows1252ToUtf8(CountryName(country)) + ")"},
                    {"code", "es"},
                    {"longCode", longCode}});
  }
  return list;
}

nlohmann::json CheckService::Check(const CheckRequest& request) const {
  std::vector<std::uint32_t> codePointOf;
  const std::string engineText = EngineText(request.checked, request.codePoints, codePointOf);
  // The country the language names, when it is one served besides our own.
  std::shared_ptr<const CountryEngine> country;
  if (countries_) {
    if (const std::optional<std::string> code = CountryCode(request.language)) country = countries_->For(*code);
  }
  const WordDatabase& database = country ? country->database : database_;
  const Suggester& suggester = country ? *country->suggester : suggester_;
  CheckState state;
  IntellisenseList intellisense = [this] {
    std::lock_guard<std::mutex> lock(intellisenseMutex_);
    if (settings_.Inteligente == 1) intellisense_.Refresh();
    return intellisense_;
  }();
  Classifier classifier(database, settings_, std::move(intellisense), state);
  CheckObserver quiet;
  CheckText(classifier, engineText, quiet, std::nullopt);

  const Positions at{request.text, ByteStarts(request.text), Utf16Starts(request.text), codePointOf};
  const std::vector<std::size_t> correctedEnds = CorrectedEnds(state);
  std::unordered_map<std::string, std::vector<std::string>, TextHasher, std::equal_to<>> suggested;
  const bool missingOff =
      !request.RuleOn(kMissingRuleId, kRuleCategory) ||
      std::find(request.disabledRules.begin(), request.disabledRules.end(), kFormerMissingRuleId) != request.disabledRules.end();
  const bool correctionOff = !request.RuleOn(kCorrectionRuleId, kRuleCategory);
  std::vector<Advice> advice;
  if (settings_.Contexto != 0 && request.RuleOn(kContextRuleId, kContextCategory))
    advice = ContextAdvisor(database).Advise(state);
  auto advised = advice.cbegin();

  nlohmann::json matches = nlohmann::json::array();
  bool incomplete = false;
  std::size_t start = 0;  // of token i in the engine text, which has one character per code point
  for (std::size_t i = 0; i < state.result.size() && start < engineText.size(); ++i) {
    // The tokens lie end to end in the engine text.
    const std::size_t wordStart = start;
    const std::size_t end = std::min(engineText.size(), start + std::max<std::size_t>(1, state.source[i].text.size()));
    start = end;
    if (!IsWordToken(state.source[i].text)) continue;

    const Verdict verdict = state.result[i].verdict;
    while (advised != advice.cend() && advised->token < i) ++advised;
    const Advice* const adviceHere = advised != advice.cend() && advised->token == i ? &*advised : nullptr;
    if (verdict != Verdict::Missing && verdict != Verdict::Corrected && adviceHere == nullptr) continue;
    if (adviceHere == nullptr && (verdict == Verdict::Missing ? missingOff : correctionOff)) continue;
    const std::string written = at.Slice(wordStart, end);
    std::vector<std::string> replacements;
    if (adviceHere != nullptr) {
      replacements.push_back(Windows1252ToUtf8(adviceHere->replacement));
    } else if (verdict == Verdict::Corrected) {
      const std::size_t from = i == 0 ? 0 : correctedEnds[i - 1];
      const std::string corrected = Windows1252ToUtf8(std::string_view(state.correctedText).substr(from, correctedEnds[i] - from));
      if (corrected == written) continue;  // only its case given back
      replacements.push_back(corrected);
    } else {
      // The same word between the same neighbours gets the same suggestions.
      const Neighbours neighbours = NeighboursAt(state.source, i);
      std::string asked = written;
      asked.append(1, '\0').append(neighbours.before).append(1, '\0').append(neighbours.after);
      auto found = suggested.find(asked);
      if (found == suggested.end() && suggested.size() < limits_.maxSuggestedWords) {
        std::vector<std::string> values;
        for (const std::string& word : suggester.Suggest(engineText.substr(wordStart, end - wordStart),
                                                         limits_.suggestionsPerWord, neighbours))
          values.push_back(Windows1252ToUtf8(word));
        found = suggested.emplace(std::move(asked), std::move(values)).first;
      }
      if (found != suggested.end()) replacements = found->second;
    }
    if (matches.size() == limits_.maxMatches) {
      incomplete = true;
      break;
    }

    const std::size_t contextStart = wordStart > kContextReach ? wordStart - kContextReach : 0;
    const std::size_t contextEnd = std::min(engineText.size(), end + kContextReach);
    std::size_t sentenceStart = wordStart;
    while (sentenceStart > 0 && wordStart - sentenceStart < kSentenceReach && !at.EndsSentence(sentenceStart - 1))
      --sentenceStart;
    std::size_t sentenceEnd = end;
    while (sentenceEnd < engineText.size() && sentenceEnd - end < kSentenceReach && !at.EndsSentence(sentenceEnd))
      ++sentenceEnd;
    if (sentenceEnd < engineText.size() && !at.EndsLine(sentenceEnd)) ++sentenceEnd;
    while (sentenceStart < wordStart && at.IsSpace(sentenceStart)) ++sentenceStart;

    if (adviceHere != nullptr) {
      matches.push_back(AdviceMatch(*adviceHere, written, replacements.front(), at, wordStart, end, contextStart,
                                    contextEnd, sentenceStart, sentenceEnd));
      continue;
    }
    const bool missing = verdict == Verdict::Missing;
    nlohmann::json match = {
        {"message", missing ? "Posible error ortográfico: «" + written + "» no está en el diccionario."
                            : "«" + written + "» se escribe «" + replacements.front() + "»."},
        {"shortMessage", missing ? "Error ortográfico" : "Corrección"},
        {"offset", at.Unit(wordStart)},
        {"length", at.Unit(end) - at.Unit(wordStart)},
        {"replacements", Replacements(replacements)},
        {"context",
         {{"text", at.Slice(contextStart, contextEnd)},
          {"offset", at.Unit(wordStart) - at.Unit(contextStart)},
          {"length", at.Unit(end) - at.Unit(wordStart)}}},
        {"sentence", at.Slice(sentenceStart, sentenceEnd)},
        {"type", {{"typeName", missing ? "UnknownWord" : "Other"}}},
        {"rule",
         {{"id", missing ? kMissingRuleId : kCorrectionRuleId},
          {"description", missing ? "Palabra que no está en el diccionario" : "Acento, interrogativo o sustitución del usuario"},
          {"issueType", "misspelling"},
          {"category", {{"id", kRuleCategory}, {"name", "Posibles errores ortográficos"}}}}},
        {"ignoreForIncompleteSentence", false},
        {"contextForSureMatch", 0},
    };
    matches.push_back(std::move(match));
  }

  const bool automatic = request.language == "auto";
  const std::string code = !automatic ? request.language : request.detectedVariant.empty() ? "es" : request.detectedVariant;
  return {{"software", Software()},
          {"warnings", {{"incompleteResults", incomplete}}},
          {"language",
           {{"name", "Spanish"},
            {"code", code},
            {"detectedLanguage", {{"name", "Spanish"}, {"code", code}, {"confidence", automatic ? 0.5 : 1.0}}}}},
          {"matches", std::move(matches)}};
}

}  // namespace velmara::server
