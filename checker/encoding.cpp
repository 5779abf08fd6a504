#include "checker/encoding.h"

#include <array>
#include <cstdint>

namespace velmara {
namespace {

// Unicode of the Windows-1252 codes 0x80 to 0x9F. The five codes Windows-1252 leaves undefined
// map to the C1 control of the same number, so every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one character at the start of text. An invalid sequence gives kInvalid and the length
// of its longest valid-looking prefix (at least 1), so the caller resynchronises at the next
// byte that could start a character.
char32_t Decode(std::string_view text, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[0]);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t needed;
  char32_t code;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return kInvalid;
  }
  for (std::size_t i = 1; i <= needed; ++i) {
    if (i >= text.size()) return kInvalid;
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool inRange = i == 1 ? (byte >= low && byte <= high) : IsContinuation(byte);
    if (!inRange) return kInvalid;
    code = (code << 6) | (byte & 0x3F);
    length = i + 1;
  }
  return code;
}

// The Windows-1252 byte of a Unicode character, or no value.
bool Encode(char32_t code, char& byte) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    byte = static_cast<char>(code);
    return true;
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

// The Windows-1252 letter that a combining accent (U+0300 to U+036F) makes of the letter before
// it: text copied from some systems and web pages writes ó as o followed by U+0301. Composed
// here, where text comes in, so that the letter stays one character.
bool ComposeImpl(char& letter, char32_t mark) {
  struct Composition {
    char32_t mark;
    std::string_view bases;
    std::string_view composed;
  };
  static constexpr Composition kCompositions[] = {
      {0x0300, "AEIOUaeiou", "\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2\xF9"},
      {0x0301, "AEIOUYaeiouy", "\xC1\xC9\xCD\xD3\xDA\xDD\xE1\xE9\xED\xF3\xFA\xFD"},
      {0x0302, "AEIOUaeiou", "\xC2\xCA\xCE\xD4\xDB\xE2\xEA\xEE\xF4\xFB"},
      {0x0303, "ANOano", "\xC3\xD1\xD5\xE3\xF1\xF5"},
      {0x0308, "AEIOUYaeiouy", "\xC4\xCB\xCF\xD6\xDC\x9F\xE4\xEB\xEF\xF6\xFC\xFF"},
      {0x030A, "Aa", "\xC5\xE5"},
      {0x030C, "SZsz", "\x8A\x8E\x9A\x9E"},
      {0x0327, "Cc", "\xC7\xE7"},
  };
  for (const Composition& composition : kCompositions) {
    if (composition.mark != mark) continue;
    const std::size_t base = composition.bases.find(letter);
    if (base == std::string_view::npos) return false;
    letter = composition.composed[base];
    return true;
  }
  return false;
}

bool IsCombiningMark(char32_t code) { return code >= 0x0300 && code <= 0x036F; }

}  // namespace

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsValidUtf8(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size(); i += length)
    if (Decode(text.substr(i), length) == kInvalid) return false;
  return true;
}

namespace {

// Every character of the UTF-8 text as its Windows-1252 byte; `missing(code, byte)` decides the
// byte of a character without one (or of a broken sequence, given as kInvalid), whose byte is
// "?" on entry; it is told whether the character has a byte and may change that byte too.
template <typename Missing>
std::string ConvertToWindows1252(std::string_view utf8, Missing missing) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t length = 0;
  bool composable = false;  // the last character came in as itself
  for (std::size_t i = 0; i < utf8.size(); i += length) {
    char byte = '?';
    const char32_t code = Decode(utf8.substr(i), length);
    if (composable && IsCombiningMark(code) && ComposeImpl(out.back(), code)) {
      composable = false;
      continue;
    }
    const bool held = code != kInvalid && Encode(code, byte);
    missing(code, held, byte);
    composable = held && byte != kUnheldCharacter;
    out += byte;
  }
  return out;
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view utf8, bool& lossless) {
  lossless = true;
  return ConvertToWindows1252(utf8, [&](char32_t, bool held, char&) { lossless = lossless && held; });
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  bool lossless = true;
  return Utf8ToWindows1252(utf8, lossless);
}

std::string Windows1252ToUtf8(std::string_view text) {
  UnheldCharacters none;
  return Windows1252ToUtf8(text, none);
}

static std::string DecodeInput(std::string_view bytes, InputEncodings& seen, UnheldCharacters* unheld) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t length = 0;
  bool composable = false;  // the last character came in as itself
  for (std::size_t i = 0; i < bytes.size(); i += length) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      length = 1;
      composable = true;
      continue;
    }
    const char32_t code = Decode(bytes.substr(i), length);
    if (code == kInvalid) {
      seen.windows1252 = true;
      out += static_cast<char>(lead);
      length = 1;  // the bytes after it are read afresh
      composable = false;
      continue;
    }
    seen.utf8 = true;
    if (composable && IsCombiningMark(code) && ComposeImpl(out.back(), code)) {
      composable = false;
      continue;
    }
    char byte = '?';
    const bool held = Encode(code, byte);
    // The C1 control that shares the placeholder's byte is kept like any other character, so
    // every placeholder byte has its entry in the list.
    if (unheld != nullptr && (!held || byte == kUnheldCharacter)) {
      byte = kUnheldCharacter;
      unheld->codes.push_back(code);
    }
    composable = held && byte != kUnheldCharacter;
    out += byte;
  }
  return out;
}

std::string InputToWindows1252(std::string_view bytes, InputEncodings& seen) {
  return DecodeInput(bytes, seen, nullptr);
}

std::string InputToWindows1252(std::string_view bytes, InputEncodings& seen, UnheldCharacters& unheld) {
  return DecodeInput(bytes, seen, &unheld);
}

std::string InputToWindows1252(std::string_view bytes) {
  InputEncodings seen;
  return InputToWindows1252(bytes, seen);
}

std::size_t DecodablePrefix(std::string_view bytes) {
  const std::size_t size = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(bytes[size - back]);
    if (IsContinuation(byte)) continue;
    const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return needed > back ? size - back : size;
  }
  return size;
}

std::size_t ComposablePrefix(std::string_view bytes) {
  // Read as DecodeInput reads: a broken sequence is one byte.
  const std::size_t decodable = DecodablePrefix(bytes);
  std::size_t held = 0;  // where the last character other than an accent begins
  std::size_t length = 0;
  for (std::size_t i = 0; i < decodable; i += length) {
    const char32_t code = Decode(bytes.substr(i, decodable - i), length);
    if (code == kInvalid) length = 1;
    if (!IsCombiningMark(code)) held = i;
  }
  return held;
}

bool DecodeUtf8Character(std::string_view utf8, char32_t& code, std::size_t& length) {
  code = Decode(utf8, length);
  return code != kInvalid;
}

bool Windows1252Of(char32_t code, char& byte) { return Encode(code, byte); }
bool ComposeAccent(char& letter, char32_t mark) { return IsCombiningMark(mark) && ComposeImpl(letter, mark); }
std::string Utf8ToWindows1252(std::string_view utf8, UnheldCharacters& unheld) {
  return ConvertToWindows1252(utf8, [&](char32_t code, bool held, char& byte) {
    // The C1 control that shares the placeholder's byte is kept like any other character, so
    // every placeholder byte has its entry in the list.
    if (code != kInvalid && (!held || byte == kUnheldCharacter)) {
      byte = kUnheldCharacter;
      unheld.codes.push_back(code);
    }
  });
}

std::string Windows1252ToUtf8(std::string_view text, UnheldCharacters& unheld) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == kUnheldCharacter && unheld.next < unheld.codes.size()) {
      AppendUtf8(out, unheld.codes[unheld.next++]);
    } else {
      AppendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte});
    }
  }
  return out;
}

std::string InputToWindows1252(std::string_view bytes, UnheldCharacters& unheld) {
  InputEncodings seen;
  return DecodeInput(bytes, seen, &unheld);
}

}  // namespace velmara
