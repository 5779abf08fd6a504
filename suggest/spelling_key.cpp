#include "suggest/spelling_key.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace velmara {
namespace {

// The letter without its accent, tilde or diaeresis (ñ counts as n: a lost tilde is a lost accent).
unsigned char BaseLetter(unsigned char c) {
  switch (c) {
    case 0xE1: case 0xE0: case 0xE2: case 0xE4: return 'a';
    case 0xE9: case 0xE8: case 0xEA: case 0xEB: return 'e';
    case 0xED: case 0xEC: case 0xEE: case 0xEF: return 'i';
    case 0xF3: case 0xF2: case 0xF4: case 0xF6: return 'o';
    case 0xFA: case 0xF9: case 0xFB: case 0xFC: return 'u';
    case 0xF1: return 'n';
    case 0xE7: return 'c';
    default: return c;
  }
}

bool FrontVowel(unsigned char c) {
  c = BaseLetter(c);
  return c == 'e' || c == 'i';
}

// Row and column of a letter on a Spanish keyboard, or row -1.
struct KeyPlace {
  int row = -1;
  int column = 0;
};

KeyPlace PlaceOf(unsigned char c) {
  static constexpr std::array<std::string_view, 3> kRows = {"qwertyuiop", "asdfghjkl\xF1", "zxcvbnm"};
  const unsigned char base = c == 0xF1 ? c : BaseLetter(c);
  for (int row = 0; row < 3; ++row) {
    const std::size_t column = kRows[row].find(static_cast<char>(base));
    if (column != std::string_view::npos) return {row, static_cast<int>(column)};
  }
  return {};
}

// Keys that touch: beside each other in a row, or a row apart with the usual stagger (a key
// touches the two above it at its own column and one to the right).
bool NeighbourKeys(unsigned char a, unsigned char b) {
  const KeyPlace p = PlaceOf(a), q = PlaceOf(b);
  if (p.row < 0 || q.row < 0) return false;
  if (p.row == q.row) return std::abs(p.column - q.column) == 1;
  if (std::abs(p.row - q.row) != 1) return false;
  const KeyPlace& lower = p.row > q.row ? p : q;
  const KeyPlace& upper = p.row > q.row ? q : p;
  return upper.column == lower.column || upper.column == lower.column + 1;
}

bool Pair(unsigned char a, unsigned char b, char x, char y) { return (a == x && b == y) || (a == y && b == x); }

float SoundAlikeCost(unsigned char a, unsigned char b) {
  if (Pair(a, b, 'b', 'v') || Pair(a, b, 's', 'z')) return 0.3f;
  if (Pair(a, b, 'c', 'z') || Pair(a, b, 'c', 's') || Pair(a, b, 'g', 'j') || Pair(a, b, 's', 'x') ||
      Pair(a, b, 'c', 'k'))
    return 0.35f;
  if (Pair(a, b, 'q', 'k') || Pair(a, b, 'y', 'l')) return 0.4f;
  if (Pair(a, b, 'c', 'q') || Pair(a, b, 'i', 'y')) return 0.5f;
  return 0.0f;
}

// `next` is the candidate's letter after this one.
float SubstitutionCost(unsigned char written, unsigned char candidate, unsigned char next) {
  if (written == candidate) return 0.0f;
  const unsigned char w = BaseLetter(written), c = BaseLetter(candidate);
  if (Pair(w, c, 'm', 'n')) return next == 'b' || next == 'p' ? 0.25f : 0.5f;
  if (w == c) {
    if (written == w) return 0.1f;    // the accent left out: the commonest slip of all
    if (candidate == c) return 0.25f; // an accent where none belongs
    return 0.2f;                      // the accent on the wrong kind of letter
  }
  if (const float sound = SoundAlikeCost(w, c); sound > 0.0f) return sound;
  if (NeighbourKeys(w, c)) return 0.6f;
  return 1.0f;
}

// A letter of the candidate the writer left out.
float InsertionCost(std::string_view candidate, std::size_t j) {
  const unsigned char c = BaseLetter(static_cast<unsigned char>(candidate[j]));
  const unsigned char before = j > 0 ? BaseLetter(static_cast<unsigned char>(candidate[j - 1])) : 0;
  const unsigned char after = j + 1 < candidate.size() ? BaseLetter(static_cast<unsigned char>(candidate[j + 1])) : 0;
  if (c == 'h') return 0.3f;
  if (c == before || c == after) return 0.4f;  // one of a doubled letter (cc, rr, ll, nn)
  if (c == 'u' && (before == 'q' || before == 'g')) return 0.4f;
  if ((c == 'c' && before == 'x') || (c == 's' && after == 'c')) return 0.4f;  // excelente, adolescente
  if (c == 'p' && after == 't') return 0.5f;                                 // septiembre
  auto vowel = [](unsigned char v) { return v == 'a' || v == 'e' || v == 'i' || v == 'o' || v == 'u'; };
  if ((c == 'i' || c == 'u') && (vowel(before) || vowel(after))) return 0.5f;  // one of a diphthong
  return 0.55f;  // a lost letter: as likely as a neighbouring key, likelier than a stray one
}

// A letter the writer added.
float DeletionCost(std::string_view written, std::size_t i) {
  const unsigned char c = BaseLetter(static_cast<unsigned char>(written[i]));
  const unsigned char before = i > 0 ? BaseLetter(static_cast<unsigned char>(written[i - 1])) : 0;
  const unsigned char after = i + 1 < written.size() ? BaseLetter(static_cast<unsigned char>(written[i + 1])) : 0;
  if (c == 'h') return 0.35f;
  if (c == before || c == after) return 0.45f;
  if (NeighbourKeys(c, before) || NeighbourKeys(c, after)) return 0.8f;  // two keys struck at once
  return 1.1f;
}

constexpr float kSwapCost = 0.6f;
constexpr float kLetterPairCost = 0.3f;

// Two letters written for one that sounds the same, or one for two: y and ll, k and qu.
bool SoundsAsOne(unsigned char one, unsigned char first, unsigned char second) {
  one = BaseLetter(one);
  return (one == 'y' && first == 'l' && second == 'l') || (one == 'k' && first == 'q' && BaseLetter(second) == 'u');
}
constexpr std::size_t kMaxLength = 48;

}  // namespace

std::string SpellingKey(std::string_view word, std::size_t flipAt) {
  std::string key;
  key.reserve(word.size());
  auto at = [&](std::size_t i) -> unsigned char {
    return i < word.size() ? BaseLetter(static_cast<unsigned char>(word[i])) : static_cast<unsigned char>(0);
  };
  for (std::size_t i = 0; i < word.size(); ++i) {
    const unsigned char c = at(i);
    char folded = static_cast<char>(c);
    switch (c) {
      case 'h': continue;
      case 'v': folded = 'b'; break;
      case 'z': case 'x': folded = 's'; break;
      case 'w': folded = 'b'; break;
      case 'k': folded = 'k'; break;
      case 'c':
        if (at(i + 1) == 'h') {
          folded = 'C';  // ch is a letter of its own; its h is not silent
          ++i;
        } else if (at(i + 1) == 'c' && FrontVowel(at(i + 2))) {
          folded = 's';  // acción and ación alike
          ++i;
        } else {
          folded = FrontVowel(at(i + 1)) != (i == flipAt) ? 's' : 'k';
        }
        break;
      case 'q':
        folded = 'k';
        if (at(i + 1) == 'u') ++i;
        break;
      case 'g':
        if (at(i + 1) == 'u' && FrontVowel(at(i + 2))) {
          ++i;  // the u of gue and gui is silent
        } else if (FrontVowel(at(i + 1)) != (i == flipAt)) {
          folded = 'j';
        }
        break;
      case 'l':
        if (at(i + 1) == 'l') {
          folded = 'y';
          ++i;
        }
        break;
      case 'm':
        folded = 'n';  // m and n before b and p; merged everywhere, so a slip after it still finds the word
        break;
      default: break;
    }
    if (!key.empty() && key.back() == folded) continue;
    key.push_back(folded);
  }
  return key;
}

float EditCost(std::string_view written, std::string_view candidate, float bound) {
  if (written.size() > kMaxLength || candidate.size() > kMaxLength) return bound + 1.0f;
  const std::size_t n = written.size(), m = candidate.size();
  std::array<float, kMaxLength + 1> insertion{}, twoBack{}, previous{}, current{};
  for (std::size_t j = 0; j < m; ++j) insertion[j] = InsertionCost(candidate, j);
  previous[0] = 0.0f;
  for (std::size_t j = 1; j <= m; ++j) previous[j] = previous[j - 1] + insertion[j - 1];
  for (std::size_t i = 1; i <= n; ++i) {
    const unsigned char w = static_cast<unsigned char>(written[i - 1]);
    const float deletion = DeletionCost(written, i - 1);
    current[0] = previous[0] + deletion;
    float rowBest = current[0];
    for (std::size_t j = 1; j <= m; ++j) {
      const unsigned char c = static_cast<unsigned char>(candidate[j - 1]);
      float best = std::min(previous[j] + deletion, current[j - 1] + insertion[j - 1]);
      const unsigned char next = j < m ? BaseLetter(static_cast<unsigned char>(candidate[j])) : 0;
      best = std::min(best, previous[j - 1] + SubstitutionCost(w, c, next));
      if (j > 1 && SoundsAsOne(w, static_cast<unsigned char>(candidate[j - 2]), c))
        best = std::min(best, previous[j - 2] + kLetterPairCost);
      if (i > 1 && SoundsAsOne(c, static_cast<unsigned char>(written[i - 2]), w))
        best = std::min(best, twoBack[j - 1] + kLetterPairCost);
      if (i > 1 && j > 1 && w == static_cast<unsigned char>(candidate[j - 2]) &&
          static_cast<unsigned char>(written[i - 2]) == c && w != c)
        best = std::min(best, twoBack[j - 2] + kSwapCost);
      current[j] = best;
      rowBest = std::min(rowBest, best);
    }
    if (rowBest > bound) return bound + 1.0f;
    twoBack = previous;
    previous = current;
  }
  return previous[m];
}

}  // namespace velmara
