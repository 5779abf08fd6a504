#pragma once
// The plain word lists velmara-mkdb reads: UTF-8 text, one word a line (CR LF or LF), blank
// lines skipped, an optional byte order mark.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace velmara::cli {

// Appends the record of every word of `text` to `records` and counts them in `wordCount`; each
// refused line ("NAME:LINE: why") goes to `errors`. Returns false if any line was refused.
bool EncodeWordList(std::string_view text, const std::string& name, std::string& records, std::size_t& wordCount,
                    std::ostream& errors);

}  // namespace velmara::cli
