#include "support/fixture_database.h"

#include <fstream>
#include <stdexcept>

#include "worddb/word_database.h"
#include "worddb/word_record.h"

namespace velmara::testing {

namespace {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void WriteWordListFile(const std::filesystem::path& path, const std::vector<std::string>& words) {
  std::string bytes;
  bytes.reserve(words.size() * kRecordSize);
  for (const auto& word : words) {
    auto record = EncodeWordRecord(word);
    if (!record) throw std::invalid_argument("word cannot be stored: " + word);
    bytes += *record;
  }
  WriteBytes(path, bytes);
}

void WriteFixtureDatabase(const std::filesystem::path& databaseFolder, const std::vector<std::string>& dictionary,
                          const std::vector<std::string>& verbs, const std::vector<std::string>& properNames,
                          const std::vector<std::string>& falsePositiveLines) {
  std::filesystem::create_directories(databaseFolder);
  WriteWordListFile(databaseFolder / kDictionaryFile, dictionary);
  WriteWordListFile(databaseFolder / kVerbFile, verbs);
  WriteWordListFile(databaseFolder / kProperNameFile, properNames);
  std::string text;
  for (const auto& line : falsePositiveLines) text += line + "\r\n";
  WriteBytes(databaseFolder / kFalsePositiveFile, text);
}

}  // namespace velmara::testing
