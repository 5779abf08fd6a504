#pragma once
// Conversions at the edges: the engine works in Windows-1252; the clipboard, widgets, terminal
// and file names speak Unicode.

#include <string>
#include <string_view>

namespace velmara {

bool IsValidUtf8(std::string_view text);
// Characters that Windows-1252 lacks become "?". Invalid UTF-8 bytes become "?" too.
std::string Utf8ToWindows1252(std::string_view utf8);
// Same, and reports whether every character had a Windows-1252 code.
std::string Utf8ToWindows1252(std::string_view utf8, bool& lossless);
std::string Windows1252ToUtf8(std::string_view text);
// Input of unknown encoding, such as a file or a pipe: every valid multi-byte UTF-8 sequence is
// read as UTF-8 and every other byte as Windows-1252, so a pure UTF-8 text and a pure
// Windows-1252 text both read as meant, and a UTF-8 text with a stray Windows-1252 byte loses
// none of its accented letters.
std::string InputToWindows1252(std::string_view bytes);

// What InputToWindows1252 met; a text that saw both mixed its encodings.
struct InputEncodings {
  bool utf8 = false;         // a valid multi-byte UTF-8 sequence
  bool windows1252 = false;  // a byte that is not part of one and is not ASCII
  bool Mixed() const { return utf8 && windows1252; }
};
// Same, for input read in pieces: `seen` gathers over the calls.
std::string InputToWindows1252(std::string_view bytes, InputEncodings& seen);
// How many of the first bytes can be decoded now: all but an unfinished UTF-8 sequence at the end,
// which the bytes read next may complete.
std::size_t DecodablePrefix(std::string_view bytes);

}  // namespace velmara
