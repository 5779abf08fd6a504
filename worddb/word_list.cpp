#include "worddb/word_list.h"

#include <bit>

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

void WordList::Assign(std::vector<std::string> words) {
  words_ = std::move(words);
  index_.Reset(words_.size());
  filter_.assign(std::bit_ceil(words_.size() / 8 + 1), 0);
  filterMask_ = filter_.size() - 1;
  auto textOf = [this](std::size_t position) -> std::string_view { return words_[position - 1]; };
  for (std::size_t i = 0; i < words_.size(); ++i) {
    const std::uint64_t hash = HashText(words_[i]);
    const FilterProbe probe = FilterProbeOf(hash, filterMask_);
    filter_[probe.word] |= probe.bits;
    index_.Insert(hash, i + 1, textOf);
  }
}

std::size_t WordList::Find(std::string_view text, std::uint64_t hash) const {
  if (filter_.empty()) return 0;
  const FilterProbe probe = FilterProbeOf(hash, filterMask_);
  if ((filter_[probe.word] & probe.bits) != probe.bits) return 0;
  return index_.Find(text, hash, [this](std::size_t position) -> std::string_view { return words_[position - 1]; });
}

void WordList::Prefetch(std::uint64_t hash) const {
  if (filter_.empty()) return;
  __builtin_prefetch(&filter_[FilterProbeOf(hash, filterMask_).word]);
  index_.Prefetch(hash);
}

}  // namespace velmara
