#pragma once
// Conversions at the edges: the engine works in Windows-1252; the clipboard, widgets, terminal
// and file names speak Unicode.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmara {

bool IsValidUtf8(std::string_view text);
// Characters that Windows-1252 lacks become "?". Invalid UTF-8 bytes become "?" too.
std::string Utf8ToWindows1252(std::string_view utf8);
// Same, and reports whether every character had a Windows-1252 code.
std::string Utf8ToWindows1252(std::string_view utf8, bool& lossless);
std::string Windows1252ToUtf8(std::string_view text);
// UTF-8 when the bytes are valid UTF-8, otherwise taken as Windows-1252 already.
std::string InputToWindows1252(std::string_view bytes);

// One character at the start of a non-empty UTF-8 text: false for an invalid sequence. `length`
// is the bytes it takes (at least 1, so an invalid byte can be stepped over).
bool DecodeUtf8Character(std::string_view utf8, char32_t& code, std::size_t& length);
// The Windows-1252 byte of a Unicode character; false when Windows-1252 has none.
bool Windows1252Of(char32_t code, char& byte);

}  // namespace velmara
