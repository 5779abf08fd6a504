#pragma once
// The figures of the about box: the sizes of the word lists and of the user's Intellisense file.

#include <array>
#include <filesystem>
#include <string>

#include "worddb/word_database.h"

namespace velmara {

// Lines of a text file with at least one character; a file that cannot be read, or an empty
// one, gives 0. Read like the Intellisense file, which is the one the about box counts.
int CountNonEmptyLines(const std::filesystem::path& file);

// The five statistics lines in Windows-1252: dictionary, verbs, proper names, false positives
// (with the table's limit) and the Intellisense line count.
std::array<std::string, 5> AboutStatisticsLines(const WordDatabase& database, int intellisenseLines);

}  // namespace velmara
