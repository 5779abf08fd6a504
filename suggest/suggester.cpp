#include "suggest/suggester.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <unordered_map>

#include "checker/characters.h"
#include "suggest/spelling_key.h"
#include "suggest/word_frequencies.h"
#include "worddb/stored_hash.h"

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

// From the fixed-key hash of the compiled database, so an index written once serves every
// process. The index is built from the word lists only; what a writer types is only looked up.
std::uint32_t KeyHash(std::string_view key) { return static_cast<std::uint32_t>(StoredHash(key) >> 32); }

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

// An array built here or read in place from the compiled database.
struct Table {
  std::vector<std::uint32_t> held;
  const std::uint32_t* data = nullptr;
  std::size_t size = 0;
  void Hold(std::vector<std::uint32_t> values) {
    held = std::move(values);
    data = held.data();
    size = held.size();
  }
};

// Word ids by a 32-bit hash, in four bytes an entry: the top bits of the hash pick a bucket, the
// next bits are kept beside the word id to tell the texts of one bucket apart. A rare clash of
// hashes only adds a candidate, which the ranking then weighs like any other.
class HashIndex {
 public:
  // `hashes` holds the hashes of word 0, then of word 1, ...; `starts[id]` where word id's begin.
  void Build(const std::vector<std::uint32_t>& hashes, const std::vector<std::uint32_t>& starts, int bucketBits,
             int idBits) {
    SetShape(bucketBits, idBits);
    std::vector<std::uint32_t> bucketStarts((std::size_t{1} << bucketBits) + 1, 0);
    for (std::uint32_t hash : hashes) ++bucketStarts[(hash >> bucketShift_) + 1];
    for (std::size_t b = 1; b < bucketStarts.size(); ++b) bucketStarts[b] += bucketStarts[b - 1];
    std::vector<std::uint32_t> next(bucketStarts.begin(), bucketStarts.end() - 1);
    std::vector<std::uint32_t> entries(hashes.size());
    for (std::uint32_t id = 0; id + 1 < starts.size(); ++id)
      for (std::uint32_t k = starts[id]; k < starts[id + 1]; ++k)
        entries[next[hashes[k] >> bucketShift_]++] = Check(hashes[k]) << idBits_ | id;
    starts_.Hold(std::move(bucketStarts));
    entries_.Hold(std::move(entries));
  }

  // Stored form: bucket bits, then the bucket starts, then the entries' count and the entries.
  void Write(std::vector<std::uint32_t>& out) const {
    out.push_back(static_cast<std::uint32_t>(32 - bucketShift_));
    out.insert(out.end(), starts_.data, starts_.data + starts_.size);
    out.push_back(static_cast<std::uint32_t>(entries_.size));
    out.insert(out.end(), entries_.data, entries_.data + entries_.size);
  }
  // Points into a stored form at `data[at]`; advances `at`. False when it does not fit.
  bool Read(const std::uint32_t* data, std::size_t size, std::size_t& at, int idBits) {
    if (at >= size || data[at] < 1 || data[at] > 24) return false;
    const int bucketBits = static_cast<int>(data[at++]);
    SetShape(bucketBits, idBits);
    const std::size_t startCount = (std::size_t{1} << bucketBits) + 1;
    if (size - at < startCount + 1) return false;
    starts_.data = data + at;
    starts_.size = startCount;
    at += startCount;
    const std::size_t entryCount = data[at++];
    if (size - at < entryCount) return false;
    entries_.data = data + at;
    entries_.size = entryCount;
    at += entryCount;
    return true;
  }

  template <typename Visit>
  void ForEach(std::uint32_t hash, Visit visit) const {
    const std::uint32_t bucket = hash >> bucketShift_, check = Check(hash);
    const std::uint32_t idMask = (std::uint32_t{1} << idBits_) - 1;
    const std::size_t end = std::min<std::size_t>(starts_.data[bucket + 1], entries_.size);
    for (std::size_t k = starts_.data[bucket]; k < end; ++k)
      if ((entries_.data[k] >> idBits_) == check) visit(entries_.data[k] & idMask);
  }

 private:
  void SetShape(int bucketBits, int idBits) {
    bucketShift_ = 32 - bucketBits;
    idBits_ = idBits;
    checkMask_ = (std::uint32_t{1} << (32 - idBits)) - 1;
  }
  std::uint32_t Check(std::uint32_t hash) const { return (hash >> (bucketShift_ - (32 - idBits_))) & checkMask_; }

  int bucketShift_ = 32, idBits_ = 0;
  std::uint32_t checkMask_ = 0;
  Table starts_;
  Table entries_;
};

// The lists the suggester offers from, in the order a word is first taken from; a word id's
// reference holds the list in its top two bits and the word's position (from 1) below.
constexpr int kListShift = 30;
constexpr std::uint32_t kPositionMask = (std::uint32_t{1} << kListShift) - 1;
constexpr std::uint8_t kListBits[] = {kDictionary, kVerb, kFalsePositive, kProperName};
// A proper name or a verb form that is also a dictionary word is offered once, as the word.
constexpr float kListPenalty[] = {0.0f, 0.08f, 0.0f, 0.25f};

// What the stored index was made with: a change to the spelling key, to the word hash or to
// which words are indexed makes a stored index unusable (it is then built as before).
constexpr std::uint32_t kStoredIndexMagic = 0x58494753;  // "SGIX"
constexpr std::uint32_t kStoredIndexVersion = 1;
std::uint32_t KeyRulesFingerprint() {
  static const std::uint32_t fingerprint = [] {
    static const char* const kSamples[] = {
        "cami\xF3n", "exhibici\xF3n", "llave", "querer", "g\xE9nero", "acci\xF3n", "g\xFC" "ero", "zapato",
        "hijo", "beb\xE9", "cig\xFC" "e\xF1" "a", "examen", "jirafa", "xil\xF3" "fono", "callar", "ayer",
        "quince", "kilo", "cambio", "hombre", "ahorro", "cacerola", "gigante", "c\xE9sped", "vaca"};
    std::string keys;
    for (const char* sample : kSamples) keys += SpellingKey(sample) + '|' + SpellingKey(sample, 0) + '|';
    return KeyHash(keys) ^ kStoredIndexVersion;
  }();
  return fingerprint;
}

}  // namespace

struct Suggester::Index {
  Table words;           // a reference (list and position) for every word id
  HashIndex byKey;       // the key of every word
  HashIndex byDeletion;  // every key with one letter left out
  int idBits = 21;
  // The frequency prior's ranks, by word.
  std::unordered_map<std::string_view, std::size_t> rank;
  float logCount = 0.0f;

  std::string_view Text(const WordDatabase& database, std::uint32_t id) const;
  std::uint8_t Lists(std::uint32_t id) const { return kListBits[words.data[id] >> kListShift]; }
  // Frequency prior less the list's penalty.
  float Bonus(const WordDatabase& database, std::uint32_t id) const;
  bool Read(std::string_view stored);
};

namespace {
const WordList& ListOf(const WordDatabase& database, std::size_t list) {
  switch (list) {
    case 0: return database.dictionary;
    case 1: return database.verbs;
    case 2: return database.falsePositives.entries;
    default: return database.properNames;
  }
}
}  // namespace

std::string_view Suggester::Index::Text(const WordDatabase& database, std::uint32_t id) const {
  const WordList& list = ListOf(database, words.data[id] >> kListShift);
  const std::size_t position = words.data[id] & kPositionMask;
  return position >= 1 && position <= list.Count() ? list.At(position) : std::string_view();
}

float Suggester::Index::Bonus(const WordDatabase& database, std::uint32_t id) const {
  const std::string_view word = Text(database, id);
  const std::size_t list = words.data[id] >> kListShift;
  float prior = 0.0f;
  if (auto found = rank.find(word); found != rank.end())
    prior = kPriorWeight * (1.0f - std::log(static_cast<float>(found->second) + 1.0f) / logCount);
  // The voseo imperative (juntá, lanzá) is rare in writing yet one accent from the plain form
  // people mean (junta, lanza).
  const bool voseo = kListBits[list] == kVerb && prior == 0.0f && word.size() > 2 && word.back() == '\xE1' &&
                     word[word.size() - 2] != 'r';
  return prior - kListPenalty[list] - (voseo ? kRareFormPenalty : 0.0f);
}

// Stored form, in 32-bit values: magic, version, key fingerprint, word count, id bits, the word
// references, then the two indexes.
bool Suggester::Index::Read(std::string_view stored) {
  if (stored.size() % 4 != 0 || reinterpret_cast<std::uintptr_t>(stored.data()) % 4 != 0) return false;
  const auto* data = reinterpret_cast<const std::uint32_t*>(stored.data());
  const std::size_t size = stored.size() / 4;
  if (size < 5 || data[0] != kStoredIndexMagic || data[1] != kStoredIndexVersion || data[2] != KeyRulesFingerprint())
    return false;
  const std::size_t count = data[3];
  const int idBits = static_cast<int>(data[4]);
  if (idBits < 1 || idBits > 31 || count > (std::size_t{1} << idBits) || size - 5 < count) return false;
  words.data = data + 5;
  words.size = count;
  this->idBits = idBits;
  std::size_t at = 5 + count;
  return byKey.Read(data, size, at, idBits) && byDeletion.Read(data, size, at, idBits) && at == size;
}

Suggester::Suggester(const WordDatabase& database) : database_(database) {}
Suggester::~Suggester() = default;

const Suggester::Index& Suggester::BuiltIndex() const {
  std::call_once(built_, [this] {
    auto index = std::make_unique<Index>();
    const std::vector<std::string_view> frequent = FrequentWords();
    for (std::size_t r = 0; r < frequent.size(); ++r) index->rank.emplace(frequent[r], r + 1);
    index->logCount = std::log(static_cast<float>(frequent.size()) + 2.0f);
    if (!database_.suggesterIndex.empty() && index->Read(database_.suggesterIndex)) {
      index_ = std::move(index);
      return;
    }

    std::vector<std::uint32_t> words;
    std::size_t total = 0;
    for (std::size_t l = 0; l < 4; ++l) total += ListOf(database_, l).Count();
    words.reserve(total);
    for (std::size_t l = 0; l < 4; ++l) {
      const WordList& list = ListOf(database_, l);
      for (std::size_t i = 1; i <= list.Count(); ++i) {
        const std::string_view word = list.At(i);
        if (word.empty() || list.Find(word) != i) continue;
        bool earlier = false;
        for (std::size_t k = 0; k < l && !earlier; ++k) earlier = ListOf(database_, k).Find(word) != 0;
        if (earlier) continue;
        words.push_back(static_cast<std::uint32_t>(l << kListShift | i));
      }
    }
    index->words.Hold(std::move(words));
    int idBits = 1;
    while ((std::size_t{1} << idBits) < index->words.size) ++idBits;
    idBits = std::max(idBits, 21);
    std::vector<std::uint32_t> keyHashes, deletionHashes, keyStarts, deletionStarts;
    keyHashes.reserve(index->words.size);
    deletionHashes.reserve(index->words.size * 11);
    for (std::uint32_t id = 0; id < index->words.size; ++id) {
      keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
      deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
      const std::string key = SpellingKey(index->Text(database_, id));
      keyHashes.push_back(KeyHash(key));
      ForEachDeletion(key, [&](std::string_view shorter) { deletionHashes.push_back(KeyHash(shorter)); });
    }
    keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
    deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
    index->byKey.Build(keyHashes, keyStarts, 18, idBits);
    index->byDeletion.Build(deletionHashes, deletionStarts, 21, idBits);
    index->idBits = idBits;
    index_ = std::move(index);
  });
  return *index_;
}

std::string Suggester::StoredIndex() const {
  const Index& index = BuiltIndex();
  std::vector<std::uint32_t> out = {kStoredIndexMagic, kStoredIndexVersion, KeyRulesFingerprint(),
                                    static_cast<std::uint32_t>(index.words.size),
                                    static_cast<std::uint32_t>(index.idBits)};
  out.insert(out.end(), index.words.data, index.words.data + index.words.size);
  index.byKey.Write(out);
  index.byDeletion.Write(out);
  return std::string(reinterpret_cast<const char*>(out.data()), out.size() * sizeof(std::uint32_t));
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
  auto add = [&](std::uint32_t id) {
    if (id < index.words.size) ids.push_back(id);
  };
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
      const std::string_view text = index.Text(database_, id);
      if (text.size() + 4 < written.size() || written.size() + 4 < text.size()) continue;
      const float cost = EditCost(written, text, kMaxCost);
      if (cost > kMaxCost) continue;
      bestCost = std::min(bestCost, cost);
      scored.push_back({cost - index.Bonus(database_, id), id});
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
    return index.Text(database_, a.id) < index.Text(database_, b.id);
  };
  const std::size_t count = std::min(limit, scored.size());
  std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(count), scored.end(), better);

  const CasePattern pattern = CasePatternOf(word);
  std::vector<std::string> suggestions;
  suggestions.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string text(index.Text(database_, scored[i].id));
    if (pattern == CasePattern::AllCaps && word.size() > 1) {
      text = UpperCase(text);
    } else if (pattern == CasePattern::Capitalised || pattern == CasePattern::AllCaps ||
               (index.Lists(scored[i].id) & kProperName) != 0) {
      text[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(text[0])));
    }
    suggestions.push_back(std::move(text));
  }
  return suggestions;
}

}  // namespace velmara
