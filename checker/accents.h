#pragma once
// Accent variants of a word and the regular plurals of Dictionary words.

#include <cstddef>
#include <string>
#include <string_view>

#include "worddb/word_list.h"

namespace velmara {

// The word with the character at `position` (from 1) replaced by `replacement`; a position
// outside the word replaces nothing.
std::string ReplaceCharAt(std::string_view word, std::string_view replacement, std::size_t position);
// a e i o u at `position` become á é í ó ú, ü becomes u; any other character leaves the word as is.
std::string AccentAt(std::string_view word, std::size_t position);
// The character AccentAt puts in place of `c`: `c` itself when it takes no accent.
char AccentedCharacter(char c);
bool HasAccent(std::string_view word);
std::string StripAccents(std::string_view word);

// True when the word is a regular plural of a word of the Dictionary list.
bool IsPluralOfDictionaryWord(const WordList& dictionary, std::string_view word);

}  // namespace velmara
