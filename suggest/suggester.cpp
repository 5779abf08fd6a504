#include "suggest/suggester.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "checker/characters.h"
#include "checker/enclitic.h"
#include "checker/stress.h"
#include "suggest/spelling_key.h"
#include "suggest/word_frequencies.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

enum ListBit : std::uint8_t { kDictionary = 1, kVerb = 2, kProperName = 4, kFalsePositive = 8, kSequence = 16 };

// How far a word may be from what was written and still be offered.
constexpr float kMaxCost = 2.2f;
// The most a very common word gains over one the texts never use.
constexpr float kPriorWeight = 0.5f;
// Words run together: the space the writer left out, and the most a common sequence gains.
constexpr float kSplitCost = 0.3f;
constexpr float kSequencePriorWeight = 0.3f;
// A neighbour that makes a common sequence with the candidate, or agrees with its person.
constexpr float kNeighbourBonus = 0.25f;
// What a word the texts never use loses beside one they use rarely: most of the million forms
// of the lists are conjugations nobody writes.
constexpr float kUnseen = 0.2f;
constexpr float kRareFormPenalty = 0.12f;
constexpr std::size_t kMaxWrittenLength = 40;
// Above this cost for the best candidate, words two slips away are looked for too.
constexpr float kTwoSlipsCost = 0.9f;

std::uint32_t KeyHash(std::string_view key) { return static_cast<std::uint32_t>(HashText(key) >> 32); }

struct TextHasher {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return static_cast<std::size_t>(HashText(text)); }
};

// Every text made by leaving out one letter of the key, each once. Letters that meet where one
// went are one letter, as in any key: bicicleta less its second c reads as biicleta written.
template <typename Visit>
void ForEachDeletion(std::string_view key, Visit visit) {
  std::string shorter;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (i > 0 && key[i] == key[i - 1]) continue;  // the same text as leaving out the letter before
    const bool meet = i > 0 && i + 1 < key.size() && key[i - 1] == key[i + 1];
    shorter.assign(key.substr(0, i));
    shorter.append(key.substr(meet ? i + 2 : i + 1));
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
  // The common sequences (words separated by spaces), which `words` points into, and the same
  // texts for asking whether a neighbour and a candidate make one.
  std::vector<std::string> sequences;
  std::unordered_set<std::string_view, TextHasher, std::equal_to<>> sequenceSet;
};

Suggester::Suggester(const WordDatabase& database) : database_(database) {}
Suggester::~Suggester() = default;

namespace {

float Prior(std::size_t rank, float logCount, float weight) {
  return weight * (1.0f - std::log(static_cast<float>(rank) + 1.0f) / logCount);
}

std::string WithoutSpaces(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  for (char c : text)
    if (c != ' ') joined.push_back(c);
  return joined;
}

// A verb form with pronouns attached (`stem` and what follows) written without the accent that
// the longer word needs: cuentame gives cuéntame, acuerdate acuérdate. Empty when the form needs
// no accent (dame) or has one already.
std::string AccentedEncliticForm(std::string_view word, std::string_view stem) {
  for (char c : word)
    if (IsAccentedVowel(c)) return {};
  const std::size_t stressed = StressedVowel(stem);
  if (stressed == kNoVowel) return {};
  std::string accented = WithStressOn(word, stressed);
  return accented == word ? std::string() : accented;
}

}  // namespace

const Suggester::Index& Suggester::BuiltIndex() const {
  std::call_once(built_, [this] {
    auto index = std::make_unique<Index>();
    const WordList* lists[] = {&database_.dictionary, &database_.verbs, &database_.falsePositives.entries,
                               &database_.properNames};
    const std::uint8_t bits[] = {kDictionary, kVerb, kFalsePositive, kProperName};
    // A proper name or a verb form that is also a dictionary word is offered once, as the word.
    const float penalty[] = {0.0f, 0.08f, 0.0f, 0.25f};
    auto known = [&](std::string_view word) {
      for (const WordList* list : lists)
        if (list->Find(word) != 0) return true;
      return false;
    };

    std::unordered_map<std::string_view, std::size_t> rank;
    const std::vector<std::string_view> frequent = FrequentWords();
    for (std::size_t r = 0; r < frequent.size(); ++r) rank.emplace(frequent[r], r + 1);
    const float logCount = std::log(static_cast<float>(frequent.size()) + 2.0f);

    // Sequences whose words are all words, and that are not one word run together already.
    std::vector<std::pair<std::size_t, std::string_view>> sequences;
    const std::vector<std::string_view> common = CommonSequences();
    for (std::size_t r = 0; r < common.size(); ++r) {
      const std::string_view sequence = common[r];
      bool words = true;
      for (std::size_t start = 0; start <= sequence.size() && words;) {
        std::size_t end = sequence.find(' ', start);
        if (end == std::string_view::npos) end = sequence.size();
        words = end > start && known(sequence.substr(start, end - start));
        start = end + 1;
      }
      if (words && !known(WithoutSpaces(sequence))) sequences.emplace_back(r + 1, sequence);
    }
    index->sequences.reserve(sequences.size());
    for (const auto& [r, sequence] : sequences) index->sequences.emplace_back(sequence);
    for (const std::string& sequence : index->sequences) index->sequenceSet.insert(sequence);
    const float logSequences = std::log(static_cast<float>(common.size()) + 2.0f);

    std::size_t total = sequences.size();
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
        float prior = -kUnseen;
        if (auto found = rank.find(word); found != rank.end()) prior = Prior(found->second, logCount, kPriorWeight);
        // The voseo imperative (juntá, lanzá) is rare in writing yet one accent from the plain
        // form people mean (junta, lanza).
        const bool voseo = bits[l] == kVerb && prior <= 0.0f && word.size() > 2 && word.back() == '\xE1' &&
                           word[word.size() - 2] != 'r';
        index->words.push_back({&word, bits[l], prior - penalty[l] - (voseo ? kRareFormPenalty : 0.0f)});
      }
    }
    for (std::size_t s = 0; s < sequences.size(); ++s)
      index->words.push_back(
          {&index->sequences[s], kSequence, Prior(sequences[s].first, logSequences, kSequencePriorWeight)});

    int idBits = 1;
    while ((std::size_t{1} << idBits) < index->words.size()) ++idBits;
    idBits = std::max(idBits, 21);
    std::vector<std::uint32_t> keyHashes, deletionHashes, keyStarts, deletionStarts;
    keyHashes.reserve(index->words.size());
    deletionHashes.reserve(index->words.size() * 11);
    for (std::uint32_t id = 0; id < index->words.size(); ++id) {
      keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
      deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
      const Index::Word& word = index->words[id];
      const std::string key = SpellingKey((word.lists & kSequence) != 0 ? WithoutSpaces(*word.text) : *word.text);
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

std::vector<std::string> Suggester::Suggest(std::string_view word, std::size_t limit, Neighbours neighbours) const {
  limit = std::min(limit, kMaxSuggestions);
  if (word.empty() || word.size() > kMaxWrittenLength || limit == 0) return {};
  const Index& index = BuiltIndex();
  const std::string written = LowerCase(word);
  const std::string key = SpellingKey(written);
  if (key.empty()) return {};
  const std::string before = LowerCase(neighbours.before), after = LowerCase(neighbours.after);

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
  // What the neighbours say of a candidate: a common sequence with either, or the person of a
  // verb after a subject pronoun (yo actúo, él actuó).
  auto neighbourBonus = [&](std::string_view text) {
    if (before.empty() && after.empty()) return 0.0f;
    float bonus = 0.0f;
    std::string pair;
    if (!before.empty()) {
      pair.assign(before).append(" ").append(text);
      if (index.sequenceSet.contains(pair)) bonus += kNeighbourBonus;
      const char last = text.back();
      if (before == "yo" && last == '\xF3') bonus -= kNeighbourBonus;
      if ((before == "\xE9l" || before == "ella" || before == "usted") && last == 'o') bonus -= kNeighbourBonus;
    }
    if (!after.empty()) {
      pair.assign(text).append(" ").append(after);
      if (index.sequenceSet.contains(pair)) bonus += kNeighbourBonus;
    }
    return bonus;
  };
  auto rank = [&] {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::string joined;
    for (std::uint32_t id : ids) {
      const Index::Word& candidate = index.words[id];
      const bool sequence = (candidate.lists & kSequence) != 0;
      if (sequence) joined = WithoutSpaces(*candidate.text);
      const std::string& text = sequence ? joined : *candidate.text;
      if (text.size() + 4 < written.size() || written.size() + 4 < text.size()) continue;
      const float cost = EditCost(written, text, kMaxCost) + (sequence ? kSplitCost : 0.0f);
      if (cost > kMaxCost) continue;
      bestCost = std::min(bestCost, cost);
      scored.push_back({cost - candidate.bonus - neighbourBonus(*candidate.text), id});
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
  std::sort(scored.begin(), scored.end(), better);

  const CasePattern pattern = CasePatternOf(word);
  std::vector<std::string> suggestions;
  suggestions.reserve(limit);
  auto offer = [&](std::string text, bool properName) {
    if (pattern == CasePattern::AllCaps && word.size() > 1) {
      text = UpperCase(text);
    } else if (pattern == CasePattern::Capitalised || pattern == CasePattern::AllCaps || properName) {
      text[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(text[0])));
    }
    if (std::find(suggestions.begin(), suggestions.end(), text) == suggestions.end())
      suggestions.push_back(std::move(text));
  };
  // A verb form with pronouns attached that the lists leave in doubt: the form with the accent
  // its length asks for comes first.
  if (const std::string stem = EncliticStem(written); !stem.empty() && database_.verbs.Find(stem) != 0)
    if (std::string accented = AccentedEncliticForm(written, stem); !accented.empty()) offer(std::move(accented), false);
  for (std::size_t i = 0; i < scored.size() && suggestions.size() < limit; ++i) {
    const Index::Word& candidate = index.words[scored[i].id];
    offer(*candidate.text, (candidate.lists & kProperName) != 0);
  }
  return suggestions;
}

}  // namespace velmara
