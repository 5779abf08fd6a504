// A word-list file of any bytes and any length: a malformed file is refused with its message and
// leaves the list as it was; a well-formed one gives one lower-case word of at most 40 characters
// per record, the lookup finds every word at its first index, and the encoder writes it back.

#include <cstdint>
#include <string>
#include <vector>

#include "checker/characters.h"
#include "fuzz_support.h"
#include "worddb/word_database.h"
#include "worddb/word_record.h"

namespace {

class CountingHooks : public velmara::LoadHooks {
 public:
  void PumpPendingMessages() override { ++pumps; }
  void ShowMessageBox(const std::string& text) override { messages.push_back(text); }
  std::size_t pumps = 0;
  std::vector<std::string> messages;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const auto& folder = fuzz::TemporaryFolder();
  fuzz::WriteFile(folder / kVerbFile, fuzz::AsText(data, size));

  WordList list(std::vector<std::string>{"previo"});
  CountingHooks hooks;
  constexpr std::size_t kPumpPeriod = 4;
  const bool loaded = LoadWordList(folder, kVerbFile, list, kPumpPeriod, hooks);

  if (size % kRecordSize != 0) {
    FUZZ_CHECK(!loaded);
    FUZZ_CHECK(hooks.messages.size() == 1);
    FUZZ_CHECK(hooks.messages[0] == std::string("Fichero con formato Erroneo ..\r\n") + kVerbFile);
    FUZZ_CHECK(list.Count() == 1 && list.At(1) == "previo");
    return 0;
  }

  const std::size_t count = size / kRecordSize;
  FUZZ_CHECK(loaded);
  FUZZ_CHECK(hooks.messages.empty());
  FUZZ_CHECK(list.Count() == count);
  FUZZ_CHECK(hooks.pumps == count / kPumpPeriod);
  for (std::size_t k = 1; k <= count; ++k) {
    const std::string_view word = list.At(k);
    FUZZ_CHECK(word.size() <= kMaxWordLength);
    FUZZ_CHECK(word == LowerCase(word));
    FUZZ_CHECK(word == TrimSpaces(word));
    // The first index of a word, as a scan from index 1 would find it.
    std::size_t first = 1;
    while (list.At(first) != word) ++first;
    FUZZ_CHECK(FindInList(list, word) == first);
    // What the database builder writes for the word reads back as the word.
    if (word.find('\0') == std::string::npos) {
      auto record = EncodeWordRecord(word);
      FUZZ_CHECK(record && record->size() == kRecordSize);
      FUZZ_CHECK(DecodeWordRecord(reinterpret_cast<const unsigned char*>(record->data())) == word);
    }
  }
  return 0;
}
