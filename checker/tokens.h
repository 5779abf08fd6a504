#pragma once
// Tokens and verdicts shared by the tokeniser, the check run, the marking and the export.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace velmara {

// The verdict a word gets from classification. The numbers are stored and compared as they are.
enum class Verdict : std::int32_t {
  Accepted = 0,
  Missing = 1,
  Corrected = 2,
  VerbForm = 3,
  FalsePositive = 4,
  DoubtfulVerbForm = 5,
};

// "Accepted", "Missing", ... as the terminal program prints them.
std::string_view VerdictName(Verdict verdict);

// The text of a token, read as a std::string_view. A text of up to kLocalLength characters, as
// nearly every token is, lives inside the object; a longer one on the heap. A check keeps three
// lists of hundreds of thousands of tokens and walks them all: this is sixteen bytes, and a short
// text can be set without a library call (assign_sixteen).
class TokenText {
 public:
  static constexpr std::size_t kLocalLength = 15;

  TokenText() { bytes_[kTagByte] = 0; }
  TokenText(std::string_view text) : TokenText() { assign(text); }  // NOLINT: reads as a string
  TokenText(const std::string& text) : TokenText(std::string_view(text)) {}  // NOLINT
  TokenText(const char* text) : TokenText(std::string_view(text)) {}  // NOLINT
  TokenText(const TokenText& other) : TokenText() { assign(other.view()); }
  TokenText(TokenText&& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.bytes_[kTagByte] = 0;
  }
  TokenText& operator=(const TokenText& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  TokenText& operator=(TokenText&& other) noexcept {
    if (this != &other) {
      Release();
      std::memcpy(bytes_, other.bytes_, sizeof bytes_);
      other.bytes_[kTagByte] = 0;
    }
    return *this;
  }
  TokenText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  TokenText& operator=(const std::string& text) { return *this = std::string_view(text); }
  TokenText& operator=(const char* text) { return *this = std::string_view(text); }
  ~TokenText() { Release(); }

  void assign(std::string_view text) {
    if (text.size() <= kLocalLength && IsLong()) {
      char local[kLocalLength];  // the text may lie in the buffer about to be freed
      if (!text.empty()) std::memcpy(local, text.data(), text.size());
      ReleaseLong();
      if (!text.empty()) std::memcpy(bytes_, local, text.size());
      bytes_[kTagByte] = static_cast<char>(text.size());
    } else if (text.size() <= kLocalLength) {
      if (!text.empty()) std::memmove(bytes_, text.data(), text.size());
      bytes_[kTagByte] = static_cast<char>(text.size());
    } else {
      AssignLong(text);
    }
  }
  // assign() for a text, not this one's own, whose sixteen bytes from text.data() can be read
  // (SixteenReadable): a short text is copied as a block of sixteen, its length written over the
  // last byte.
  void assign_sixteen(std::string_view text) {
    if (text.size() <= kLocalLength && !IsLong()) {
      std::memcpy(bytes_, text.data(), 16);
      bytes_[kTagByte] = static_cast<char>(text.size());
    } else {
      assign(text);
    }
  }
  void clear() { assign({}); }

  bool IsLong() const { return static_cast<unsigned char>(bytes_[kTagByte]) == kLongTag; }
  std::size_t size() const { return IsLong() ? LongSize() : static_cast<unsigned char>(bytes_[kTagByte]); }
  bool empty() const { return size() == 0; }
  const char* data() const { return IsLong() ? LongData() : bytes_; }
  std::string_view view() const { return IsLong() ? std::string_view(LongData(), LongSize()) : LocalView(); }
  operator std::string_view() const { return view(); }  // NOLINT: reads as a string
  std::string str() const { return std::string(view()); }
  char operator[](std::size_t index) const { return data()[index]; }
  char front() const { return data()[0]; }
  char back() const { return data()[size() - 1]; }
  std::size_t find(std::string_view text, std::size_t from = 0) const { return view().find(text, from); }

  friend bool operator==(const TokenText& a, const TokenText& b) { return a.view() == b.view(); }
  friend bool operator==(const TokenText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const TokenText& a, const std::string& b) { return a.view() == b; }
  friend bool operator==(const TokenText& a, const char* b) { return a.view() == b; }

 private:
  static constexpr std::size_t kTagByte = 15;
  static constexpr unsigned char kLongTag = 0xFF;
  std::string_view LocalView() const { return std::string_view(bytes_, static_cast<unsigned char>(bytes_[kTagByte])); }
  const char* LongData() const {
    const char* pointer;
    std::memcpy(&pointer, bytes_, sizeof pointer);
    return pointer;
  }
  std::size_t LongSize() const {
    std::uint32_t size;
    std::memcpy(&size, bytes_ + sizeof(char*), sizeof size);
    return size;
  }
  void AssignLong(std::string_view text);
  void Release() {
    if (IsLong()) ReleaseLong();
  }
  void ReleaseLong();

  alignas(8) char bytes_[16];
};

std::ostream& operator<<(std::ostream& out, const TokenText& text);

// Whether sixteen bytes can be read from the start of this text's characters: true of a token's
// text, and of a string whose buffer has room for fifteen characters and the end mark.
inline bool SixteenReadable(const TokenText&) { return true; }
inline bool SixteenReadable(const std::string& text) { return text.capacity() >= TokenText::kLocalLength; }

// One token: a word (a run of word characters) or one separator character. Windows-1252 text.
struct TokenEntry {
  TokenText text;
  Verdict verdict = Verdict::Accepted;
};

// Token lists grow with the text: a long text is never cut. Index 0 holds token 1.
using TokenList = std::vector<TokenEntry>;

// A token of the source text as the display text holds it: a line break is shown as a space.
// The two texts split at the same places, so the display's tokens are the source's read this way.
inline std::string_view ShownText(std::string_view sourceToken) {
  if (sourceToken.size() == 1 && (sourceToken[0] == '\r' || sourceToken[0] == '\n')) return " ";
  return sourceToken;
}

// A word longer than this is classified by its first 255 characters, and its result entry keeps at
// most that many; the token lists and the corrected text keep the whole word.
inline constexpr std::size_t kMaxTokenLength = 255;

}  // namespace velmara
