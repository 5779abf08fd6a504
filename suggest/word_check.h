#pragma once
// One word checked on its own, as an editor asks about the word under its cursor: whether it is
// accepted and, when it is not, what to offer (our own correction first, in the case the word was
// written, then the suggester's words). The ispell pipe and the Enchant provider both answer
// with it, so an editor sees the same verdicts through either.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/configuration.h"
#include "checker/check_state.h"
#include "checker/classify.h"
#include "suggest/suggester.h"
#include "worddb/word_database.h"

namespace velmara {

// Not shared between threads: each caller holds its own (the database and suggester may be shared).
class WordCheck {
 public:
  // `intellisenseFile` is read only while settings.Inteligente is on.
  WordCheck(const WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile);

  // `written` is the word in Windows-1252 as written. True when it is accepted: found, a verb
  // form, a false positive or one of the user's words. Otherwise `correction` is the detector's
  // own correction in the written case (no capital for a sentence's start, since an editor
  // replaces the word where it stands), or empty for a missing word. Nothing is kept from one
  // word to the next.
  bool Accepted(std::string_view written, std::string& correction);

  // Whether a "¿" or "¡" before the word is still open, as a line read word by word knows it;
  // the first interrogative after it closes it.
  void SetOpenQuestion(bool open) { state_.openQuestion = open; }

 private:
  Settings settings_;
  CheckState state_;
  Classifier classifier_;
  std::string lowered_;  // reused from word to word
};

// What an editor offers for a word that is not accepted: the correction first (when there is
// one), then the suggester's words, each once, in Windows-1252.
std::vector<std::string> OfferedWords(std::string correction, std::string_view written, const Suggester& suggester,
                                      std::size_t limit = kMaxSuggestions, Neighbours neighbours = {});
// The same over suggestions already made (a caller that keeps them for a word met again).
std::vector<std::string> OfferedWords(std::string correction, const std::vector<std::string>& suggestions);

}  // namespace velmara
