#include "suggest/suggester.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
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
constexpr float kRareFormPenalty = 0.12f;
constexpr std::size_t kMaxWrittenLength = 40;
// Above this cost for the best candidate, words two slips away are looked for too.
constexpr float kTwoSlipsCost = 0.9f;

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

// Word ids by a 32-bit hash, in four bytes an entry: the top bits of the hash pick a bucket, the
// next bits are kept beside the word id to tell the texts of one bucket apart. A rare clash of
// hashes only adds a candidate, which the ranking then weighs like any other.
class HashIndex {
 public:
  // `hashes` holds the hashes of word 0, then of word 1, ...; `starts[id]` where word id's begin.
  void Build(const std::vector<std::uint32_t>& hashes, const std::vector<std::uint32_t>& starts, int bucketBits,
             int idBits) {
    bucketShift_ = 32 - bucketBits;
    idBits_ = idBits;
    checkMask_ = (std::uint32_t{1} << (32 - idBits)) - 1;
    starts_.assign((std::size_t{1} << bucketBits) + 1, 0);
    for (std::uint32_t hash : hashes) ++starts_[(hash >> bucketShift_) + 1];
    for (std::size_t b = 1; b < starts_.size(); ++b) starts_[b] += starts_[b - 1];
    std::vector<std::uint32_t> next(starts_.begin(), starts_.end() - 1);
    entries_.resize(hashes.size());
    for (std::uint32_t id = 0; id + 1 < starts.size(); ++id)
      for (std::uint32_t k = starts[id]; k < starts[id + 1]; ++k)
        entries_[next[hashes[k] >> bucketShift_]++] = Check(hashes[k]) << idBits_ | id;
  }

  template <typename Visit>
  void ForEach(std::uint32_t hash, Visit visit) const {
    const std::uint32_t bucket = hash >> bucketShift_, check = Check(hash);
    const std::uint32_t idMask = (std::uint32_t{1} << idBits_) - 1;
    for (std::uint32_t k = starts_[bucket]; k < starts_[bucket + 1]; ++k)
      if ((entries_[k] >> idBits_) == check) visit(entries_[k] & idMask);
  }

 private:
  std::uint32_t Check(std::uint32_t hash) const { return (hash >> (bucketShift_ - (32 - idBits_))) & checkMask_; }

  int bucketShift_ = 32, idBits_ = 0;
  std::uint32_t checkMask_ = 0;
  std::vector<std::uint32_t> starts_;
  std::vector<std::uint32_t> entries_;
};

}  // namespace

struct Suggester::Index {
  struct Word {
    const std::string* text;
    std::uint8_t lists;
    float bonus;  // frequency prior less the list's penalty
  };
  std::vector<Word> words;
  HashIndex byKey;       // the key of every word
  HashIndex byDeletion;  // every key with one letter left out
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
        // The voseo imperative (juntá, lanzá) is rare in writing yet one accent from the plain
        // form people mean (junta, lanza).
        const bool voseo = bits[l] == kVerb && prior == 0.0f && word.size() > 2 && word.back() == '\xE1' &&
                           word[word.size() - 2] != 'r';
        index->words.push_back({&word, bits[l], prior - penalty[l] - (voseo ? kRareFormPenalty : 0.0f)});
      }
    }
    int idBits = 1;
    while ((std::size_t{1} << idBits) < index->words.size()) ++idBits;
    idBits = std::max(idBits, 21);
    std::vector<std::uint32_t> keyHashes, deletionHashes, keyStarts, deletionStarts;
    keyHashes.reserve(index->words.size());
    deletionHashes.reserve(index->words.size() * 11);
    for (std::uint32_t id = 0; id < index->words.size(); ++id) {
      keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
      deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
      const std::string key = SpellingKey(*index->words[id].text);
      keyHashes.push_back(KeyHash(key));
      ForEachDeletion(key, [&](std::string_view shorter) { deletionHashes.push_back(KeyHash(shorter)); });
    }
    keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
    deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
    index->byKey.Build(keyHashes, keyStarts, 18, idBits);
    index->byDeletion.Build(deletionHashes, deletionStarts, 21, idBits);
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
  // The words of a key, and those one letter longer (a key that is this one less a letter).
  auto addKey = [&](std::string_view text) {
    const std::uint32_t hash = KeyHash(text);
    index.byKey.ForEach(hash, add);
    index.byDeletion.ForEach(hash, add);
  };
  addKey(key);
  ForEachDeletion(key, addKey);
  struct Scored {
    float score;
    std::uint32_t id;
  };
  std::vector<Scored> scored;
  float bestCost = kMaxCost + 1.0f;
  auto rank = [&] {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (std::uint32_t id : ids) {
      const Index::Word& candidate = index.words[id];
      const std::string& text = *candidate.text;
      if (text.size() + 4 < written.size() || written.size() + 4 < text.size()) continue;
      const float cost = EditCost(written, text, kMaxCost);
      if (cost > kMaxCost) continue;
      bestCost = std::min(bestCost, cost);
      scored.push_back({cost - candidate.bonus, id});
    }
  };
  rank();
  if (bestCost > kTwoSlipsCost && key.size() >= 5) {
    // Two slips in one word: two letters added, or one added and one lost or changed.
    std::vector<std::uint32_t> seen = std::move(ids);
    ids.clear();
    ForEachDeletion(key, [&](std::string_view shorter) {
      ForEachDeletion(shorter, addKey);
    });
    // A c or g whose sound changed with a slip beside it (informacon for informacion).
    for (std::size_t p = 0; p < written.size(); ++p) {
      if (written[p] != 'c' && written[p] != 'g') continue;
      const std::string flipped = SpellingKey(written, p);
      addKey(flipped);
      ForEachDeletion(flipped, addKey);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<std::uint32_t> fresh;
    std::set_difference(ids.begin(), ids.end(), seen.begin(), seen.end(), std::back_inserter(fresh));
    ids = std::move(fresh);
    rank();
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
