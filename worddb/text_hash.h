#pragma once
// A fast hash and equality for the short texts of the word lists and the check run. The word
// lists index a million forms, and every word of a text is looked up.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmara {

inline std::uint64_t MixBits(std::uint64_t value) {
  value ^= value >> 32;
  value *= 0xD6E8FEB86659FD93ull;
  value ^= value >> 32;
  return value;
}

inline std::uint64_t HashText(std::string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = text.size() * kMultiplier;
  const char* bytes = text.data();
  std::size_t left = text.size();
  while (left >= 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, bytes, 8);
    hash = (hash ^ chunk) * kMultiplier;
    hash ^= hash >> 29;
    bytes += 8;
    left -= 8;
  }
  if (left > 0) {
    // Byte by byte: a copy of a variable length would be a library call.
    std::uint64_t chunk = 0;
    for (std::size_t i = 0; i < left; ++i) chunk |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    hash = (hash ^ chunk) * kMultiplier;
  }
  return MixBits(hash);
}

// Byte-for-byte equality; for words of a few letters a loop beats a call to memcmp.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Whether `text` ends with `ending`, compared as SameText does.
inline bool EndsWithText(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && SameText(text.substr(text.size() - ending.size()), ending);
}

}  // namespace velmara
