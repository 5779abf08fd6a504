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
  // The em dash of every dialogue, the no-break space, and the symbols that make no word
  // (* + @ ^ ` ´ ¨ · • § ° † ‡ ‰ ¶ ¬ ± × ÷ ¦ ¤ ¥ ¢ © ® ™ ¯ ¸ ˆ ˜ ‹ › ‚ „).
  constexpr unsigned char kDashesSpacesAndSymbols[] = {
      151, 160, '*', '+', '@', '^', '`', 180, 168, 183, 149, 167, 176, 134, 135, 137, 182, 172,
      177, 215, 247, 166, 164, 165, 162, 169, 174, 153, 175, 184, 136, 152, 139, 155, 130, 132};
  for (unsigned char c : kDashesSpacesAndSymbols) table[c] = true;
  return table;
}

constexpr bool IsAsciiAlphanumeric(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Characters an address can hold: printable ASCII but for quotes and brackets of prose, and the
// letters of Windows-1252.
constexpr std::array<bool, 256> MakeAddressTable() {
  std::array<bool, 256> table{};
  for (int c = 33; c < 127; ++c) table[c] = true;
  for (unsigned char c : {'"', '<', '>', '`', '{', '}', '|', '\\', '^', '\''}) table[c] = false;
  for (int c = 192; c <= 255; ++c) table[c] = c != 215 && c != 247;
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
constexpr auto kAddress = MakeAddressTable();

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

// An address is looked for no further than this: longer runs without a space are not taken as one.
constexpr std::size_t kLongestAddress = 512;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (kLower[static_cast<unsigned char>(text[i])] != static_cast<unsigned char>(prefix[i])) return false;
  return true;
}

bool AllOf(std::string_view text, std::string_view extra) {
  for (char c : text)
    if (!IsAsciiAlphanumeric(static_cast<unsigned char>(c)) && extra.find(c) == std::string_view::npos) return false;
  return !text.empty();
}

// A host name: labels of letters, digits and hyphens joined by dots, the last one of letters.
bool IsHostName(std::string_view host) {
  if (!AllOf(host, ".-") || host.front() == '.' || host.back() == '.' || host.find("..") != std::string_view::npos)
    return false;
  const std::size_t dot = host.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view last = host.substr(dot + 1);
  return last.size() >= 2 && AllOf(last, "") && !(last[0] >= '0' && last[0] <= '9');
}

// Domains written without www. or a scheme are taken as addresses only under these endings:
// elsewhere two words joined by a dot are more likely a missing space.
bool IsKnownTopLevelDomain(std::string_view host) {
  static constexpr std::string_view kDomains[] = {
      "com", "org", "net", "edu", "gov", "info", "io", "es", "eu", "mx", "ar", "cl", "co", "pe", "ve", "uy", "ec",
      "bo", "py", "cr", "cu", "do", "gt", "hn", "ni", "pa", "sv", "pr", "us", "uk", "de", "fr", "it", "pt", "br",
      "cat", "gal", "eus"};
  const std::string_view last = host.substr(host.rfind('.') + 1);
  for (std::string_view domain : kDomains)
    if (last.size() == domain.size() && StartsWithNoCase(last, domain)) return true;
  return false;
}

// A separator inside a word run that may go on into a web or e-mail address (. : @ / - _ and
// digits, followed by a letter, a digit or a slash).
inline bool MayContinueAddress(std::string_view text, std::size_t p) {
  const auto c = static_cast<unsigned char>(text[p]);
  if (!kAddress[c] || c == ',' || c == ';' || c == '!' || c == '?' || c == ')' || c == ']' || p + 1 >= text.size())
    return false;
  const auto next = static_cast<unsigned char>(text[p + 1]);
  return IsAsciiAlphanumeric(next) || next == '/';
}

}  // namespace

std::size_t AddressLength(std::string_view text, std::size_t start) {
  std::size_t end = start;
  while (end < text.size() && kAddress[static_cast<unsigned char>(text[end])]) {
    if (++end - start > kLongestAddress) return 0;
  }
  // An address ends where a word does: at a separator or at the end of the text.
  if (end < text.size() && !kSeparator[static_cast<unsigned char>(text[end])]) return 0;
  // The punctuation after an address belongs to the sentence: a closing bracket only when the
  // address opened none.
  std::size_t open = 0, closed = 0;
  for (std::size_t i = start; i < end; ++i) {
    open += text[i] == '(';
    closed += text[i] == ')';
  }
  while (end > start) {
    const char c = text[end - 1];
    if (c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == ']' || c == '}') {
      --end;
    } else if (c == ')' && closed > open) {
      --end;
      --closed;
    } else {
      break;
    }
  }
  const std::string_view address = text.substr(start, end - start);
  if (address.empty() || !IsAsciiAlphanumeric(static_cast<unsigned char>(address[0]))) return 0;

  // scheme://..., www...., mailto:...
  std::size_t scheme = 0;
  while (scheme < address.size() && IsAsciiAlphanumeric(static_cast<unsigned char>(address[scheme]))) ++scheme;
  if (address.substr(scheme, 3) == "://" && address.size() > scheme + 3) return address.size();
  if (StartsWithNoCase(address, "www.") && address.size() > 4) return address.size();
  if (StartsWithNoCase(address, "mailto:") && address.size() > 7) return address.size();
  // name@host.domain
  const std::size_t at = address.find('@');
  if (at != std::string_view::npos)
    return at > 0 && AllOf(address.substr(0, at), "._%+-") && IsHostName(address.substr(at + 1)) ? address.size() : 0;
  // host.domain/path
  const std::string_view host = address.substr(0, address.find('/'));
  return IsHostName(host) && IsKnownTopLevelDomain(host) ? address.size() : 0;
}

bool IsWordToken(std::string_view token) {
  if (token.empty() || kSeparator[static_cast<unsigned char>(token[0])]) return false;
  for (char c : token)
    if (kSeparator[static_cast<unsigned char>(c)]) return false;
  return true;
}

bool IsSeparatorChar(unsigned char c) { return kSeparator[c]; }

bool IsSeparator(std::string_view text) {
  return !text.empty() && kSeparator[static_cast<unsigned char>(text.front())];
}

// A token of `text` from `start`: sixteen bytes can be read there unless the text ends sooner.
void StoreTokenOf(TokenList& list, std::size_t count, std::string_view text, std::size_t start, std::size_t length) {
  StoreToken(list, count, text.substr(start, length), text.size() - start >= 16);
}

namespace {

// Where an address that begins at `runStart` and goes on past the separator at `p` ends; 0 when
// none does.
std::size_t AddressEndAt(std::string_view text, std::size_t runStart, std::size_t p) {
  if (p == runStart || !MayContinueAddress(text, p)) return 0;
  const std::size_t length = AddressLength(text, runStart);
  return runStart + length > p ? runStart + length : 0;
}

}  // namespace

std::size_t Tokenise(std::string_view text, TokenList& list) {
  std::size_t count = 0;
  std::size_t runStart = 0;
  for (std::size_t p = 0; p < text.size(); ++p) {
    if (!kSeparator[static_cast<unsigned char>(text[p])]) continue;
    if (const std::size_t end = AddressEndAt(text, runStart, p)) {
      StoreTokenOf(list, count++, text, runStart, end - runStart);
      runStart = end;
      p = end - 1;
      continue;
    }
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
    if (const std::size_t end = AddressEndAt(text, runStart, p)) {
      StoreTokenOf(source, count, text, runStart, end - runStart);
      StoreTokenOf(display, count++, text, runStart, end - runStart);
      runStart = end;
      p = end - 1;
      continue;
    }
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
    if (IsWordToken(entry.text)) ++words;
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

std::string CasedResult(std::string_view written, std::string_view result, bool sentenceStart) {
  bool replaced = written.size() != result.size();
  bool anyCapital = false;
  for (std::size_t i = 0; i < written.size(); ++i) {
    const auto c = static_cast<unsigned char>(written[i]);
    anyCapital = anyCapital || kLower[c] != c;
    replaced = replaced || kLower[c] != static_cast<unsigned char>(result[i]);
  }
  if (!anyCapital) return sentenceStart ? MixedCase(result) : std::string(result);
  if (!replaced) return std::string(written);
  switch (CasePatternOf(written)) {
    case CasePattern::AllCaps: return UpperCase(result);
    case CasePattern::Capitalised: return MixedCase(result);
    case CasePattern::Other: break;
  }
  std::string cased(result);
  if (written.size() == result.size()) {
    for (std::size_t i = 0; i < cased.size(); ++i)
      if (kLower[static_cast<unsigned char>(written[i])] != static_cast<unsigned char>(written[i]))
        cased[i] = static_cast<char>(kUpper[static_cast<unsigned char>(cased[i])]);
  } else if (kLower[static_cast<unsigned char>(written[0])] != static_cast<unsigned char>(written[0]) &&
             !cased.empty()) {
    cased[0] = static_cast<char>(kUpper[static_cast<unsigned char>(cased[0])]);
  }
  return cased;
}

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
