#pragma once
// Spanish syllables, stress and the written accent, over lowercased Windows-1252 words.
//
// The general accent rules: a word stressed on its last syllable takes a written accent when it
// ends in a vowel, n, or s after a vowel (camión, café, compás; not reloj, robots); one stressed on
// the syllable before the last takes it otherwise (árbol, bíceps; not casa, examen); one stressed
// further back always does (árboles, dímelo); a stressed i or u beside a, e or o is accented to
// show the hiatus (día, país, reír, búho). A word of one syllable takes none by these rules (the
// diacritic accents of tú, más, sé belong to the word lists). Plain functions of the text: no
// state, safe from any thread, a few hundred nanoseconds for a word.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmara {

struct Syllable {
  std::size_t begin;  // first character, from 0
  std::size_t end;    // one past the last
  std::size_t vowel;  // the vowel that carries the stress and the accent when this syllable is stressed
};

// The syllables of a word in order; none when it has no vowel. A written accent on i or u beside
// a, e or o marks a hiatus (dí-a, ba-úl); otherwise vowels together share a syllable (cie-lo).
// The u of qu, and of gu before e or i, is silent; y counts as a vowel only at the end of a group
// of vowels (rey, muy). Consonants between vowels go to the next syllable as Spanish splits
// them (ca-sa, lar-go, ha-blar, ins-tan-te); ch, ll and rr are one consonant.
std::vector<Syllable> Syllables(std::string_view word);

inline constexpr std::size_t kNoVowel = static_cast<std::size_t>(-1);

// The position (from 0) of the vowel the word is stressed on: its written accent (the first, if
// it has more) or, without one, where the general rules put the stress: on the syllable before
// the last for a word ending in a vowel, n or s, on the last otherwise. kNoVowel for a word
// without vowels.
std::size_t StressedVowel(std::string_view word);

// The word stressed on the vowel at `vowel` (from 0), its written accents taken off and put back
// only where the general rules want one: WithStressOn("camion", 3) is "camión",
// WithStressOn("dia", 1) is "día", WithStressOn("examenes", 2) is "exámenes". A position that is
// not a vowel leaves the word without accents.
std::string WithStressOn(std::string_view word, std::size_t vowel);

// How many syllables from the end the stress falls when the word is stressed on `vowel` (0: the
// last syllable), after the hiatus that an accent there would mark; kNoVowel when it is no vowel.
std::size_t StressFromEnd(std::string_view word, std::size_t vowel);

// Whether the word's written accent stands exactly where the general rules put one for the
// stress it marks, or for the stress the rules give a word without one: true of casa, camión,
// día, árboles and of automoviles (read as stressed on "vi"); false of cámion, arból, of a word
// of one syllable with an accent (más, té: diacritic) and of a word with two accents.
bool AccentFollowsRules(std::string_view word);

// The vowels a e i o u, accented or not, and ü; and whether a character is one of á é í ó ú.
bool IsSpanishVowel(char c);
bool IsAccentedVowel(char c);
// The vowel without its written accent (ü stays); any other character as it is.
char WithoutAccent(char c);
// The vowel with its written accent; any other character as it is.
char WithAccent(char c);

}  // namespace velmara
