#include "checker/characters.h"

#include <array>

#include "checker/encoding.h"

namespace velmara {
namespace {

constexpr std::array<bool, 256> MakeSeparatorTable() {
  std::array<bool, 256> table{};
  for (int c = 1; c <= 32; ++c) table[c] = true;
  for (int c = '0'; c <= '9'; ++c) table[c] = true;
  constexpr unsigned char kOthers[] = {
      186, 170, 147, 148, '/', '\\', '#', '%', '&', '~', 171, 187,
      '!', 161, 191, '?', '.', ',', ';', ':', '"', '(', ')', '[', ']', '{', '}',
      '_', '-', '\'', '=', '<', '>', 128, '$', 163, '|', 133, 150,
      static_cast<unsigned char>(kUnheldCharacter)};
  for (unsigned char c : kOthers) table[c] = true;
  return table;
}

constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  for (int c = 192; c <= 222; ++c)
    if (c != 215) table[c] = static_cast<unsigned char>(c + 32);
  table[138] = 154;
  table[140] = 156;
  table[142] = 158;
  table[159] = 255;
  return table;
}

constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 32);
  for (int c = 224; c <= 254; ++c)
    if (c != 247) table[c] = static_cast<unsigned char>(c - 32);
  table[154] = 138;
  table[156] = 140;
  table[158] = 142;
  table[255] = 159;
  return table;
}

constexpr std::array<bool, 256> MakeAlphabeticTable() {
  std::array<bool, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = true;
  constexpr unsigned char kOthers[] = {131, 138, 140, 142, 154, 156, 158, 159, 170, 181, 186};
  for (unsigned char c : kOthers) table[c] = true;
  for (int c = 192; c <= 255; ++c)
    if (c != 215 && c != 247) table[c] = true;
  return table;
}

constexpr auto kSeparator = MakeSeparatorTable();
constexpr auto kLower = MakeLowerTable();
constexpr auto kUpper = MakeUpperTable();
constexpr auto kAlphabetic = MakeAlphabeticTable();

// Stores token `count` (from 0), reusing the entry and its text's buffer when the list already
// has one: a check reuses its lists, and a text has hundreds of thousands of tokens.
void StoreToken(TokenList& list, std::size_t count, std::string_view text, bool sixteenReadable) {
  if (count == list.size()) list.emplace_back();
  TokenEntry& entry = list[count];
  if (sixteenReadable) {
    entry.text.assign_sixteen(text);
  } else {
    entry.text.assign(text);
  }
  entry.verdict = Verdict::Accepted;
}

// What a character is for the case pattern of a word.
enum LetterSet : unsigned char { kNeither = 0, kUpperSet = 1, kLowerSet = 2 };

constexpr std::array<unsigned char, 256> MakeLetterSetTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = kUpperSet;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = kLowerSet;
  for (int c : {209, 193, 201, 205, 211, 218, 220}) table[c] = kUpperSet;  // Ñ Á É Í Ó Ú Ü
  for (int c : {241, 225, 233, 237, 243, 250, 252}) table[c] = kLowerSet;  // ñ á é í ó ú ü
  return table;
}

constexpr auto kLetterSet = MakeLetterSetTable();

}  // namespace

bool IsSeparatorChar(unsigned char c) { return kSeparator[c]; }

bool IsSeparator(std::string_view text) {
  return !text.empty() && kSeparator[static_cast<unsigned char>(text.front())];
}

// A token of `text` from `start`: sixteen bytes can be read there unless the text ends sooner.
void StoreTokenOf(TokenList& list, std::size_t count, std::string_view text, std::size_t start, std::size_t length) {
  StoreToken(list, count, text.substr(start, length), text.size() - start >= 16);
}

std::size_t Tokenise(std::string_view text, TokenList& list) {
  std::size_t count = 0;
  std::size_t runStart = 0;
  for (std::size_t p = 0; p < text.size(); ++p) {
    if (!kSeparator[static_cast<unsigned char>(text[p])]) continue;
    if (p > runStart) StoreTokenOf(list, count++, text, runStart, p - runStart);
    StoreTokenOf(list, count++, text, p, 1);
    runStart = p + 1;
  }
  if (runStart < text.size()) StoreTokenOf(list, count++, text, runStart, text.size() - runStart);
  list.resize(count);
  return count;
}

std::size_t TokeniseSourceAndDisplay(std::string_view text, TokenList& source, TokenList& display) {
  std::size_t count = 0;
  std::size_t runStart = 0;
  for (std::size_t p = 0; p < text.size(); ++p) {
    const char c = text[p];
    if (!kSeparator[static_cast<unsigned char>(c)]) continue;
    if (p > runStart) {
      StoreTokenOf(source, count, text, runStart, p - runStart);
      StoreTokenOf(display, count++, text, runStart, p - runStart);
    }
    StoreTokenOf(source, count, text, p, 1);
    if (c == '\r' || c == '\n') {
      StoreToken(display, count++, " ", false);
    } else {
      StoreTokenOf(display, count++, text, p, 1);
    }
    runStart = p + 1;
  }
  if (runStart < text.size()) {
    StoreTokenOf(source, count, text, runStart, text.size() - runStart);
    StoreTokenOf(display, count++, text, runStart, text.size() - runStart);
  }
  source.resize(count);
  display.resize(count);
  return count;
}

std::size_t CountWords(const TokenList& list) {
  std::size_t words = 0;
  for (const TokenEntry& entry : list)
    if (!IsSeparator(entry.text)) ++words;
  return words;
}

std::size_t FindAfter(std::string_view text, std::string_view pattern, std::size_t after) {
  if (after >= text.size()) return 0;
  if (pattern.empty()) return after + 1;
  std::size_t found = text.find(pattern, after);
  return found == std::string_view::npos ? 0 : found + 1;
}

std::string TrimSpaces(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

unsigned char LowerChar(unsigned char c) { return kLower[c]; }
unsigned char UpperChar(unsigned char c) { return kUpper[c]; }

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
  return out;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
  return out;
}

std::string MixedCase(std::string_view text) {
  std::string out(text);
  bool afterLetter = false;
  for (char& c : out) {
    auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(afterLetter ? kLower[u] : kUpper[u]);
    afterLetter = kAlphabetic[u];
  }
  return out;
}

bool IsAlphabetic(unsigned char c) { return kAlphabetic[c]; }

bool IsUpperSetLetter(unsigned char c) { return kLetterSet[c] == kUpperSet; }
bool IsLowerSetLetter(unsigned char c) { return kLetterSet[c] == kLowerSet; }

CasePattern CasePatternOf(std::string_view word) {
  if (word.empty()) return CasePattern::Other;
  std::size_t upper = 0;
  bool restLower = true;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const unsigned char set = kLetterSet[static_cast<unsigned char>(word[i])];
    upper += set == kUpperSet;
    restLower = restLower && (i == 0 || set == kLowerSet);
  }
  CasePattern pattern = CasePattern::Other;
  if (upper == word.size()) pattern = CasePattern::AllCaps;
  if (upper == 1 && IsUpperSetLetter(static_cast<unsigned char>(word[0])) && restLower)
    pattern = CasePattern::Capitalised;
  return pattern;
}

}  // namespace velmara
