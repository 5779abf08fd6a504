// velmara-mkdb's list parser over any bytes: one record per accepted word, each record decodes
// to a word of at most 40 characters, and a list with a refused line says so.

#include <cstdint>
#include <sstream>
#include <string>

#include "cli/word_list_source.h"
#include "fuzz_support.h"
#include "worddb/word_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  std::string records;
  std::size_t count = 0;
  std::ostringstream errors;
  const bool accepted = cli::EncodeWordList(fuzz::AsText(data, size), "list", records, count, errors);
  FUZZ_CHECK(records.size() == count * kRecordSize);
  FUZZ_CHECK(accepted == errors.str().empty());
  char word[kMaxWordLength];
  for (std::size_t at = 0; at < records.size(); at += kRecordSize) {
    const std::size_t length = DecodeWordRecordInto(reinterpret_cast<const unsigned char*>(records.data() + at), word);
    FUZZ_CHECK(length >= 1 && length <= kMaxWordLength);
  }
  return 0;
}
