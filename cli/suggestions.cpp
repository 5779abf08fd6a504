#include "cli/suggestions.h"

#include <set>

#include "checker/check_run.h"
#include "checker/encoding.h"

namespace velmara::cli {

namespace {
constexpr std::size_t kTextSuggestions = 5;
}

std::vector<std::string> TokenSuggestions(const CheckState& state, std::size_t index, const Suggester& suggester) {
  if (index >= state.result.size() || index >= state.source.size() || state.result[index].verdict != Verdict::Missing)
    return {};
  std::vector<std::string> offered = suggester.Suggest(state.source[index].text);
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
    if (state.result[i].verdict != Verdict::Missing || !listed.insert(std::string(std::string_view(state.source[i].text))).second)
      continue;
    const std::vector<std::string> offered = suggester.Suggest(state.source[i].text, kTextSuggestions);
    out += Windows1252ToUtf8(state.source[i].text);
    out += ":";
    for (std::size_t k = 0; k < offered.size(); ++k) out += (k == 0 ? " " : ", ") + Windows1252ToUtf8(offered[k]);
    if (offered.empty()) out += " (ninguna)";
    out += "\n";
  }
  return out;
}

}  // namespace velmara::cli
