// A whole word database loaded from fuzzed files: the three word lists and the false-positive
// list cut from the input. The load reports a damaged list exactly when a list's length is not a
// whole number of records, with one message per damaged list, and a sound list holds one word
// per record.

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "worddb/word_database.h"
#include "worddb/word_record.h"

namespace {

class CountingHooks : public velmara::LoadHooks {
 public:
  void ShowMessageBox(const std::string&) override { ++messages; }
  int messages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  if (size < 3) return 0;
  // The first three bytes say where the input is cut: each list gets a share of the rest, in
  // steps of a quarter record so whole and broken lists both come up.
  std::string_view rest = fuzz::AsText(data + 3, size - 3);
  const char* names[] = {kVerbFile, kDictionaryFile, kProperNameFile, kFalsePositiveFile};
  std::size_t lengths[4];
  const auto folder = fuzz::TemporaryFolder() / "database";
  std::filesystem::create_directories(folder);
  for (int i = 0; i < 4; ++i) {
    const std::string_view part = i < 3 ? rest.substr(0, std::min<std::size_t>(rest.size(), data[i] * 25u)) : rest;
    lengths[i] = part.size();
    fuzz::WriteFile(folder / names[i], part);
    rest.remove_prefix(part.size());
  }
  WordDatabase database;
  CountingHooks hooks;
  const bool sound = LoadWordDatabase(folder, database, hooks);
  int damaged = 0;
  const WordList* lists[] = {&database.verbs, &database.dictionary, &database.properNames};
  for (int i = 0; i < 3; ++i) {
    if (lengths[i] % kRecordSize != 0) {
      ++damaged;
    } else {
      FUZZ_CHECK(lists[i]->Count() == lengths[i] / kRecordSize);
    }
  }
  FUZZ_CHECK(sound == (damaged == 0));
  FUZZ_CHECK(hooks.messages == damaged);
  FUZZ_CHECK(database.falsePositives.entries.Count() == FalsePositiveList::kCapacity);
  return 0;
}
