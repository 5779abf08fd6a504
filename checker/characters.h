#pragma once
// Character rules: separators, tokens, case sets and the Windows-1252 case mappings.
// Every text is Windows-1252, one byte per character; positions count from 1.

#include <cstddef>
#include <string>
#include <string_view>

#include "checker/tokens.h"

namespace velmara {

// True when the character separates words (spaces, controls, digits, punctuation, ...).
bool IsSeparatorChar(unsigned char c);
// True when the first character of the text is a separator; false for an empty text.
bool IsSeparator(std::string_view text);

// The length of the web address (scheme://..., www...., mailto:..., a host under a known domain)
// or e-mail address that begins at `start`, without the punctuation that follows it; 0 when none
// begins there.
std::size_t AddressLength(std::string_view text, std::size_t start);

// Whether a token is a word to check and count: not a separator, and not an address (which holds
// separators and is passed over unchecked).
bool IsWordToken(std::string_view token);

// Splits the text into word runs and single separator characters, replacing the list's content;
// a web or e-mail address is one token. A token keeps its whole text, however long. Returns the
// number of tokens.
std::size_t Tokenise(std::string_view text, TokenList& list);

// Number of word tokens (IsWordToken) in a token list.
std::size_t CountWords(const TokenList& list);

// Smallest 1-based position greater than `after` where `pattern` occurs in `text`, or 0.
std::size_t FindAfter(std::string_view text, std::string_view pattern, std::size_t after);

// Removes leading and trailing spaces (code 32 only).
std::string TrimSpaces(std::string_view text);

// Windows-1252 case mappings; every text keeps its length.
unsigned char LowerChar(unsigned char c);
unsigned char UpperChar(unsigned char c);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
// First letter of every run of letters upper case, the rest lower case.
std::string MixedCase(std::string_view text);
// Alphabetic characters of Windows-1252 (the letters MixedCase counts as part of a run).
bool IsAlphabetic(unsigned char c);

// The two 33-letter sets that describe how a word was written.
bool IsUpperSetLetter(unsigned char c);  // QWERTYUIOPASDFGHJKLÑZXCVBNMÁÉÍÓÚÜ
bool IsLowerSetLetter(unsigned char c);  // qwertyuiopasdfghjklñzxcvbnmáéíóúü

// The result of a word in the case the word was written in. A word nothing replaced stands as
// written (McLuhan, iPhone, PCs); at a sentence start one written all in lower case takes a leading
// capital (MixedCase). A replacement goes into capitals (CAMION: CAMIÓN) or takes leading
// capitals (Camion: Camión, or at a sentence start) after the word's case pattern; a word of
// mixed case lends its capitals letter by letter to a replacement of its length.
std::string CasedResult(std::string_view written, std::string_view result, bool sentenceStart);

enum class CasePattern { Other, AllCaps, Capitalised };
// AllCaps when every character is an upper-set letter; Capitalised when only the first is and the
// rest are lower-set letters. A one-letter capital word is Capitalised.
CasePattern CasePatternOf(std::string_view word);

}  // namespace velmara
