#pragma once
// Accent advice: a word that is also another word with a written accent (esta/está, el/él,
// termino/terminó) is weighed against its neighbours in the text, and when they point to the
// accented word an advice is given. Advice is offered, never applied: the verdicts, the counts and
// the corrected text stay as the check left them.
//
// It decides in two steps. Hand-written rules take the short words whose use follows from the
// words around them (él before a verb form, mí after a preposition, sé after "no"/"lo"/"yo", sí
// before a full stop, más, aún...); every other word is weighed by counts learned from Debian's
// Spanish prose (scripts/make-context-model.py): how often each form stands in the text and beside
// which words, marks and kinds of word (verb form, dictionary word, name). Only accents that are
// missing are advised, never one taken away, and never an optional one (sólo, éste, ésta...).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <span>
#include <vector>

#include "checker/check_state.h"
#include "worddb/word_database.h"

namespace velmara {

// One count of the model: the hash of its kind, word and neighbour, and the count.
struct ContextCount {
  std::uint64_t key;
  std::uint32_t count;
};

// Counts learned from text, looked up by kind of count, word and neighbour (Windows-1252).
class ContextModel {
 public:
  // The model built into the program, tables hashed at build time: nothing to read or parse.
  // Empty when the build had no model file.
  static const ContextModel& BuiltIn();
  // Lines of "kind TAB word TAB neighbour TAB count"; lines starting with "#" are comments.
  explicit ContextModel(std::string_view text);
  // Tables sorted by key, which must outlive the model.
  ContextModel(std::span<const ContextCount> counts, std::span<const std::uint64_t> plainForms);
  ContextModel(const ContextModel&) = delete;
  ContextModel& operator=(const ContextModel&) = delete;

  std::uint32_t Count(std::string_view kind, std::string_view word, std::string_view neighbour = {}) const;
  // Whether some form the model counted is this word once its accents are taken out.
  bool HasPlainForm(std::string_view word) const;
  bool empty() const { return counts_.empty(); }
  std::size_t size() const { return counts_.size(); }

  // FNV-1a over the three texts; scripts/embed-context-model.py computes the same.
  static std::uint64_t Key(std::string_view kind, std::string_view word, std::string_view neighbour);

 private:
  std::vector<ContextCount> ownCounts_;        // a model read from text
  std::vector<std::uint64_t> ownPlainForms_;
  std::span<const ContextCount> counts_;       // sorted by key
  std::span<const std::uint64_t> plainForms_;  // sorted
};

class ContextAdvisor {
 public:
  explicit ContextAdvisor(const WordDatabase& database, const ContextModel& model = ContextModel::BuiltIn());

  // The advice for the words of the state's last run (its source and result lists), in token
  // order. Words the check corrected or found missing get none.
  std::vector<Advice> Advise(const CheckState& state) const;
  // Advice over the given tokens; `verdicts` as the check gave them (same length as `tokens`).
  std::vector<Advice> Advise(const TokenList& tokens, const TokenList& verdicts) const;

  // How sure the statistical weighing must be before it advises (0..1); lower finds more and
  // is wrong more often.
  void SetThreshold(double threshold) { threshold_ = threshold; }
  // Most-frequent-form alone, with neither rules nor neighbours: the baseline the bench compares.
  void SetFrequencyOnly(bool on) { frequencyOnly_ = on; }

 private:
  struct Neighbours;
  // The advised lower-case form for `word` (lower case, no accent, with these accented variants),
  // or empty; `confidence` is set. Without `countsToo` only the rules may advise.
  std::string Decide(std::string_view word, const std::vector<std::string>& variants, const Neighbours& around,
                     bool countsToo, double& confidence) const;
  std::string ByRule(std::string_view word, const std::vector<std::string>& variants, const Neighbours& around) const;
  std::string ByCounts(std::string_view word, const std::vector<std::string>& variants, const Neighbours& around,
                       double& confidence) const;
  std::vector<std::string> AccentedVariants(std::string_view word) const;
  // Cheap test before any lookup: the model knows the word, a rule may speak, or the past-tense
  // rule's left neighbour is there.
  bool MayAdvise(const TokenList& tokens, std::size_t index, std::string_view lower) const;
  bool IsKnown(std::string_view word) const;
  bool IsFiniteVerbOnly(std::string_view word) const;
  char KindOf(std::string_view word) const;

  const WordDatabase& database_;
  const ContextModel& model_;
  double threshold_ = 0.9;
  bool frequencyOnly_ = false;
};

// «¿Quiso decir «está»?» for the replacement (Windows-1252).
std::string AdviceMessage(std::string_view replacement);

}  // namespace velmara
