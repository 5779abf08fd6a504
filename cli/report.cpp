#include "cli/report.h"

#include <cstdio>

#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "cli/suggestions.h"

namespace velmara::cli {
namespace {

std::string AnsiColour(std::int32_t colour) {
  auto red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return "38;2;" + std::to_string(red) + ";" + std::to_string(green) + ";" + std::to_string(blue);
}

// The escape sequence that marks a word of this verdict; empty for accepted words.
std::string MarkOf(Verdict verdict, const Settings& settings) {
  switch (verdict) {
    case Verdict::Accepted: return {};
    case Verdict::Missing: return AnsiColour(settings.MissingColour) + ";9";
    case Verdict::Corrected: return AnsiColour(settings.Corregidos) + ";4";
    case Verdict::VerbForm: return AnsiColour(settings.Verbos_Bien);
    case Verdict::FalsePositive: return AnsiColour(settings.FalsePositiveColour);
    case Verdict::DoubtfulVerbForm: return AnsiColour(settings.Verbos_Duda);
  }
  return {};
}

}  // namespace

std::string CorrectedTokenText(const CheckState& state, const std::vector<std::size_t>& ends, std::size_t index) {
  if (index >= ends.size()) return {};
  std::size_t begin = index == 0 ? 0 : ends[index - 1];
  return state.correctedText.substr(begin, ends[index] - begin);
}

std::string TextReport(const CheckState& state, const Settings& settings, bool colour) {
  // The input's characters that Windows-1252 lacks go back where they stood.
  UnheldCharacters unheld = state.unheld;
  unheld.next = 0;
  if (!colour) return Windows1252ToUtf8(state.correctedText, unheld);
  const std::vector<std::size_t> ends = CorrectedEnds(state);
  std::string out;
  for (std::size_t i = 0; i < state.result.size(); ++i) {
    std::string text = Windows1252ToUtf8(CorrectedTokenText(state, ends, i), unheld);
    std::string mark = IsSeparator(state.source[i].text) ? std::string() : MarkOf(state.result[i].verdict, settings);
    if (mark.empty()) {
      out += text;
    } else {
      out += "\x1b[" + mark + "m" + text + "\x1b[0m";
    }
  }
  return out;
}

std::string TsvReport(const CheckState& state, std::size_t firstToken, const Suggester* suggester,
                      const std::vector<Advice>* advice) {
  const std::vector<std::size_t> ends = CorrectedEnds(state);
  std::string out;
  auto advised = advice != nullptr ? advice->begin() : std::vector<Advice>::const_iterator();
  for (std::size_t i = 0; i < state.result.size(); ++i) {
    if (!IsWordToken(state.source[i].text)) continue;
    out += std::to_string(firstToken + i + 1) + "\t" + Windows1252ToUtf8(state.source[i].text) + "\t" +
           Windows1252ToUtf8(CorrectedTokenText(state, ends, i)) + "\t" + std::string(VerdictName(state.result[i].verdict));
    if (suggester != nullptr) {
      out += "\t";
      const std::vector<std::string> offered = TokenSuggestions(state, i, *suggester);
      for (std::size_t k = 0; k < offered.size(); ++k) out += (k == 0 ? "" : ",") + offered[k];
    }
    if (advice != nullptr) {
      out += "\t";
      while (advised != advice->end() && advised->token < i) ++advised;
      if (advised != advice->end() && advised->token == i) out += Windows1252ToUtf8(advised->replacement);
    }
    out += "\n";
  }
  return out;
}

std::string JsonContent(std::string_view utf8) {
  std::string out;
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string JsonString(const std::string& utf8) { return "\"" + JsonContent(utf8) + "\""; }

namespace {

std::string Json(std::string_view windows1252) { return JsonString(Windows1252ToUtf8(windows1252)); }
std::string Json(std::string_view windows1252, UnheldCharacters& unheld) {
  return JsonString(Windows1252ToUtf8(windows1252, unheld));
}

}  // namespace

std::string JsonTokens(const CheckState& state, bool first, const Suggester* suggester,
                       const std::vector<Advice>* advice) {
  auto advised = advice != nullptr ? advice->begin() : std::vector<Advice>::const_iterator();
  // A result longer than its entry keeps is read whole from the corrected text.
  std::vector<std::size_t> ends;
  if (!state.longResults.empty()) ends = CorrectedEnds(state);
  auto longResult = state.longResults.begin();
  UnheldCharacters results = state.unheld;
  results.next = 0;
  std::string out;
  for (std::size_t i = 0; i < state.result.size(); ++i) {
    if (i > 0 || !first) out += ",";
    UnheldCharacters texts = results;  // a token's text and result hold the same characters
    std::string result;
    if (longResult != state.longResults.end() && longResult->first == i) {
      result = Json(CorrectedTokenText(state, ends, i), results);
      ++longResult;
    } else {
      result = Json(state.result[i].text, results);
    }
    out += "{\"text\":" + Json(ShownText(state.source[i].text), texts) + ",\"result\":" + result + ",\"verdict\":\"" +
           std::string(VerdictName(state.result[i].verdict)) + "\"";
    if (suggester != nullptr && state.result[i].verdict == Verdict::Missing) {
      out += ",\"suggestions\":[";
      const std::vector<std::string> offered = TokenSuggestions(state, i, *suggester);
      for (std::size_t k = 0; k < offered.size(); ++k) out += (k == 0 ? "" : ",") + JsonString(offered[k]);
      out += "]";
    }
    if (advice != nullptr) {
      while (advised != advice->end() && advised->token < i) ++advised;
      if (advised != advice->end() && advised->token == i) {
        char confidence[16];
        std::snprintf(confidence, sizeof confidence, "%.2f", advised->confidence);
        out += ",\"advice\":{\"replacement\":" + Json(advised->replacement) + ",\"message\":" +
               Json(advised->message) + ",\"confidence\":" + confidence + "}";
      }
    }
    out += "}";
  }
  return out;
}

std::string JsonEnd(const CheckState& state, std::string_view correctedContent, std::size_t wordCount) {
  std::string out = "],\"corrected\":\"";
  out += correctedContent;
  out += "\",\"corrected_count\":" + std::to_string(state.CorrectedCount);
  out += ",\"missing_count\":" + std::to_string(state.MissingCount);
  out += ",\"word_count\":" + std::to_string(wordCount);
  out += ",\"missing\":[";
  for (std::size_t i = 0; i < state.missingWords.size(); ++i) {
    if (i > 0) out += ',';
    out += Json(state.missingWords[i]);
  }
  out += "],\"open_question\":";
  out += state.openQuestion ? "true" : "false";
  return out + "}\n";
}

std::string AdviceLines(const CheckState& state, const std::vector<Advice>& advice, std::size_t wordsBefore) {
  std::string out;
  std::size_t words = wordsBefore;
  auto advised = advice.begin();
  for (std::size_t i = 0; i < state.source.size() && advised != advice.end(); ++i) {
    if (IsSeparator(state.source[i].text)) continue;
    ++words;
    if (advised->token != i) continue;
    out += Windows1252ToUtf8(state.source[i].text) + " (palabra " + std::to_string(words) + "): " +
           Windows1252ToUtf8(advised->replacement) + "\n";
    ++advised;
  }
  return out;
}

std::string JsonReport(const CheckState& state, const Suggester* suggester, const std::vector<Advice>* advice) {
  UnheldCharacters unheld = state.unheld;
  unheld.next = 0;
  return kJsonStart + JsonTokens(state, true, suggester, advice) +
         JsonEnd(state, JsonContent(Windows1252ToUtf8(state.correctedText, unheld)), CountWords(state.source));
}

}  // namespace velmara::cli
