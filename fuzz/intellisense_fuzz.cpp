// An Intellisense file of any bytes, read with a fixed set of keys (and the first field of the
// file): every lookup agrees with the others and returns a whole line of the file; an entry
// appended to it is found at once, counts once, and every byte that was there stays.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "suggest/intellisense.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// True when `line` stands in `text` as a whole line: between line ends or the ends of the text.
bool IsWholeLineOf(std::string_view text, std::string_view line) {
  for (std::size_t at = text.find(line); at != std::string_view::npos; at = text.find(line, at + 1)) {
    const bool startsLine = at == 0 || IsLineEnd(text[at - 1]);
    const std::size_t end = at + line.size();
    const bool endsLine = end == text.size() || IsLineEnd(text[end]);
    if (startsLine && endsLine) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const auto file = fuzz::TemporaryFolder() / "Intellisense.txt";
  const std::string before(fuzz::AsText(data, size));
  fuzz::WriteFile(file, before);
  // What the readers see: everything before the end-of-file character.
  const std::string_view readable = std::string_view(before).substr(0, before.find('\x1A'));

  std::vector<std::string> keys{"aver", "ola", "q", "\xF1u", "de"};
  std::string firstKey = IntellisenseFirstField(readable.substr(0, readable.find_first_of("\r\n")));
  if (!firstKey.empty()) keys.push_back(firstKey);

  for (const auto& key : keys) {
    const std::string line = IntellisenseFindLine(file, key);
    FUZZ_CHECK(IntellisenseHasKey(file, key) == !line.empty());
    if (line.empty()) continue;
    FUZZ_CHECK(IntellisenseFirstField(line) == key);
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\x1A", 3)) == std::string::npos);
    FUZZ_CHECK(IsWholeLineOf(readable, line));
    FUZZ_CHECK(IntellisenseSecondField(line).find('|') == std::string::npos);
  }

  const int entries = IntellisenseCountEntries(file);
  FUZZ_CHECK(entries >= 0 && static_cast<std::size_t>(entries) <= readable.size());

  // The suggestions dialog adds key + "|" + replacement.
  const std::string& key = keys[size % keys.size()];
  const std::string entry = key + "|a ver";
  const bool appended = IntellisenseAppend(file, entry);
  const std::string after = fuzz::ReadFile(file);
  if (!appended) {
    FUZZ_CHECK(after == before);
    return 0;
  }
  FUZZ_CHECK(IntellisenseFindLine(file, key) == entry);
  FUZZ_CHECK(IntellisenseCountEntries(file) == entries + 1);
  // Nothing of the old file is lost: it is all there, around the bytes added.
  const std::size_t kept = readable.size();
  FUZZ_CHECK(after.size() > before.size());
  FUZZ_CHECK(after.compare(0, kept, before, 0, kept) == 0);
  FUZZ_CHECK(after.compare(after.size() - (before.size() - kept), std::string::npos, before, kept) == 0);
  return 0;
}
