// Conversions at the edges, over any bytes: every Windows-1252 text survives the trip through
// UTF-8, and a UTF-8 text that Windows-1252 can hold survives the trip back; nothing else is
// reported as lossless. Kept aside, the characters Windows-1252 lacks come back in order.

#include <algorithm>
#include <cstdint>
#include <string>

#include "checker/encoding.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const std::string_view bytes = fuzz::AsText(data, size);

  // The bytes as Windows-1252 text.
  const std::string utf8 = Windows1252ToUtf8(bytes);
  FUZZ_CHECK(IsValidUtf8(utf8));
  bool lossless = false;
  FUZZ_CHECK(Utf8ToWindows1252(utf8, lossless) == bytes);
  FUZZ_CHECK(lossless);
  FUZZ_CHECK(InputToWindows1252(utf8) == bytes);

  // The bytes as UTF-8, valid or not: one Windows-1252 character per character read.
  const std::string text = Utf8ToWindows1252(bytes, lossless);
  FUZZ_CHECK(text.size() <= bytes.size());
  const bool valid = IsValidUtf8(bytes);
  if (!valid) FUZZ_CHECK(!lossless);
  // A letter and the accent after it come back as one character.
  const bool composed = valid && text.size() != static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
  if (lossless && !composed) FUZZ_CHECK(Windows1252ToUtf8(text) == bytes);
  if (lossless) FUZZ_CHECK(Utf8ToWindows1252(Windows1252ToUtf8(text)) == text);
  // Input of unknown encoding: pure UTF-8 reads as UTF-8, bytes without one valid multi-byte
  // sequence as Windows-1252, and input read in two pieces split where DecodablePrefix says
  // reads as it does whole.
  InputEncodings seen;
  const std::string input = InputToWindows1252(bytes, seen);
  if (valid) FUZZ_CHECK(input == text);
  if (!seen.utf8) FUZZ_CHECK(input == bytes);
  FUZZ_CHECK(input.size() <= bytes.size());
  const std::size_t split = ComposablePrefix(bytes.substr(0, bytes.size() / 2));
  FUZZ_CHECK(InputToWindows1252(bytes.substr(0, split)) + InputToWindows1252(bytes.substr(split)) == input);

  // Keeping what Windows-1252 lacks: one byte per character still, and valid UTF-8 comes back
  // whole, also when converted back in two pieces.
  UnheldCharacters unheld;
  const std::string kept = Utf8ToWindows1252(bytes, unheld);
  FUZZ_CHECK(kept.size() == text.size());
  FUZZ_CHECK(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), kUnheldCharacter)) == unheld.codes.size());
  if (valid && !composed) {
    const std::size_t cut = kept.size() / 2;
    std::string back = Windows1252ToUtf8(std::string_view(kept).substr(0, cut), unheld);
    back += Windows1252ToUtf8(std::string_view(kept).substr(cut), unheld);
    FUZZ_CHECK(back == bytes);
    FUZZ_CHECK(unheld.next == unheld.codes.size());
  }
  return 0;
}
