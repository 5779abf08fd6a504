#include "cli/suggestions.h"

#include <set>

#include "checker/check_run.h"
#include "checker/encoding.h"
#include "suggest/neighbours.h"

namespace velmara::cli {

namespace {
constexpr std::size_t kTextSuggestions = 5;

// Missing words get suggestions, and verb forms left in doubt their accented form.
bool Suggested(const CheckState& state, std::size_t index) {
  if (index >= state.result.size() || index >= state.source.size()) return false;
  const Verdict verdict = state.result[index].verdict;
  return verdict == Verdict::Missing || verdict == Verdict::DoubtfulVerbForm;
}
}  // namespace

std::vector<std::string> TokenSuggestions(const CheckState& state, std::size_t index, const Suggester& suggester) {
  if (!Suggested(state, index)) return {};
  std::vector<std::string> offered =
      suggester.Suggest(state.source[index].text, kMaxSuggestions, NeighboursAt(state.source, index));
  for (std::string& word : offered) word = Windows1252ToUtf8(word);
  return offered;
}

std::string SuggestionLines(const CheckState& state, const Suggester& suggester) {
  std::set<std::string> listed;
  return SuggestionLines(state, suggester, listed);
}

std::string SuggestionLines(const CheckState& state, const Suggester& suggester, std::set<std::string>& listed) {
  std::string out;
  for (std::size_t i = 0; i < state.result.size() && i < state.source.size(); ++i) {
    if (!Suggested(state, i) || !listed.insert(std::string(std::string_view(state.source[i].text))).second) continue;
    const std::vector<std::string> offered =
        suggester.Suggest(state.source[i].text, kTextSuggestions, NeighboursAt(state.source, i));
    out += Windows1252ToUtf8(state.source[i].text);
    out += ":";
    for (std::size_t k = 0; k < offered.size(); ++k) out += (k == 0 ? " " : ", ") + Windows1252ToUtf8(offered[k]);
    if (offered.empty()) out += " (ninguna)";
    out += "\n";
  }
  return out;
}

}  // namespace velmara::cli
