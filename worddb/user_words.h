#pragma once
// The user's own accepted words ("Palabras del usuario.txt"): one word per line, read beside
// "Falsos Positivos.txt" at every load of the word database and never touched by a rebuild of it.
// A word found there and in neither the Dictionary nor the Verb list is a false positive.
//
// The file is the user's, often edited by hand: it is written in UTF-8, and a line that is not
// valid UTF-8 is read as Windows-1252, so a list kept by an older tool still works. Lines end
// with LF or CR LF; every line is lowercased as the false-positive lines are.

#include <filesystem>
#include <string>
#include <string_view>

#include "worddb/word_database.h"

namespace velmara {

// Fills database.userWords from the file; a missing or unreadable file leaves the list empty.
void LoadUserWords(const std::filesystem::path& file, WordDatabase& database);

// Longer words are not kept: no word is, and a line that long is a mistake.
inline constexpr std::size_t kUserWordMostCharacters = 255;

// Appends one word (Windows-1252) to the file at once, creating the file and its folder when
// needed, and makes sure it reached the disk: one write of the whole line, so the list holds the
// whole word or none of it. Only a regular file is written. Returns an empty text on success,
// otherwise why it failed (in English, for a terminal).
std::string AppendUserWord(const std::filesystem::path& file, std::string_view word);
// The same for a word in UTF-8, which may hold characters Windows-1252 lacks.
std::string AppendUserWordUtf8(const std::filesystem::path& file, std::string_view word);

}  // namespace velmara
