#include "checker/enclitic.h"

#include <initializer_list>

#include "checker/stress.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

bool EndsWith(std::string_view word, std::string_view ending) { return EndsWithText(word, ending); }

bool EndsWithAny(std::string_view word, std::initializer_list<std::string_view> endings) {
  for (std::string_view ending : endings)
    if (EndsWith(word, ending)) return true;
  return false;
}

}  // namespace

std::string EncliticStem(std::string_view word) {
  // Groups by length, shortest first; a later match overwrites an earlier one, so the longest
  // recognised ending decides. "te", "se" and "os" are left alone after n, r and d: cantante,
  // lavarse and cansados are not verbs with a pronoun.
  // Every ending below ends in a, e, o or s.
  if (word.empty()) return {};
  switch (word.back()) {
    case 'a': case 'e': case 'o': case 's': break;
    default: return {};
  }
  std::size_t removed = 0;
  if (EndsWithAny(word, {"me", "lo", "la"}) || (EndsWith(word, "te") && !EndsWith(word, "nte")) ||
      (EndsWith(word, "se") && !EndsWith(word, "rse")) || (EndsWith(word, "os") && !EndsWith(word, "dos")))
    removed = 2;
  if (EndsWithAny(word, {"nos", "los", "las"})) removed = 3;
  if (EndsWithAny(word, {"telo", "tela", "selo", "sela", "oslo", "osla", "mela", "melo"})) removed = 4;
  if (EndsWithAny(word, {"telos", "telas", "selos", "selas", "noslo", "nosla", "oslos", "oslas", "melos", "melas"}))
    removed = 5;
  if (EndsWithAny(word, {"noslos", "noslas"})) removed = 6;
  if (removed == 0) return {};
  return std::string(word.substr(0, word.size() - removed));
}

std::string WithPronounsAccented(std::string_view word, std::string_view stem) {
  const std::size_t vowel = StressedVowel(stem);
  if (vowel == kNoVowel || stem.size() > word.size()) return std::string(word);
  return WithStressOn(word, vowel);
}

bool ReadsAsVoseo(std::string_view word, std::string_view stem, const WordList& verbs) {
  if (stem.empty() || stem.size() >= word.size()) return false;
  const char last = stem.back();
  if (last != 'a' && last != 'e' && last != 'i') return false;
  if (FindInList(verbs, std::string(stem) + "r") == 0) return false;
  return WithStressOn(word, stem.size() - 1) == word;
}

}  // namespace velmara
