#include "suggest/suggester.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <span>
#include <unordered_map>

#include "checker/characters.h"
#include "checker/enclitic.h"
#include "checker/stress.h"
#include "suggest/spelling_key.h"
#include "suggest/word_frequencies.h"
#include "worddb/stored_hash.h"
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

// From the fixed-key hash of the compiled database, so an index written once serves every
// process. The index is built from the word lists only; what a writer types is only looked up.
std::uint32_t KeyHash(std::string_view key) { return static_cast<std::uint32_t>(StoredHash(key) >> 32); }

// Hashes counted or placed between two calls of the loader's pump: a few milliseconds' work.
constexpr std::size_t kHashesPumped = std::size_t{1} << 18;

// Appends 32-bit words to the stored form of the index, in this machine's byte order.
void AppendWords(std::string& out, std::span<const std::uint32_t> words, const std::function<void()>& pump = {}) {
  constexpr std::size_t kPiece = std::size_t{1} << 18;
  for (std::size_t done = 0; done < words.size(); done += kPiece) {
    const std::span<const std::uint32_t> piece = words.subspan(done, std::min(kPiece, words.size() - done));
    out.append(reinterpret_cast<const char*>(piece.data()), piece.size() * sizeof(std::uint32_t));
    if (pump) pump();
  }
}

struct SequenceHasher {
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
             int idBits, const std::function<void()>& pump = {}) {
    SetShape(bucketBits, idBits);
    std::vector<std::uint32_t> bucketStarts((std::size_t{1} << bucketBits) + 1, 0);
    for (std::size_t k = 0; k < hashes.size(); ++k) {
      PumpEvery(pump, k, kHashesPumped);
      ++bucketStarts[(hashes[k] >> bucketShift_) + 1];
    }
    for (std::size_t b = 1; b < bucketStarts.size(); ++b) bucketStarts[b] += bucketStarts[b - 1];
    std::vector<std::uint32_t> next(bucketStarts.begin(), bucketStarts.end() - 1);
    std::vector<std::uint32_t> entries = ZerosPumping<std::uint32_t>(hashes.size(), pump);
    for (std::uint32_t id = 0; id + 1 < starts.size(); ++id) {
      PumpEvery(pump, id, kHashesPumped);
      for (std::uint32_t k = starts[id]; k < starts[id + 1]; ++k)
        entries[next[hashes[k] >> bucketShift_]++] = Check(hashes[k]) << idBits_ | id;
    }
    starts_.Hold(std::move(bucketStarts));
    entries_.Hold(std::move(entries));
  }

  // Stored form: bucket bits, then the bucket starts, then the entries' count and the entries.
  std::size_t StoredWords() const { return 2 + starts_.size + entries_.size; }
  void Write(std::string& out, const std::function<void()>& pump) const {
    const std::uint32_t bucketBits = static_cast<std::uint32_t>(32 - bucketShift_);
    const std::uint32_t entryCount = static_cast<std::uint32_t>(entries_.size);
    AppendWords(out, {&bucketBits, 1});
    AppendWords(out, {starts_.data, starts_.size}, pump);
    AppendWords(out, {&entryCount, 1});
    AppendWords(out, {entries_.data, entries_.size}, pump);
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
constexpr std::uint32_t kStoredIndexVersion = 2;
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

struct Suggester::Index {
  Table words;           // a reference (list and position) for every word id
  HashIndex byKey;       // the key of every word
  HashIndex byDeletion;  // every key with one letter left out
  int idBits = 21;
  // The frequency prior's ranks, by word.
  std::unordered_map<std::string_view, std::size_t> rank;
  float logCount = 0.0f;
  // The common sequences (words separated by spaces): ids after the words', never stored, with
  // their ranks and indexes of their own, and their numbers by text for asking whether a
  // neighbour and a candidate make one. Whether the lists let a sequence be offered is decided
  // the first time it is met, not for all of them at the start: looking each word up in the
  // lists would read pages of the whole database before the first suggestion.
  std::vector<std::string_view> sequences;
  std::vector<std::size_t> sequenceRank;
  float logSequences = 0.0f;
  HashIndex sequencesByKey;
  HashIndex sequencesByDeletion;
  std::unordered_map<std::string_view, std::uint32_t, SequenceHasher, std::equal_to<>> sequenceNumbers;
  enum : std::uint8_t { kNotYetAsked, kOffered, kNotOffered };
  mutable std::unique_ptr<std::atomic<std::uint8_t>[]> sequenceOffered;

  bool IsSequence(std::uint32_t id) const { return id >= words.size; }
  std::string_view Text(const WordDatabase& database, std::uint32_t id) const;
  std::uint8_t Lists(std::uint32_t id) const {
    return IsSequence(id) ? std::uint8_t{kSequence} : kListBits[words.data[id] >> kListShift];
  }
  void BuildSequences();
  // Whether sequence `s` may be offered: its words are all words of the lists, and run together
  // they are not one already. Safe from several threads (each may decide it; all decide alike).
  bool SequenceOffered(const WordDatabase& database, std::size_t s) const;
  // The same for a text, false when it is no common sequence.
  bool IsOfferedSequence(const WordDatabase& database, std::string_view text) const {
    const auto found = sequenceNumbers.find(text);
    return found != sequenceNumbers.end() && SequenceOffered(database, found->second);
  }
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
  if (IsSequence(id)) return sequences[id - words.size];
  const WordList& list = ListOf(database, words.data[id] >> kListShift);
  const std::size_t position = words.data[id] & kPositionMask;
  return position >= 1 && position <= list.Count() ? list.At(position) : std::string_view();
}

float Suggester::Index::Bonus(const WordDatabase& database, std::uint32_t id) const {
  if (IsSequence(id)) return Prior(sequenceRank[id - words.size], logSequences, kSequencePriorWeight);
  const std::string_view word = Text(database, id);
  const std::size_t list = words.data[id] >> kListShift;
  float prior = -kUnseen;
  if (auto found = rank.find(word); found != rank.end()) prior = Prior(found->second, logCount, kPriorWeight);
  // The voseo imperative (juntá, lanzá) is rare in writing yet one accent from the plain form
  // people mean (junta, lanza).
  const bool voseo = kListBits[list] == kVerb && prior <= 0.0f && word.size() > 2 && word.back() == '\xE1' &&
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
  const int storedIdBits = static_cast<int>(data[4]);
  if (storedIdBits < 1 || storedIdBits > 31 || count > (std::size_t{1} << storedIdBits) || size - 5 < count) return false;
  words.data = data + 5;
  words.size = count;
  idBits = storedIdBits;
  std::size_t at = 5 + count;
  return byKey.Read(data, size, at, idBits) && byDeletion.Read(data, size, at, idBits) && at == size;
}

// Every common sequence, indexed by its key; few, so indexed at every start rather than stored.
void Suggester::Index::BuildSequences() {
  sequences = CommonSequences();
  sequenceRank.resize(sequences.size());
  sequenceOffered = std::make_unique<std::atomic<std::uint8_t>[]>(sequences.size());
  for (std::size_t r = 0; r < sequences.size(); ++r) {
    sequenceRank[r] = r + 1;
    sequenceNumbers.emplace(sequences[r], static_cast<std::uint32_t>(r));
  }
  logSequences = std::log(static_cast<float>(sequences.size()) + 2.0f);
  std::vector<std::uint32_t> keyHashes, deletionHashes, keyStarts, deletionStarts;
  for (const std::string_view sequence : sequences) {
    keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
    deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
    const std::string key = SpellingKey(WithoutSpaces(sequence));
    keyHashes.push_back(KeyHash(key));
    ForEachDeletion(key, [&](std::string_view shorter) { deletionHashes.push_back(KeyHash(shorter)); });
  }
  keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
  deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
  sequencesByKey.Build(keyHashes, keyStarts, 10, 21);
  sequencesByDeletion.Build(deletionHashes, deletionStarts, 12, 21);
}

bool Suggester::Index::SequenceOffered(const WordDatabase& database, std::size_t s) const {
  std::atomic<std::uint8_t>& state = sequenceOffered[s];
  if (const std::uint8_t known = state.load(std::memory_order_relaxed); known != kNotYetAsked) return known == kOffered;
  auto known = [&](std::string_view word) {
    for (std::size_t l = 0; l < 4; ++l)
      if (ListOf(database, l).Find(word) != 0) return true;
    return false;
  };
  const std::string_view sequence = sequences[s];
  bool allWords = true;
  for (std::size_t start = 0; start <= sequence.size() && allWords;) {
    std::size_t end = sequence.find(' ', start);
    if (end == std::string_view::npos) end = sequence.size();
    allWords = end > start && known(sequence.substr(start, end - start));
    start = end + 1;
  }
  const bool offered = allWords && !known(WithoutSpaces(sequence));
  state.store(offered ? kOffered : kNotOffered, std::memory_order_relaxed);
  return offered;
}

Suggester::Suggester(const WordDatabase& database, std::function<void()> whileBuilding)
    : database_(database), whileBuilding_(std::move(whileBuilding)) {}
Suggester::~Suggester() = default;

const Suggester::Index& Suggester::BuiltIndex() const {
  std::call_once(built_, [this] {
    auto index = std::make_unique<Index>();
    const std::vector<std::string_view> frequent = FrequentWords();
    for (std::size_t r = 0; r < frequent.size(); ++r) index->rank.emplace(frequent[r], r + 1);
    index->logCount = std::log(static_cast<float>(frequent.size()) + 2.0f);
    if (!database_.suggesterIndex.empty() && index->Read(database_.suggesterIndex)) {
      index->BuildSequences();
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
        PumpEvery(whileBuilding_, i, 8192);
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
      PumpEvery(whileBuilding_, id, 8192);
      keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
      deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
      const std::string key = SpellingKey(index->Text(database_, id));
      keyHashes.push_back(KeyHash(key));
      ForEachDeletion(key, [&](std::string_view shorter) { deletionHashes.push_back(KeyHash(shorter)); });
    }
    keyStarts.push_back(static_cast<std::uint32_t>(keyHashes.size()));
    deletionStarts.push_back(static_cast<std::uint32_t>(deletionHashes.size()));
    index->byKey.Build(keyHashes, keyStarts, 18, idBits, whileBuilding_);
    index->byDeletion.Build(deletionHashes, deletionStarts, 21, idBits, whileBuilding_);
    index->idBits = idBits;
    index->BuildSequences();
    index_ = std::move(index);
  });
  return *index_;
}

std::string Suggester::StoredIndex() const {
  const Index& index = BuiltIndex();
  // Written in place at its final size: the index of a large database is tens of megabytes, built
  // while the database's lists and the index itself are in memory.
  std::string out;
  out.reserve((5 + index.words.size + index.byKey.StoredWords() + index.byDeletion.StoredWords()) *
              sizeof(std::uint32_t));
  const std::uint32_t header[] = {kStoredIndexMagic, kStoredIndexVersion, KeyRulesFingerprint(),
                                  static_cast<std::uint32_t>(index.words.size),
                                  static_cast<std::uint32_t>(index.idBits)};
  AppendWords(out, header);
  AppendWords(out, {index.words.data, index.words.size}, whileBuilding_);
  index.byKey.Write(out, whileBuilding_);
  index.byDeletion.Write(out, whileBuilding_);
  return out;
}

std::string StoredSuggesterIndex(const WordDatabase& database, const std::function<void()>& pump) {
  return Suggester(database, pump).StoredIndex();
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
  auto add = [&](std::uint32_t id) {
    if (id < index.words.size) ids.push_back(id);
  };
  auto addSequence = [&](std::uint32_t s) {
    if (s < index.sequences.size() && index.SequenceOffered(database_, s)) ids.push_back(static_cast<std::uint32_t>(index.words.size + s));
  };
  // The words of a key, and those one letter longer (a key that is this one less a letter).
  auto addKey = [&](std::string_view text) {
    const std::uint32_t hash = KeyHash(text);
    index.byKey.ForEach(hash, add);
    index.byDeletion.ForEach(hash, add);
    index.sequencesByKey.ForEach(hash, addSequence);
    index.sequencesByDeletion.ForEach(hash, addSequence);
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
      if (index.IsOfferedSequence(database_, pair)) bonus += kNeighbourBonus;
      const char last = text.back();
      if (before == "yo" && last == '\xF3') bonus -= kNeighbourBonus;
      if ((before == "\xE9l" || before == "ella" || before == "usted") && last == 'o') bonus -= kNeighbourBonus;
    }
    if (!after.empty()) {
      pair.assign(text).append(" ").append(after);
      if (index.IsOfferedSequence(database_, pair)) bonus += kNeighbourBonus;
    }
    return bonus;
  };
  auto rank = [&] {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::string joined;
    for (std::uint32_t id : ids) {
      const std::string_view candidate = index.Text(database_, id);
      const bool sequence = index.IsSequence(id);
      if (sequence) joined = WithoutSpaces(candidate);
      const std::string_view text = sequence ? std::string_view(joined) : candidate;
      if (text.empty() || text.size() + 4 < written.size() || written.size() + 4 < text.size()) continue;
      const float cost = EditCost(written, text, kMaxCost) + (sequence ? kSplitCost : 0.0f);
      if (cost > kMaxCost) continue;
      bestCost = std::min(bestCost, cost);
      scored.push_back({cost - index.Bonus(database_, id) - neighbourBonus(candidate), id});
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
  for (std::size_t i = 0; i < scored.size() && suggestions.size() < limit; ++i)
    offer(std::string(index.Text(database_, scored[i].id)), (index.Lists(scored[i].id) & kProperName) != 0);
  return suggestions;
}

}  // namespace velmara
