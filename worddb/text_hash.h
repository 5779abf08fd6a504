#pragma once
// A fast hash and equality for the short texts of the word lists and the check run. The word
// lists index a million forms, and every word of a text is looked up. The hash is keyed with a
// value drawn at random once per process, so nobody can choose words that it sends to one place.

#include <sys/random.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmara {

// The process's hash key: drawn from the system's random source at first use, then fixed (the
// first use is safe from several threads at once).
inline std::uint64_t HashSeed() {
  static const std::uint64_t seed = [] {
    std::uint64_t value = 0;
    if (::getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value)) {
      // No random source: at least not the same key in every run.
      value = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
              0x9E3779B97F4A7C15ull;
    }
    return value;
  }();
  return seed;
}

inline std::uint64_t MixBits(std::uint64_t value) {
  value ^= value >> 32;
  value *= 0xD6E8FEB86659FD93ull;
  value ^= value >> 32;
  return value;
}

inline std::uint64_t HashText(std::string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = (text.size() * kMultiplier) ^ HashSeed();
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
