// A false-positive file of any bytes: the table always holds 1500 entries, the count is the
// number of lines (an empty file counts one), and the entries are the lines, lower-cased,
// without their line ends.

#include <algorithm>
#include <cstdint>
#include <string>

#include "checker/characters.h"
#include "fuzz_support.h"
#include "worddb/word_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const auto& folder = fuzz::TemporaryFolder();
  const std::string_view text = fuzz::AsText(data, size);
  fuzz::WriteFile(folder / kFalsePositiveFile, text);

  FalsePositiveList list;
  LoadFalsePositiveList(folder, list);
  FUZZ_CHECK(list.entries.Count() == FalsePositiveList::kCapacity);

  const bool endsWithLineEnd = !text.empty() && text.back() == '\n';
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + (endsWithLineEnd ? 0 : 1);
  FUZZ_CHECK(static_cast<std::size_t>(list.count) == lines);

  const std::size_t kept = std::min(lines, FalsePositiveList::kCapacity);
  for (std::size_t k = kept + 1; k <= FalsePositiveList::kCapacity; ++k) FUZZ_CHECK(list.entries.At(k).empty());
  if (lines > kept) return 0;

  // Joined again with LF, the entries give the whole text lower-cased, with CR LF read as LF.
  std::string joined;
  for (std::size_t k = 1; k <= kept; ++k) {
    FUZZ_CHECK(list.entries.At(k).find('\n') == std::string::npos);
    if (k > 1) joined += '\n';
    joined += list.entries.At(k);
  }
  if (endsWithLineEnd) joined += '\n';
  std::string expected = LowerCase(text);
  for (std::size_t at = expected.find("\r\n"); at != std::string::npos; at = expected.find("\r\n", at))
    expected.erase(at, 1);
  FUZZ_CHECK(joined == expected);
  return 0;
}
