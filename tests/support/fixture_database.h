#pragma once
// Word-database files for tests, written with the program's own encoder.

#include <filesystem>
#include <string>
#include <vector>

namespace velmara::testing {

// A word-list file of one record per word (Windows-1252 words). Throws std::invalid_argument for
// a word the format cannot carry, so a broken fixture fails loudly.
void WriteWordListFile(const std::filesystem::path& path, const std::vector<std::string>& words);

// The four files of a word database in `databaseFolder` (created if needed); every false-positive
// line is written followed by CR LF.
void WriteFixtureDatabase(const std::filesystem::path& databaseFolder, const std::vector<std::string>& dictionary,
                          const std::vector<std::string>& verbs, const std::vector<std::string>& properNames,
                          const std::vector<std::string>& falsePositiveLines);

}  // namespace velmara::testing
