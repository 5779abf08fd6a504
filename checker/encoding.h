#pragma once
// Conversions at the edges: the engine works in Windows-1252; the clipboard, widgets, terminal
// and file names speak Unicode.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmara {

// Every conversion into Windows-1252 below composes a letter and the combining accent after it
// (o and U+0301, as text copied from some systems writes ó) into the one letter Windows-1252 has
// for them, so a word never falls apart at its accent; a mark that makes no such letter stays a
// character of its own.

bool IsValidUtf8(std::string_view text);
// Characters that Windows-1252 lacks become "?". Invalid UTF-8 bytes become "?" too.
std::string Utf8ToWindows1252(std::string_view utf8);
// Same, and reports whether every character had a Windows-1252 code.
std::string Utf8ToWindows1252(std::string_view utf8, bool& lossless);
std::string Windows1252ToUtf8(std::string_view text);
// A character Windows-1252 cannot hold is carried through the engine as this one byte, which
// Windows-1252 leaves undefined, and the character itself waits in an UnheldCharacters list in
// text order. One byte per character keeps positions in the engine's text equal to character
// positions. The tokeniser takes it as a separator that neither ends a sentence nor opens a question.
inline constexpr char kUnheldCharacter = '\x8F';

// The characters behind the kUnheldCharacter bytes of a text, in order. A text converted piece by
// piece appends to the same list; converting back consumes it from `next` on, so the pieces go
// back in the same order.
struct UnheldCharacters {
  std::vector<char32_t> codes;
  std::size_t next = 0;

  bool empty() const { return codes.empty(); }
  void clear() {
    codes.clear();
    next = 0;
  }
};

// Like Utf8ToWindows1252, but a character Windows-1252 cannot hold becomes kUnheldCharacter and is
// appended to `unheld`. Broken UTF-8 bytes still become "?".
std::string Utf8ToWindows1252(std::string_view utf8, UnheldCharacters& unheld);
// Like Windows1252ToUtf8, but each kUnheldCharacter byte gives back the next character of
// `unheld` while any is left.
std::string Windows1252ToUtf8(std::string_view text, UnheldCharacters& unheld);
// Appends one character as UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// Input of unknown encoding, such as a file or a pipe: every valid multi-byte UTF-8 sequence is
// read as UTF-8 and every other byte as Windows-1252, so a pure UTF-8 text and a pure
// Windows-1252 text both read as meant, and a UTF-8 text with a stray Windows-1252 byte loses
// none of its accented letters.
std::string InputToWindows1252(std::string_view bytes);
// Same, keeping the characters of valid UTF-8 that Windows-1252 cannot hold in `unheld`.
std::string InputToWindows1252(std::string_view bytes, UnheldCharacters& unheld);

// One character at the start of a non-empty UTF-8 text: false for an invalid sequence. `length`
// is the bytes it takes (at least 1, so an invalid byte can be stepped over).
bool DecodeUtf8Character(std::string_view utf8, char32_t& code, std::size_t& length);
// The Windows-1252 byte of a Unicode character; false when Windows-1252 has none.
bool Windows1252Of(char32_t code, char& byte);
// Puts into `letter` the Windows-1252 letter it makes with the combining accent `mark` (e and
// U+0301: é); false, `letter` unchanged, when Windows-1252 has none.
bool ComposeAccent(char& letter, char32_t mark);

// What InputToWindows1252 met; a text that saw both mixed its encodings.
struct InputEncodings {
  bool utf8 = false;         // a valid multi-byte UTF-8 sequence
  bool windows1252 = false;  // a byte that is not part of one and is not ASCII
  bool Mixed() const { return utf8 && windows1252; }
};
// Same, for input read in pieces: `seen` gathers over the calls.
std::string InputToWindows1252(std::string_view bytes, InputEncodings& seen);
// Same, keeping the characters of valid UTF-8 that Windows-1252 cannot hold in `unheld`.
std::string InputToWindows1252(std::string_view bytes, InputEncodings& seen, UnheldCharacters& unheld);
// How many of the first bytes can be decoded now: all but an unfinished UTF-8 sequence at the end,
// which the bytes read next may complete.
std::size_t DecodablePrefix(std::string_view bytes);
// Less still: the last character waits too, with the combining accents before it, for an accent
// in the bytes read next may join it. Decoding input piece by piece at these places gives what
// decoding it whole gives.
std::size_t ComposablePrefix(std::string_view bytes);

}  // namespace velmara
