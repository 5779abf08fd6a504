#pragma once
// Hashes for the tables of the compiled word database (compiled_database.h), which is written
// once and mapped in place by every program, so its hash cannot be keyed per process as
// HashText is. These tables are built only from the shipped word lists, never from text a
// client sends: a lookup walks at most the longest run the writer measured, whatever the words
// asked for. Tables built at run time from a user's or a client's text keep using HashText.
//
// The functions and their constants are part of the file format: changing them needs a new
// format version.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmara {

inline constexpr std::uint64_t kStoredHashKey = 0x5645'4C4D'4152'4131ull;  // "VELMARA1"

// The words' hash in the stored tables: the multiply-and-fold of HashText under a fixed key.
inline std::uint64_t StoredHash(std::string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = (text.size() * kMultiplier) ^ kStoredHashKey;
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
    std::uint64_t chunk = 0;
    for (std::size_t i = 0; i < left; ++i) chunk |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    hash = (hash ^ chunk) * kMultiplier;
  }
  hash ^= hash >> 32;
  hash *= 0xD6E8FEB86659FD93ull;
  hash ^= hash >> 32;
  return hash;
}

// A checksum of a block of bytes, fast enough to run over the whole database: four independent
// lanes of 8 bytes, folded at the end. Not for adversaries, for damage (a flipped bit, a torn
// write). `seed` chains the sums of consecutive pieces (see kChecksumPiece).
inline std::uint64_t ChecksumBytes(const void* data, std::size_t size, std::uint64_t seed = 0) {
  constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull, kPrime2 = 0xC2B2AE3D27D4EB4Full;
  std::uint64_t lanes[4] = {seed + kPrime1, seed ^ kPrime2, seed - kPrime1, ~seed};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  std::size_t i = 0;
  for (; i + 32 <= size; i += 32) {
    for (int lane = 0; lane < 4; ++lane) {
      std::uint64_t chunk;
      std::memcpy(&chunk, bytes + i + 8 * lane, 8);
      lanes[lane] = (lanes[lane] ^ chunk) * kPrime1;
      lanes[lane] ^= lanes[lane] >> 31;
    }
  }
  std::uint64_t sum = size * kPrime2;
  for (std::uint64_t lane : lanes) sum = (sum ^ lane) * kPrime2 + (sum >> 27);
  for (; i < size; ++i) sum = (sum ^ bytes[i]) * kPrime1;
  return sum ^ (sum >> 33);
}

// Files and sections are summed in pieces of this size, each piece's sum the seed of the next, so
// a reader can sum a file through a small buffer and get what the writer got from memory.
inline constexpr std::size_t kChecksumPiece = std::size_t{1} << 20;

inline std::uint64_t ChecksumPieces(const void* data, std::size_t size, std::uint64_t sum = 0) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t done = 0; done < size; done += kChecksumPiece) {
    const std::size_t piece = size - done < kChecksumPiece ? size - done : kChecksumPiece;
    sum = ChecksumBytes(bytes + done, piece, sum);
  }
  return sum;
}

}  // namespace velmara
