#include "worddb/word_record.h"

#include "checker/characters.h"

namespace velmara {

namespace {

// 15 digits hold five characters; anything from 10^15 up is outside the format.
constexpr std::int64_t kFirstValueTooLong = 1'000'000'000'000'000;

std::int64_t ReadLittleEndian64(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return static_cast<std::int64_t>(value);
}

void WriteLittleEndian64(std::int64_t value, char* bytes) {
  auto bits = static_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) {
    bytes[i] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}

}  // namespace

std::string DecodePackedValue(std::int64_t value) {
  // A value of more than 15 digits would mean more than five characters in one slot; no writer
  // produces it, so it carries nothing rather than a guess at its characters.
  if (value <= 0 || value >= kFirstValueTooLong) return {};
  // Groups of three digits from the right are the groups of the zero-padded digit string from
  // the left, read in reverse; arithmetic keeps a million-record load fast.
  char groups[kCharactersPerSlot];
  std::size_t count = 0;
  while (value > 0) {
    groups[count++] = static_cast<char>(static_cast<unsigned char>(value % 1000 % 256));
    value /= 1000;
  }
  std::string text(count, '\0');
  for (std::size_t i = 0; i < count; ++i) text[i] = groups[count - 1 - i];
  return text;
}

std::string DecodeWordRecord(const unsigned char* record) {
  std::string joined;
  for (std::size_t offset : kSlotOffsets) joined += DecodePackedValue(ReadLittleEndian64(record + offset));
  return LowerCase(TrimSpaces(joined));
}

std::optional<std::array<std::int64_t, kPackedSlots>> EncodeWordValues(std::string_view word) {
  if (word.size() > kMaxWordLength) return std::nullopt;
  std::array<std::int64_t, kPackedSlots> values{};
  for (std::size_t i = 0; i < word.size(); ++i) {
    auto code = static_cast<unsigned char>(word[i]);
    // A leading code 0 would vanish with the value's leading zeros.
    if (code == 0) return std::nullopt;
    auto& value = values[i / kCharactersPerSlot];
    value = value * 1000 + code;
  }
  return values;
}

std::optional<std::string> EncodeWordRecord(std::string_view word) {
  auto values = EncodeWordValues(word);
  if (!values) return std::nullopt;
  std::string record(kRecordSize, '\0');
  for (std::size_t slot = 0; slot < kPackedSlots; ++slot)
    WriteLittleEndian64((*values)[slot], record.data() + kSlotOffsets[slot]);
  return record;
}

}  // namespace velmara
