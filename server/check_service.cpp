#include "server/check_service.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "worddb/text_hash.h"

namespace velmara::server {
namespace {

constexpr std::size_t kContextReach = 40;    // code points each side of a match
constexpr std::size_t kSentenceReach = 300;  // at most this far from a match to its sentence's ends

// One engine character per code point of `utf8` (valid UTF-8): the edge's conversion keeps that
// already; should it ever not, each code point is converted on its own.
std::string EngineText(const std::string& utf8, std::size_t codePoints) {
  std::string text = Utf8ToWindows1252(utf8);
  if (text.size() == codePoints) return text;
  text.clear();
  const std::vector<std::uint32_t> starts = ByteStarts(utf8);
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const std::string one = Utf8ToWindows1252(std::string_view(utf8).substr(starts[k], starts[k + 1] - starts[k]));
    text += one.size() == 1 ? one[0] : '?';
  }
  return text;
}


struct Positions {
  const std::string& text;  // UTF-8, what the client counts in
  std::vector<std::uint32_t> bytes;
  std::vector<std::uint32_t> units;

  // Read in the client's text: the engine's may hold a stand-in for a character it lacks.
  bool EndsSentence(std::size_t k) const {
    const char c = text[bytes[k]];
    return c == '.' || c == '?' || c == '!' || c == '\n' || c == '\r';
  }
  bool EndsLine(std::size_t k) const { return text[bytes[k]] == '\n' || text[bytes[k]] == '\r'; }
  bool IsSpace(std::size_t k) const { return text[bytes[k]] == ' '; }

  std::string Slice(std::size_t from, std::size_t to) const {
    return text.substr(bytes[from], bytes[to] - bytes[from]);
  }
};

nlohmann::json Replacements(const std::vector<std::string>& values) {
  nlohmann::json list = nlohmann::json::array();
  for (const std::string& value : values) list.push_back({{"value", value}});
  return list;
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
  return {{"name", "Detector Velmara"}, {"version", "0.1.0"}, {"buildDate", __DATE__},
          {"apiVersion", 1},            {"status", ""},       {"premium", false}};
}

nlohmann::json CheckService::Languages() {
  return nlohmann::json::array({{{"name", "Spanish"}, {"code", "es"}, {"longCode", "es"}},
                                {{"name", "Spanish (Spain)"}, {"code", "es"}, {"longCode", "es-ES"}}});
}

nlohmann::json CheckService::Check(const CheckRequest& request) const {
  const std::string engineText = EngineText(request.checked, request.codePoints);
  CheckState state;
  IntellisenseList intellisense = [this] {
    std::lock_guard<std::mutex> lock(intellisenseMutex_);
    if (settings_.Inteligente == 1) intellisense_.Refresh();
    return intellisense_;
  }();
  Classifier classifier(database_, settings_, std::move(intellisense), state);
  CheckObserver quiet;
  CheckText(classifier, engineText, quiet, std::nullopt);

  const Positions at{request.text, ByteStarts(request.text), Utf16Starts(request.text)};
  const std::vector<std::size_t> correctedEnds = CorrectedEnds(state);
  std::unordered_map<std::string, std::vector<std::string>, TextHasher, std::equal_to<>> suggested;
  const auto disabled = [&](const char* rule) {
    return std::find(request.disabledRules.begin(), request.disabledRules.end(), rule) != request.disabledRules.end();
  };
  const bool missingOff = disabled(kMissingRuleId);
  const bool correctionOff = disabled(kCorrectionRuleId);

  nlohmann::json matches = nlohmann::json::array();
  bool incomplete = false;
  std::size_t start = 0;  // of token i in the engine text, which has one character per code point
  for (std::size_t i = 0; i < state.result.size() && start < engineText.size(); ++i) {
    // The tokeniser's own rule: a separator is one character, a word runs to the next separator.
    std::size_t end = start + 1;
    if (!IsSeparatorChar(static_cast<unsigned char>(engineText[start])))
      while (end < engineText.size() && !IsSeparatorChar(static_cast<unsigned char>(engineText[end]))) ++end;
    const std::size_t wordStart = start;
    start = end;
    if (end - wordStart == 1 && IsSeparatorChar(static_cast<unsigned char>(engineText[wordStart]))) continue;

    const Verdict verdict = state.result[i].verdict;
    if (verdict != Verdict::Missing && verdict != Verdict::Corrected) continue;
    if (verdict == Verdict::Missing ? missingOff : correctionOff) continue;
    const std::string written = at.Slice(wordStart, end);
    std::vector<std::string> replacements;
    if (verdict == Verdict::Corrected) {
      const std::size_t from = i == 0 ? 0 : correctedEnds[i - 1];
      const std::string corrected = Windows1252ToUtf8(std::string_view(state.correctedText).substr(from, correctedEnds[i] - from));
      if (corrected == written) continue;  // only its case given back
      replacements.push_back(corrected);
    } else {
      auto found = suggested.find(written);
      if (found == suggested.end() && suggested.size() < limits_.maxSuggestedWords) {
        std::vector<std::string> values;
        for (const std::string& word :
             suggester_.Suggest(engineText.substr(wordStart, end - wordStart), limits_.suggestionsPerWord))
          values.push_back(Windows1252ToUtf8(word));
        found = suggested.emplace(written, std::move(values)).first;
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

    const bool missing = verdict == Verdict::Missing;
    nlohmann::json match = {
        {"message", missing ? "Posible error ortográfico: «" + written + "» no está en el diccionario."
                            : "«" + written + "» se escribe «" + replacements.front() + "»."},
        {"shortMessage", missing ? "Error ortográfico" : "Corrección"},
        {"offset", at.units[wordStart]},
        {"length", at.units[end] - at.units[wordStart]},
        {"replacements", Replacements(replacements)},
        {"context",
         {{"text", at.Slice(contextStart, contextEnd)},
          {"offset", at.units[wordStart] - at.units[contextStart]},
          {"length", at.units[end] - at.units[wordStart]}}},
        {"sentence", at.Slice(sentenceStart, sentenceEnd)},
        {"type", {{"typeName", missing ? "UnknownWord" : "Other"}}},
        {"rule",
         {{"id", missing ? kMissingRuleId : kCorrectionRuleId},
          {"description", missing ? "Palabra que no está en el diccionario" : "Acento, interrogativo o sustitución del usuario"},
          {"issueType", "misspelling"},
          {"category", {{"id", "TYPOS"}, {"name", "Posibles errores ortográficos"}}}}},
        {"ignoreForIncompleteSentence", false},
        {"contextForSureMatch", 0},
    };
    matches.push_back(std::move(match));
  }

  const bool automatic = request.language == "auto";
  const std::string code = automatic ? "es" : request.language;
  return {{"software", Software()},
          {"warnings", {{"incompleteResults", incomplete}}},
          {"language",
           {{"name", "Spanish"},
            {"code", code},
            {"detectedLanguage", {{"name", "Spanish"}, {"code", code}, {"confidence", automatic ? 0.5 : 1.0}}}}},
          {"matches", std::move(matches)}};
}

}  // namespace velmara::server
