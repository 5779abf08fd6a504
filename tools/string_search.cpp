#include "tools/string_search.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "checker/characters.h"

namespace velmara {
namespace {

constexpr std::string_view kFinderLetters = "qwertyuiopasdfghjkl\xF1zxcvbnm\xE1\xE9\xED\xF3\xFA\xFC";

// Collation of the results list, for Windows-1252 text. Words compare first by their letters
// with case and accents ignored (á, à, Á all count as a; ñ is a letter of its own between n and
// o; other characters come before every letter, in code order); a shorter word goes before a
// longer one it begins. Ties are broken by the accents (the lower-case codes, so a plain vowel
// goes before its accented forms), then by case (lower case first), then by the bytes.
struct Collation {
  std::array<unsigned char, 256> primary{};
  std::array<unsigned char, 256> accent{};
  std::array<unsigned char, 256> caseRank{};

  Collation() {
    // The base letter of each lower-case Windows-1252 letter that carries a mark or is a ligature.
    std::array<char, 256> base{};
    for (int c = 'a'; c <= 'z'; ++c) base[c] = static_cast<char>(c);
    auto mark = [&](std::string_view letters, char letter) {
      for (char c : letters) base[static_cast<unsigned char>(c)] = letter;
    };
    mark("\xE0\xE1\xE2\xE3\xE4\xE5\xE6", 'a');
    mark("\xE7", 'c');
    mark("\xE8\xE9\xEA\xEB", 'e');
    mark("\xEC\xED\xEE\xEF", 'i');
    mark("\xF2\xF3\xF4\xF5\xF6\xF8\x9C", 'o');
    mark("\xF9\xFA\xFB\xFC", 'u');
    mark("\xFD\xFF", 'y');
    mark("\x9A\xDF", 's');
    mark("\x9E", 'z');
    mark("\x83", 'f');

    // Ranks: 1.. for the characters without a base letter in code order, then the 27 letters.
    unsigned char rank = 1;
    for (int c = 0; c < 256; ++c) {
      unsigned char lower = LowerChar(static_cast<unsigned char>(c));
      if (base[lower] == 0 && lower != 0xF1) primary[c] = rank++;
    }
    for (int c = 0; c < 256; ++c) {
      unsigned char lower = LowerChar(static_cast<unsigned char>(c));
      if (lower == 0xF1) {
        primary[c] = static_cast<unsigned char>(rank + ('n' - 'a') * 2 + 1);
      } else if (base[lower] != 0) {
        primary[c] = static_cast<unsigned char>(rank + (base[lower] - 'a') * 2);
      }
      accent[c] = lower;
      caseRank[c] = lower == c ? 0 : 1;
    }
  }

  // Compares the two words under one table; negative, zero or positive.
  static int CompareBy(const std::array<unsigned char, 256>& table, std::string_view a, std::string_view b) {
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
      unsigned char x = table[static_cast<unsigned char>(a[i])];
      unsigned char y = table[static_cast<unsigned char>(b[i])];
      if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }

  bool Less(std::string_view a, std::string_view b) const {
    if (int order = CompareBy(primary, a, b)) return order < 0;
    if (int order = CompareBy(accent, a, b)) return order < 0;
    if (int order = CompareBy(caseRank, a, b)) return order < 0;
    return a < b;
  }
};

enum class SearchKind { Invalid, Prefix, Suffix };

SearchKind KindOf(std::string_view searchText) {
  if (searchText.empty()) return SearchKind::Invalid;
  std::size_t letters = 0;
  for (char c : LowerCase(searchText))
    if (kFinderLetters.find(c) != std::string_view::npos) ++letters;
  if (searchText.front() == '-' && letters == searchText.size() - 1) return SearchKind::Suffix;
  if (letters == searchText.size()) return SearchKind::Prefix;
  return SearchKind::Invalid;
}

// Whether the first (prefix search) or last (suffix search) `letters.size()` characters of the
// word, spaces trimmed and lowercased, equal `letters`; the whole trimmed word stands in for them
// when it is shorter.
bool Matches(std::string_view word, SearchKind kind, std::string_view letters) {
  std::size_t first = word.find_first_not_of(' ');
  if (first == std::string_view::npos) return letters.empty();
  word = word.substr(first, word.find_last_not_of(' ') - first + 1);
  if (word.size() > letters.size())
    word = kind == SearchKind::Prefix ? word.substr(0, letters.size()) : word.substr(word.size() - letters.size());
  if (word.size() != letters.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (static_cast<char>(LowerChar(static_cast<unsigned char>(word[i]))) != letters[i]) return false;
  return true;
}

}  // namespace

bool ListOrderLess(std::string_view a, std::string_view b) {
  static const Collation collation;
  return collation.Less(a, b);
}

StringSearchResult RunStringSearch(const WordDatabase& database, FinderMode mode, std::string_view searchText) {
  StringSearchResult result;
  const SearchKind kind = KindOf(searchText);
  if (kind == SearchKind::Invalid) return result;
  result.valid = true;

  const std::string_view letters = kind == SearchKind::Suffix ? searchText.substr(1) : searchText;
  const std::string properLetters = LowerCase(TrimSpaces(letters));

  if (mode == FinderMode::All || mode == FinderMode::Dictionary) {
    for (std::size_t i = 1; i <= database.dictionary.Count(); ++i) {
      const std::string_view word = database.dictionary.At(i);
      if (Matches(word, kind, letters) && FindInList(database.verbs, word) == 0) result.entries.emplace_back(word);
    }
  }
  if (mode == FinderMode::All || mode == FinderMode::Verbs) {
    std::unordered_set<std::string_view> added;
    for (std::size_t i = 1; i <= database.verbs.Count(); ++i) {
      const std::string_view word = database.verbs.At(i);
      if (Matches(word, kind, letters) && added.insert(word).second) result.entries.emplace_back(word);
    }
  }
  if (mode == FinderMode::All || mode == FinderMode::ProperNames) {
    for (std::size_t i = 1; i <= database.properNames.Count(); ++i) {
      const std::string_view word = database.properNames.At(i);
      if (Matches(word, kind, properLetters)) result.entries.push_back(MixedCase(word));
    }
  }

  result.foundCount = result.entries.size();
  std::sort(result.entries.begin(), result.entries.end(), ListOrderLess);

  result.message = "Termine de buscar ...\r\nEncontrados " + std::to_string(result.foundCount) + " palabras con " +
                   (kind == SearchKind::Prefix ? std::string(searchText) + "-" : std::string(searchText));
  return result;
}

}  // namespace velmara
