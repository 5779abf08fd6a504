#include "checker/accents.h"

#include "checker/stress.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

constexpr std::string_view kVowels = "aeiou\xE1\xE9\xED\xF3\xFA";
// d h j l n r s x z are left out: their plurals take "es" and have rules of their own.
constexpr std::string_view kPluralConsonants = "qwtypfgk\xF1" "cvbm";
constexpr std::string_view kAccented = "\xE1\xE9\xED\xF3\xFA";
constexpr std::string_view kPlain = "aeiou";

// Built singulars and accent variants are looked up through 255-character buffers.
constexpr std::size_t kLookupBuffer = 255;

bool EndsWith(std::string_view word, std::string_view ending) { return EndsWithText(word, ending); }

std::string_view Less(std::string_view word, std::size_t count) { return word.substr(0, word.size() - count); }

std::string Buffered(std::string text) {
  if (text.size() > kLookupBuffer) text.resize(kLookupBuffer);
  return text;
}

bool InDictionary(const WordList& dictionary, std::string_view text) { return FindInList(dictionary, text) > 0; }

// Whether the letter before the last one belongs to `letters`.
bool PenultimateIn(std::string_view word, std::string_view letters) {
  return word.size() >= 2 && letters.find(word[word.size() - 2]) != std::string_view::npos;
}

// Whether `plural` is the plural in -es of `singular`: the singular ends in a consonant, in a
// stressed í or ú (jabalíes, tabúes) or is one syllable (noes), and the plural keeps its stress,
// with the written accent where the general rules put one (camiones, exámenes; not
// automoviles, dificiles, deportees). A singular without a vowel has no stress to keep.
bool PluralInEsOf(std::string_view singular, std::string_view plural) {
  const std::size_t vowel = StressedVowel(singular);
  if (vowel == kNoVowel) return true;
  const char last = singular.back();
  if (IsSpanishVowel(last) && last != '\xED' && last != '\xFA' && Syllables(singular).size() > 1) return false;
  return WithStressOn(plural, vowel) == plural;
}

// Whether accenting some letter of the singular gives a Dictionary word (every position is tried)
// whose plural in -es `plural` is, when one is given.
bool SomeAccentVariantInDictionary(const WordList& dictionary, const std::string& singular,
                                   std::string_view plural = {}) {
  bool found = false;
  for (std::size_t k = 1; k <= singular.size(); ++k) {
    std::string variant = Buffered(AccentAt(singular, k));
    if (HasAccent(variant) && InDictionary(dictionary, variant) && (plural.empty() || PluralInEsOf(variant, plural)))
      found = true;
  }
  return found;
}

}  // namespace

std::string ReplaceCharAt(std::string_view word, std::string_view replacement, std::size_t position) {
  if (position < 1 || position > word.size()) return std::string(word);
  std::string result;
  result.reserve(word.size() + replacement.size());
  result.append(word.substr(0, position - 1));
  result.append(replacement);
  result.append(word.substr(position));
  return result;
}

char AccentedCharacter(char c) { return c == '\xFC' ? 'u' : WithAccent(c); }

std::string AccentAt(std::string_view word, std::size_t position) {
  std::string variant(word);
  if (position >= 1 && position <= word.size()) variant[position - 1] = AccentedCharacter(word[position - 1]);
  return variant;
}

bool HasAccent(std::string_view word) { return word.find_first_of(kAccented) != std::string_view::npos; }

std::string StripAccents(std::string_view word) {
  std::string result(word);
  for (char& c : result) {
    std::size_t accented = kAccented.find(c);
    if (accented != std::string_view::npos) c = kPlain[accented];
  }
  return result;
}

bool IsPluralOfDictionaryWord(const WordList& dictionary, std::string_view w) {
  const std::size_t n = w.size();
  const bool accented = HasAccent(w);
  const bool endsEs = EndsWith(w, "es");
  const bool endsIs = EndsWith(w, "is");

  // casas <- casa
  if (PenultimateIn(w, kVowels) && InDictionary(dictionary, Less(w, 1))) return true;
  // camiones <- camión
  if (endsEs && !accented && SomeAccentVariantInDictionary(dictionary, Buffered(std::string(Less(w, 2))), w))
    return true;
  // árboles <- árbol
  if (endsEs && accented) {
    std::string singular = Buffered(std::string(Less(w, 2)));
    if (HasAccent(singular) && InDictionary(dictionary, singular) && PluralInEsOf(singular, w)) return true;
  }
  // papeles <- papel
  if (endsEs && !accented) {
    std::string singular = Buffered(std::string(Less(w, 2)));
    if (InDictionary(dictionary, singular) && PluralInEsOf(singular, w)) return true;
  }
  // reis <- rey
  if (endsIs && !accented && n <= 4 && InDictionary(dictionary, Buffered(std::string(Less(w, 2)) + "y")))
    return true;
  // jerséis <- jersey
  if (accented && n >= 6 && endsIs &&
      InDictionary(dictionary, StripAccents(Buffered(std::string(Less(w, 2)) + "y"))))
    return true;
  // "is" plural of a "y" singular that carries a written accent
  if (endsIs && !accented && SomeAccentVariantInDictionary(dictionary, Buffered(std::string(Less(w, 2)) + "y")))
    return true;
  // clubs <- club
  if (PenultimateIn(w, kPluralConsonants) && InDictionary(dictionary, Less(w, 1))) return true;
  // peces <- pez
  if (EndsWith(w, "ces") && InDictionary(dictionary, Buffered(std::string(Less(w, 3)) + "z"))) return true;
  return false;
}

}  // namespace velmara
