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
// UTF-8 when the bytes are valid UTF-8, otherwise taken as Windows-1252 already.
std::string InputToWindows1252(std::string_view bytes);

}  // namespace velmara
