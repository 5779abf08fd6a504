#include "cli/word_list_source.h"

#include <optional>
#include <ostream>

#include "checker/characters.h"
#include "checker/encoding.h"
#include "worddb/word_record.h"

namespace velmara::cli {

bool EncodeWordList(std::string_view text, const std::string& name, std::string& records, std::size_t& wordCount,
                    std::ostream& errors) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte order mark
  bool accepted = true;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (TrimSpaces(line).empty()) continue;

    const char* problem = nullptr;
    bool lossless = true;
    std::string word;
    if (!IsValidUtf8(line)) {
      problem = "not valid UTF-8";
    } else {
      word = Utf8ToWindows1252(line, lossless);
      if (!lossless)
        problem = "character that Windows-1252 lacks";
      else if (word.size() > kMaxWordLength)
        problem = "word longer than 40 characters";
      else if (word.find('\0') != std::string::npos)
        problem = "character code 0";
    }
    auto record = problem ? std::nullopt : EncodeWordRecord(word);
    if (!record) {
      errors << name << ':' << lineNumber << ": " << (problem ? problem : "word cannot be stored") << '\n';
      accepted = false;
      continue;
    }
    records += *record;
    ++wordCount;
  }
  return accepted;
}

}  // namespace velmara::cli
