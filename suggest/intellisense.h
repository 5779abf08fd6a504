#pragma once
// The user's substitutions: "Intellisense.txt" in the word-database folder, one "key|replacement"
// line per entry. Nothing is kept in memory: every call reads the file afresh, so an entry added
// or edited by hand counts at once. A missing or unreadable file reads as an empty list.

#include <filesystem>
#include <string>
#include <string_view>

namespace velmara {

// The text before the first "|" (the whole line without one).
std::string IntellisenseFirstField(std::string_view line);
// The text between the first and the second "|" (to the end without a second one; empty without any).
std::string IntellisenseSecondField(std::string_view line);

bool IntellisenseHasKey(const std::filesystem::path& file, std::string_view key);
// The last line whose first field is the key, or empty.
std::string IntellisenseFindLine(const std::filesystem::path& file, std::string_view key);
// Appends the line and CR LF, creating the file. False when the line could not be written.
bool IntellisenseAppend(const std::filesystem::path& file, std::string_view line);
// Number of non-empty lines.
int IntellisenseCountEntries(const std::filesystem::path& file);

}  // namespace velmara
