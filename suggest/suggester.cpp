#include "suggest/suggester.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "checker/characters.h"
#include "suggest/spelling_key.h"
#include "suggest/word_frequencies.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

enum ListBit : std::uint8_t { kDictionary = 1, kVerb = 2, kProperName = 4, kFalsePositive = 8 };

// How far a word may be from what was written and still be offered.
constexpr float kMaxCost = 2.2f;
// The most a very common word gains over one the texts never use.
constexpr float kPriorWeight = 0.45f;
constexpr std::size_t kMaxWrittenLength = 40;

std::uint32_t KeyHash(std::string_view key) { return static_cast<std::uint32_t>(HashText(key) >> 32); }

// Every text made by leaving out one letter of the key, each once.
template <typename Visit>
void ForEachDeletion(std::string_view key, Visit visit) {
  std::string shorter;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (i > 0 && key[i] == key[i - 1]) continue;  // the same text as leaving out the letter before
    shorter.assign(key.substr(0, i));
    shorter.append(key.substr(i + 1));
    if (!shorter.empty()) visit(std::string_view(shorter));
  }
}

// Word ids under one hash in a sorted table of (hash << 32 | id).
template <typename Visit>
void ForEachUnder(const std::vector<std::uint64_t>& table, std::uint32_t hash, Visit visit) {
  const std::uint64_t first = std::uint64_t{hash} << 32;
  for (auto it = std::lower_bound(table.begin(), table.end(), first); it != table.end() && (*it >> 32) == hash; ++it)
    visit(static_cast<std::uint32_t>(*it));
}

}  // namespace

struct Suggester::Index {
  struct Word {
    const std::string* text;
    std::uint8_t lists;
    float bonus;  // frequency prior less the list's penalty
  };
  std::vector<Word> words;
  std::vector<std::uint64_t> byKey;       // the key of every word
  std::vector<std::uint64_t> byDeletion;  // every key with one letter left out
};

Suggester::Suggester(const WordDatabase& database) : database_(database) {}
Suggester::~Suggester() = default;

const Suggester::Index& Suggester::BuiltIndex() const {
  std::call_once(built_, [this] {
    auto index = std::make_unique<Index>();
    const WordList* lists[] = {&database_.dictionary, &database_.verbs, &database_.falsePositives.entries,
                               &database_.properNames};
    const std::uint8_t bits[] = {kDictionary, kVerb, kFalsePositive, kProperName};
    // A proper name or a verb form that is also a dictionary word is offered once, as the word.
    const float penalty[] = {0.0f, 0.08f, 0.0f, 0.25f};

    std::unordered_map<std::string_view, std::size_t> rank;
    const std::vector<std::string_view> frequent = FrequentWords();
    for (std::size_t r = 0; r < frequent.size(); ++r) rank.emplace(frequent[r], r + 1);
    const float logCount = std::log(static_cast<float>(frequent.size()) + 2.0f);

    std::size_t total = 0;
    for (const WordList* list : lists) total += list->Count();
    index->words.reserve(total);
    for (std::size_t l = 0; l < 4; ++l) {
      const WordList& list = *lists[l];
      for (std::size_t i = 1; i <= list.Count(); ++i) {
        const std::string& word = list.At(i);
        if (word.empty() || list.Find(word) != i) continue;
        bool earlier = false;
        for (std::size_t k = 0; k < l && !earlier; ++k) earlier = lists[k]->Find(word) != 0;
        if (earlier) continue;
        float prior = 0.0f;
        if (auto found = rank.find(word); found != rank.end())
          prior = kPriorWeight * (1.0f - std::log(static_cast<float>(found->second) + 1.0f) / logCount);
        index->words.push_back({&word, bits[l], prior - penalty[l]});
      }
    }
    index->byKey.reserve(index->words.size());
    index->byDeletion.reserve(index->words.size() * 11);
    for (std::uint32_t id = 0; id < index->words.size(); ++id) {
      const std::string key = SpellingKey(*index->words[id].text);
      index->byKey.push_back(std::uint64_t{KeyHash(key)} << 32 | id);
      ForEachDeletion(key, [&](std::string_view shorter) {
        index->byDeletion.push_back(std::uint64_t{KeyHash(shorter)} << 32 | id);
      });
    }
    std::sort(index->byKey.begin(), index->byKey.end());
    std::sort(index->byDeletion.begin(), index->byDeletion.end());
    index->byDeletion.shrink_to_fit();
    index_ = std::move(index);
  });
  return *index_;
}

std::vector<std::string> Suggester::Suggest(std::string_view word, std::size_t limit) const {
  limit = std::min(limit, kMaxSuggestions);
  if (word.empty() || word.size() > kMaxWrittenLength || limit == 0) return {};
  const Index& index = BuiltIndex();
  const std::string written = LowerCase(word);
  const std::string key = SpellingKey(written);
  if (key.empty()) return {};

  // Candidates: the same key (accents, sound-alike letters, h, doubled letters), a key one letter
  // longer or shorter (a letter lost or added), and a key one letter different or with two
  // letters swapped (both with one letter left out give the same text).
  std::vector<std::uint32_t> ids;
  auto add = [&](std::uint32_t id) { ids.push_back(id); };
  ForEachUnder(index.byKey, KeyHash(key), add);
  ForEachUnder(index.byDeletion, KeyHash(key), add);
  ForEachDeletion(key, [&](std::string_view shorter) {
    const std::uint32_t hash = KeyHash(shorter);
    ForEachUnder(index.byKey, hash, add);
    ForEachUnder(index.byDeletion, hash, add);
  });
  if (ids.size() < limit && key.size() >= 5) {
    // Two slips in one word: two letters added, or one added and one lost or changed.
    ForEachDeletion(key, [&](std::string_view shorter) {
      ForEachDeletion(shorter, [&](std::string_view shortest) {
        const std::uint32_t hash = KeyHash(shortest);
        ForEachUnder(index.byKey, hash, add);
        ForEachUnder(index.byDeletion, hash, add);
      });
    });
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());

  struct Scored {
    float score;
    std::uint32_t id;
  };
  std::vector<Scored> scored;
  scored.reserve(ids.size());
  for (std::uint32_t id : ids) {
    const Index::Word& candidate = index.words[id];
    const std::string& text = *candidate.text;
    if (text.size() + 4 < written.size() || written.size() + 4 < text.size()) continue;
    const float cost = EditCost(written, text, kMaxCost);
    if (cost > kMaxCost) continue;
    scored.push_back({cost - candidate.bonus, id});
  }
  auto better = [&](const Scored& a, const Scored& b) {
    if (a.score != b.score) return a.score < b.score;
    return *index.words[a.id].text < *index.words[b.id].text;
  };
  const std::size_t count = std::min(limit, scored.size());
  std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(count), scored.end(), better);

  const CasePattern pattern = CasePatternOf(word);
  std::vector<std::string> suggestions;
  suggestions.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const Index::Word& candidate = index.words[scored[i].id];
    std::string text = *candidate.text;
    if (pattern == CasePattern::AllCaps && word.size() > 1) {
      text = UpperCase(text);
    } else if (pattern == CasePattern::Capitalised || pattern == CasePattern::AllCaps ||
               (candidate.lists & kProperName) != 0) {
      text[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(text[0])));
    }
    suggestions.push_back(std::move(text));
  }
  return suggestions;
}

}  // namespace velmara
