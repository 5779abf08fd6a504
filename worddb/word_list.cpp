#include "worddb/word_list.h"

#include <algorithm>
#include <bit>

#include "worddb/stored_hash.h"

namespace velmara {
namespace {

struct FilterProbe {
  std::uint64_t word;
  std::uint64_t bits;
};

// From other bits of the hash than the index's slot and tag.
FilterProbe FilterProbeOf(std::uint64_t hash, std::uint64_t mask) {
  const std::uint64_t mixed = (hash ^ (hash >> 31)) * 0x94D049BB133111EBull;
  return FilterProbe{(mixed >> 32) & mask,
                     (std::uint64_t{1} << (mixed & 63)) | (std::uint64_t{1} << ((mixed >> 6) & 63)) |
                         (std::uint64_t{1} << ((mixed >> 12) & 63))};
}

}  // namespace

void WordList::Assign(std::vector<std::string> words, const std::function<void()>& pump) {
  owner_.reset();
  stored_ = {};
  words_ = std::move(words);
  index_.Reset(words_.size());
  filter_.assign(std::bit_ceil(words_.size() / 8 + 1), 0);
  filterMask_ = filter_.size() - 1;
  auto textOf = [this](std::size_t position) -> std::string_view { return words_[position - 1]; };
  for (std::size_t i = 0; i < words_.size(); ++i) {
    PumpEvery(pump, i, 32768);
    const std::uint64_t hash = HashText(words_[i]);
    const FilterProbe probe = FilterProbeOf(hash, filterMask_);
    filter_[probe.word] |= probe.bits;
    index_.Insert(hash, i + 1, textOf);
  }
}

void WordList::UseStored(const StoredListView& view, std::shared_ptr<const void> owner) {
  words_.clear();
  words_.shrink_to_fit();
  index_.Reset(0);
  filter_.clear();
  filterMask_ = 0;
  stored_ = view;
  owner_ = std::move(owner);
}

std::vector<std::string> WordList::Words() const {
  if (!owner_) return words_;
  std::vector<std::string> words;
  words.reserve(Count());
  for (std::size_t i = 1; i <= Count(); ++i) words.emplace_back(At(i));
  return words;
}

std::size_t WordList::FindStored(std::string_view text, std::uint64_t hash) const {
  const StoredListView& s = stored_;
  if (s.count == 0 || s.filter == nullptr) return 0;
  const FilterProbe probe = FilterProbeOf(hash, s.filterMask);
  if ((s.filter[probe.word] & probe.bits) != probe.bits) return 0;
  constexpr std::uint64_t kPositionBits = 0xFFFFFFFFull;
  std::uint64_t slot = hash & s.slotMask;
  for (std::size_t probes = 0; probes < s.longestProbe; ++probes, slot = (slot + 1) & s.slotMask) {
    const std::uint64_t entry = s.indexSlots[slot];
    if (entry == 0) return 0;
    const std::size_t position = entry & kPositionBits;
    if ((entry & ~kPositionBits) == (hash & ~kPositionBits) && position - 1 < s.count && SameText(StoredAt(position), text))
      return position;
  }
  return 0;
}

std::size_t WordList::Find(const WordQuery& query) const {
  const std::string_view text = query.Text();
  if (owner_) return FindStored(text, query.Stored());
  if (filter_.empty()) return 0;
  const std::uint64_t hash = query.Keyed();
  const FilterProbe probe = FilterProbeOf(hash, filterMask_);
  if ((filter_[probe.word] & probe.bits) != probe.bits) return 0;
  return index_.Find(text, hash, [this](std::size_t position) -> std::string_view { return words_[position - 1]; });
}

void WordList::Prefetch(const WordQuery& query) const {
  if (owner_) {
    if (stored_.count == 0 || stored_.filter == nullptr) return;
    const std::uint64_t stored = query.Stored();
    __builtin_prefetch(&stored_.filter[FilterProbeOf(stored, stored_.filterMask).word]);
    __builtin_prefetch(&stored_.indexSlots[stored & stored_.slotMask]);
    return;
  }
  if (filter_.empty()) return;
  const std::uint64_t hash = query.Keyed();
  __builtin_prefetch(&filter_[FilterProbeOf(hash, filterMask_).word]);
  index_.Prefetch(hash);
}

StoredListTables BuildStoredTables(const WordList& list, const std::function<void()>& pump) {
  StoredListTables tables;
  const std::size_t count = list.Count();
  tables.offsets.reserve(count + 1);
  tables.offsets.push_back(0);
  for (std::size_t i = 1; i <= count; ++i) {
    PumpEvery(pump, i, 32768);
    tables.texts.append(list.At(i));
    tables.offsets.push_back(static_cast<std::uint32_t>(tables.texts.size()));
  }
  tables.filter.assign(std::bit_ceil(count / 8 + 1), 0);
  tables.indexSlots = ZerosPumping<std::uint64_t>(std::bit_ceil(count * 2 + 2), pump);
  const std::uint64_t filterMask = tables.filter.size() - 1, slotMask = tables.indexSlots.size() - 1;
  constexpr std::uint64_t kPositionBits = 0xFFFFFFFFull;
  for (std::size_t i = 1; i <= count; ++i) {
    PumpEvery(pump, i, 32768);
    const std::string_view word = list.At(i);
    const std::uint64_t hash = StoredHash(word);
    const FilterProbe probe = FilterProbeOf(hash, filterMask);
    tables.filter[probe.word] |= probe.bits;
    for (std::uint64_t slot = hash & slotMask;; slot = (slot + 1) & slotMask) {
      const std::uint64_t entry = tables.indexSlots[slot];
      if (entry == 0) {
        tables.indexSlots[slot] = (hash & ~kPositionBits) | i;
        break;
      }
      if ((entry & ~kPositionBits) == (hash & ~kPositionBits) && list.At(entry & kPositionBits) == word) break;
    }
  }
  // A lookup reads at most the longest run of occupied slots and the empty slot after it. The
  // table is at most half full, so some slot is empty: start counting after one.
  const std::size_t size = tables.indexSlots.size();
  std::size_t start = 0;
  while (tables.indexSlots[start] != 0) ++start;
  std::size_t run = 0;
  for (std::size_t k = 1; k <= size; ++k) {
    run = tables.indexSlots[(start + k) & slotMask] != 0 ? run + 1 : 0;
    tables.longestProbe = std::max(tables.longestProbe, run + 1);
  }
  return tables;
}

}  // namespace velmara
