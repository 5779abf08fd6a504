#pragma once
// The word-list file format: fixed records of 100 bytes, each holding up to eight packed values
// (signed 64-bit, little-endian) at offsets 4, 16, 28, 40, 52, 64, 76 and 88. A positive value
// carries up to five characters as three decimal digits each (Windows-1252 codes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmara {

inline constexpr std::size_t kRecordSize = 100;
inline constexpr std::size_t kPackedSlots = 8;
inline constexpr std::size_t kCharactersPerSlot = 5;
inline constexpr std::size_t kMaxWordLength = kPackedSlots * kCharactersPerSlot;  // 40
inline constexpr std::array<std::size_t, kPackedSlots> kSlotOffsets = {4, 16, 28, 40, 52, 64, 76, 88};

// Characters carried by one packed value; empty for a value of 0 or below.
std::string DecodePackedValue(std::int64_t value);

// Word of one record: the characters of the positive values joined in slot order, spaces
// trimmed at both ends, lowercased.
std::string DecodeWordRecord(const unsigned char* record);
// The same word written into `word`, without allocating; returns its length.
std::size_t DecodeWordRecordInto(const unsigned char* record, char (&word)[kMaxWordLength]);

// The packed values that carry a word (at most 40 characters, no character code 0); the unused
// slots hold 0. Empty optional when the word cannot be stored.
std::optional<std::array<std::int64_t, kPackedSlots>> EncodeWordValues(std::string_view word);

// One 100-byte record for the word (reserved bytes zero); empty optional when it cannot be stored.
std::optional<std::string> EncodeWordRecord(std::string_view word);

}  // namespace velmara
