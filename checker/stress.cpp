#include "checker/stress.h"

#include <array>

namespace velmara {
namespace {

enum class Kind : unsigned char { Consonant, Strong, Weak };

constexpr bool IsStrongVowel(char c) {
  switch (c) {
    case 'a': case 'e': case 'o': case '\xE1': case '\xE9': case '\xF3': return true;
    default: return false;
  }
}

constexpr bool IsWeakVowel(char c) {
  switch (c) {
    case 'i': case 'u': case '\xED': case '\xFA': case '\xFC': return true;
    default: return false;
  }
}

// The kind of every character as it sounds: the u of qu and gue/gui is silent, y is a vowel only
// after a vowel and before none (rey, muy) or as a word of its own.
struct Sounds {
  explicit Sounds(std::string_view word) : kind(word.size(), Kind::Consonant) {
    for (std::size_t i = 0; i < word.size(); ++i) {
      const char c = word[i];
      const char previous = i > 0 ? word[i - 1] : '\0';
      const char next = i + 1 < word.size() ? word[i + 1] : '\0';
      if (IsStrongVowel(c)) {
        kind[i] = Kind::Strong;
      } else if (c == 'u' && (previous == 'q' || (previous == 'g' && (next == 'e' || next == 'i' || next == '\xE9' ||
                                                                        next == '\xED')))) {
        kind[i] = Kind::Consonant;
      } else if (IsWeakVowel(c)) {
        kind[i] = Kind::Weak;
      } else if (c == 'y') {
        const bool afterVowel = i > 0 && kind[i - 1] != Kind::Consonant;
        const bool beforeVowel = IsStrongVowel(next) || IsWeakVowel(next);
        if ((afterVowel && !beforeVowel) || word.size() == 1) kind[i] = Kind::Weak;
      }
    }
  }
  bool Vowel(std::size_t i) const { return kind[i] != Kind::Consonant; }
  std::vector<Kind> kind;
};

// Two vowels side by side in separate syllables: two of a, e, o; an accented i or u beside one
// of them; the same weak vowel twice (chiita).
bool Hiatus(char first, Kind firstKind, char second, Kind secondKind) {
  if (firstKind == Kind::Strong && secondKind == Kind::Strong) return true;
  if (firstKind == Kind::Strong && IsAccentedVowel(second)) return true;
  if (secondKind == Kind::Strong && IsAccentedVowel(first)) return true;
  return firstKind == Kind::Weak && secondKind == Kind::Weak && WithoutAccent(first) == WithoutAccent(second);
}

// Consonant pairs that begin a syllable together: pl, br, cr, fl, gr, tr, dr ...
bool Onset(char first, char second) {
  constexpr std::string_view kFirst = "pbfcgk";
  if (second == 'r') return kFirst.find(first) != std::string_view::npos || first == 't' || first == 'd';
  if (second == 'l') return kFirst.find(first) != std::string_view::npos;
  return false;
}

// Where the syllable that holds the vowel at `nextVowel` begins, given the consonants between it
// and the vowel before (from `from`).
std::size_t SyllableStart(std::string_view word, std::size_t from, std::size_t nextVowel) {
  // Consonants as Spanish counts them: ch, ll, rr and the q or g of a silent u are one.
  std::array<std::size_t, 8> starts{};
  std::size_t count = 0;
  for (std::size_t j = from; j < nextVowel;) {
    if (count < starts.size()) starts[count] = j;
    ++count;
    const char c = word[j];
    const char next = j + 1 < nextVowel ? word[j + 1] : '\0';
    const bool pair = (c == 'c' && next == 'h') || (c == 'l' && next == 'l') || (c == 'r' && next == 'r') ||
                      ((c == 'q' || c == 'g') && next == 'u');
    j += pair ? 2 : 1;
  }
  if (count == 0) return nextVowel;
  if (count > starts.size()) return starts[starts.size() - 1];
  auto single = [&](std::size_t unit) {
    const std::size_t end = unit + 1 < count ? starts[unit + 1] : nextVowel;
    return end - starts[unit] == 1;
  };
  auto onsetAt = [&](std::size_t unit) {
    return single(unit) && single(unit + 1) && Onset(word[starts[unit]], word[starts[unit + 1]]);
  };
  if (count == 1) return starts[0];
  if (onsetAt(count - 2)) return starts[count - 2];
  return starts[count - 1];
}

// The word ends in a vowel, n, or s after a vowel: the endings that keep the stress on the
// syllable before the last.
bool EndsLikeLlana(std::string_view word) {
  if (word.empty()) return false;
  const char last = WithoutAccent(word.back());
  if (IsStrongVowel(last) || IsWeakVowel(last) || last == 'n') return true;
  if (last != 's' || word.size() < 2) return false;
  const char before = WithoutAccent(word[word.size() - 2]);
  return IsStrongVowel(before) || IsWeakVowel(before) || before == 'y';
}

std::string PlainOf(std::string_view word) {
  std::string plain(word);
  for (char& c : plain) c = WithoutAccent(c);
  return plain;
}

// A stressed i or u next to a, e or o (an h between them counts for nothing) is heard apart and
// written with its accent.
bool StressedWeakBesideStrong(std::string_view plain, const Sounds& sounds, std::size_t vowel) {
  if (sounds.kind[vowel] != Kind::Weak || plain[vowel] == 'y' || plain[vowel] == '\xFC') return false;
  auto strongAt = [&](std::size_t i) { return i < plain.size() && sounds.kind[i] == Kind::Strong; };
  if (vowel > 0) {
    std::size_t before = vowel - 1;
    if (plain[before] == 'h' && before > 0) --before;
    if (strongAt(before)) return true;
  }
  std::size_t after = vowel + 1;
  if (after < plain.size() && plain[after] == 'h') ++after;
  return strongAt(after);
}

}  // namespace

bool IsAccentedVowel(char c) {
  switch (c) {
    case '\xE1': case '\xE9': case '\xED': case '\xF3': case '\xFA': return true;
    default: return false;
  }
}

bool IsSpanishVowel(char c) { return IsStrongVowel(c) || IsWeakVowel(c); }

char WithoutAccent(char c) {
  switch (c) {
    case '\xE1': return 'a';
    case '\xE9': return 'e';
    case '\xED': return 'i';
    case '\xF3': return 'o';
    case '\xFA': return 'u';
    default: return c;
  }
}

char WithAccent(char c) {
  switch (c) {
    case 'a': return '\xE1';
    case 'e': return '\xE9';
    case 'i': return '\xED';
    case 'o': return '\xF3';
    case 'u': return '\xFA';
    default: return c;
  }
}

std::vector<Syllable> Syllables(std::string_view word) {
  const Sounds sounds(word);
  // The vowels of each syllable: [first, last] and the one that takes the stress.
  struct Nucleus {
    std::size_t first, last, main;
  };
  std::vector<Nucleus> nuclei;
  auto weight = [&](std::size_t i) {
    // An accent decides; then a, e, o; then the last i or u (cui-da, ciu-dad), never a final y.
    if (IsAccentedVowel(word[i])) return 3;
    if (sounds.kind[i] == Kind::Strong) return 2;
    return word[i] == 'y' ? 0 : 1;
  };
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (!sounds.Vowel(i)) continue;
    const bool joins = !nuclei.empty() && nuclei.back().last + 1 == i &&
                       !Hiatus(word[i - 1], sounds.kind[i - 1], word[i], sounds.kind[i]);
    if (joins) {
      Nucleus& nucleus = nuclei.back();
      nucleus.last = i;
      if (weight(i) >= weight(nucleus.main)) nucleus.main = i;
    } else {
      nuclei.push_back(Nucleus{i, i, i});
    }
  }
  std::vector<Syllable> syllables;
  syllables.reserve(nuclei.size());
  for (std::size_t k = 0; k < nuclei.size(); ++k) {
    const std::size_t begin = k == 0 ? 0 : SyllableStart(word, nuclei[k - 1].last + 1, nuclei[k].first);
    if (k > 0) syllables.back().end = begin;
    syllables.push_back(Syllable{begin, word.size(), nuclei[k].main});
  }
  return syllables;
}

std::size_t StressedVowel(std::string_view word) {
  for (std::size_t i = 0; i < word.size(); ++i)
    if (IsAccentedVowel(word[i])) return i;
  const std::vector<Syllable> syllables = Syllables(word);
  if (syllables.empty()) return kNoVowel;
  const std::size_t fromEnd = syllables.size() >= 2 && EndsLikeLlana(word) ? 1 : 0;
  return syllables[syllables.size() - 1 - fromEnd].vowel;
}

std::string WithStressOn(std::string_view word, std::size_t vowel) {
  std::string plain = PlainOf(word);
  if (vowel >= plain.size()) return plain;
  const Sounds sounds(plain);
  if (!sounds.Vowel(vowel)) return plain;
  if (StressedWeakBesideStrong(plain, sounds, vowel)) {
    plain[vowel] = WithAccent(plain[vowel]);
    return plain;
  }
  const std::vector<Syllable> syllables = Syllables(plain);
  std::size_t stressed = 0;
  while (stressed + 1 < syllables.size() && syllables[stressed + 1].begin <= vowel) ++stressed;
  const std::size_t fromEnd = syllables.size() - 1 - stressed;
  bool accent = false;
  if (syllables.size() >= 2) accent = fromEnd >= 2 || (fromEnd == 1) != EndsLikeLlana(plain);
  if (accent) plain[vowel] = WithAccent(plain[vowel]);
  return plain;
}

std::size_t StressFromEnd(std::string_view word, std::size_t vowel) {
  if (vowel >= word.size()) return kNoVowel;
  const std::string stressed = WithStressOn(word, vowel);
  if (!Sounds(stressed).Vowel(vowel)) return kNoVowel;
  const std::vector<Syllable> syllables = Syllables(stressed);
  std::size_t index = 0;
  while (index + 1 < syllables.size() && syllables[index + 1].begin <= vowel) ++index;
  return syllables.size() - 1 - index;
}

bool AccentFollowsRules(std::string_view word) {
  std::size_t accents = 0;
  for (char c : word) accents += IsAccentedVowel(c) ? 1 : 0;
  if (accents > 1) return false;
  const std::size_t vowel = StressedVowel(word);
  if (vowel == kNoVowel) return accents == 0;
  return WithStressOn(word, vowel) == word;
}

}  // namespace velmara
