#pragma once
// The hash of every text a user or a client chooses: the words of the lists, of a checked text,
// of the Intellisense list and of the suggester's keys. It is SipHash-1-3 keyed with 128 bits
// drawn at random once per process, so nobody who does not know the key can choose words that
// share a place in a table, however long the words (a multiplicative hash keeps its collisions
// whatever its key). One place for all of them, so a change of hash reaches every table. (A
// table stored on disk cannot depend on a key drawn at each start; it has a fixed hash of its own.)

#include <sys/random.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmara {

struct HashKey {
  std::uint64_t k0;
  std::uint64_t k1;
};

// The process's hash key: drawn from the system's random source at first use, then fixed (the
// first use is safe from several threads at once).
inline const HashKey& TextHashKey() {
  static const HashKey key = [] {
    HashKey value{0, 0};
    if (::getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value)) {
      // No random source: at least not the same key in every run.
      const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
      value = HashKey{now * 0x9E3779B97F4A7C15ull, (now ^ 0xD6E8FEB86659FD93ull) * 0xBF58476D1CE4E5B9ull};
    }
    return value;
  }();
  return key;
}

namespace sip {

constexpr std::uint64_t Rotate(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

struct State {
  std::uint64_t v0, v1, v2, v3;
  constexpr explicit State(const HashKey& key)
      : v0(key.k0 ^ 0x736f6d6570736575ull),
        v1(key.k1 ^ 0x646f72616e646f6dull),
        v2(key.k0 ^ 0x6c7967656e657261ull),
        v3(key.k1 ^ 0x7465646279746573ull) {}
  constexpr void Round() {
    v0 += v1; v1 = Rotate(v1, 13); v1 ^= v0; v0 = Rotate(v0, 32);
    v2 += v3; v3 = Rotate(v3, 16); v3 ^= v2;
    v0 += v3; v3 = Rotate(v3, 21); v3 ^= v0;
    v2 += v1; v1 = Rotate(v1, 17); v1 ^= v2; v2 = Rotate(v2, 32);
  }
  template <int kRounds>
  constexpr void Absorb(std::uint64_t block) {
    v3 ^= block;
    for (int i = 0; i < kRounds; ++i) Round();
    v0 ^= block;
  }
  template <int kRounds>
  constexpr std::uint64_t Finish() {
    v2 ^= 0xff;
    for (int i = 0; i < kRounds; ++i) Round();
    return v0 ^ v1 ^ v2 ^ v3;
  }
};

}  // namespace sip

// SipHash-c-d of `text` under `key`: blocks of eight bytes, little-endian, then a last block with
// the length in its top byte.
template <int kCompression, int kFinal>
inline std::uint64_t SipHash(const HashKey& key, std::string_view text) {
  sip::State state(key);
  const char* bytes = text.data();
  std::size_t left = text.size();
  while (left >= 8) {
    std::uint64_t block;
    std::memcpy(&block, bytes, 8);
    if constexpr (std::endian::native == std::endian::big) block = __builtin_bswap64(block);
    state.Absorb<kCompression>(block);
    bytes += 8;
    left -= 8;
  }
  std::uint64_t last = std::uint64_t{text.size() & 0xff} << 56;
  // Byte by byte: a copy of a variable length would be a library call.
  for (std::size_t i = 0; i < left; ++i) last |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  state.Absorb<kCompression>(last);
  return state.Finish<kFinal>();
}

inline std::uint64_t HashText(std::string_view text) { return SipHash<1, 3>(TextHashKey(), text); }

// HashText of a text of up to sixteen bytes already packed into two words (first byte lowest),
// for tables that keep words that way: the same blocks, so a word of up to seven bytes costs one.
inline std::uint64_t HashPackedText(std::uint64_t low, std::uint64_t high, std::size_t length) {
  sip::State state(TextHashKey());
  const std::uint64_t lengthByte = std::uint64_t{length & 0xff} << 56;
  if (length < 8) {
    state.Absorb<1>(low | lengthByte);
  } else if (length < 16) {
    state.Absorb<1>(low);
    state.Absorb<1>(high | lengthByte);
  } else {
    state.Absorb<1>(low);
    state.Absorb<1>(high);
    state.Absorb<1>(lengthByte);
  }
  return state.Finish<3>();
}

// HashText for the standard containers, by any kind of text (std::equal_to<> beside it).
struct TextHasher {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return static_cast<std::size_t>(HashText(text)); }
};

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
