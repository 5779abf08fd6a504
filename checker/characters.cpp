#include "checker/characters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Separators that may go on into a web or e-mail address when a letter, a digit or a slash
// follows (. : @ / - _ and digits, not the punctuation that closes a sentence or an aside).
constexpr std::array<bool, 256> MakeAddressContinuationTable() {
  std::array<bool, 256> table = kAddress;
  for (unsigned char c : {',', ';', '!', '?', ')', ']'}) table[c] = false;
  return table;
}

constexpr auto kAddressContinuation = MakeAddressContinuationTable();

// Fills a token list in place. The entries already in the list are written over (a check reuses
// its lists, and a text has hundreds of thousands of tokens); room is made a stretch of the text
// at a time, so storing a token is a copy into an entry that is there.
class TokenListWriter {
 public:
  explicit TokenListWriter(TokenList& list) : list_(list) {}

  // Room for `more` tokens after the first `count`.
  void MakeRoom(std::size_t count, std::size_t more) {
    if (list_.size() < count + more) list_.resize(count + more);
    entries_ = list_.data();
  }

  // `sixteenReadable`: sixteen bytes can be read from `start`.
  void Put(std::size_t index, const char* start, std::size_t length, bool sixteenReadable) {
    TokenEntry& entry = entries_[index];
    if (sixteenReadable) {
      entry.text.assign_sixteen(std::string_view(start, length));
    } else {
      entry.text.assign(std::string_view(start, length));
    }
    entry.verdict = Verdict::Accepted;
  }

  void Finish(std::size_t count) { list_.resize(count); }

 private:
  TokenList& list_;
  TokenEntry* entries_ = nullptr;
};

// Below 128 a character separates words unless it is a letter, NUL or DEL: what the
// tokeniser's block test below relies on.
constexpr bool AsciiSeparatorsAreTheNonLetters() {
  for (int c = 0; c < 128; ++c) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (kSeparator[c] != (c != 0 && c != 127 && !letter)) return false;
  }
  return true;
}
static_assert(AsciiSeparatorsAreTheNonLetters());

// Bit i tells whether s[i] is a separator, for the `count` (at most 64) bytes from s, with no
// branch per byte, so the end of a word costs no mispredicted jump. A full block is tested
// sixteen bytes at a time where the processor can (ASCII by rule, the few bytes above 127 by the
// table); otherwise a table lookup per byte.
inline std::uint64_t SeparatorBits(const char* s, std::size_t count) {
  std::uint64_t bits = 0;
#if defined(__SSE2__)
  if (count == 64) {
    std::uint64_t high = 0;
    for (int part = 0; part < 4; ++part) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * part));
      // 'A'-'Z' and 'a'-'z' land on -128 to -103 once folded to lower case and shifted.
      const __m128i folded = _mm_add_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8(128 - 'a'));
      const __m128i notSeparator =
          _mm_or_si128(_mm_cmplt_epi8(folded, _mm_set1_epi8(-128 + 26)),
                       _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(127))));
      const auto above = static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(bytes)));
      const auto kept = static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(notSeparator)));
      high |= above << (16 * part);
      bits |= (~(kept | above) & 0xFFFF) << (16 * part);
    }
    for (; high != 0; high &= high - 1) {
      const int i = std::countr_zero(high);
      bits |= std::uint64_t{kSeparator[static_cast<unsigned char>(s[i])]} << i;
    }
    return bits;
  }
#endif
  for (std::size_t i = 0; i < count; ++i)
    bits |= std::uint64_t{kSeparator[static_cast<unsigned char>(s[i])]} << i;
  return bits;
}

// How much of the text the lists make room for at a time: each separator in it gives at most
// two tokens (the word before it and itself).
constexpr std::size_t kStretch = 4096;
constexpr std::size_t kStretchTokens = 2 * kStretch + 2;

// Splits the text into word runs and single separators, an address as one token, in one pass
// over the bytes, 64 at a time. store(index, start, length, sixteenReadable) writes token
// `index`; makeRoom(count, more) is called before a stretch of the text that may give `more`
// tokens.
template <typename MakeRoom, typename Store>
std::size_t SplitTokens(std::string_view text, MakeRoom&& makeRoom, Store&& store) {
  const char* const s = text.data();
  const std::size_t size = text.size();
  // From here on sixteen bytes cannot be read from a token's start.
  const std::size_t sixteenEnd = size >= 16 ? size - 15 : 0;
  auto put = [&](std::size_t index, std::size_t start, std::size_t length) {
    store(index, start, length, start < sixteenEnd);
  };
  std::size_t count = 0;
  std::size_t runStart = 0;  // where the word run before the next separator begins
  for (std::size_t base = 0; base < size; base += 64) {
    // A text gives at most one token a character: a short one gets no more room than it needs.
    if (base % kStretch == 0) makeRoom(count, std::min(kStretchTokens, size - count));
    // Past an address that went on into this block, its bytes are not read again.
    if (runStart >= base + 64) continue;
    std::uint64_t bits = SeparatorBits(s + base, std::min<std::size_t>(64, size - base));
    if (runStart > base) bits &= ~std::uint64_t{0} << (runStart - base);
    while (bits != 0) {
      const std::size_t p = base + static_cast<std::size_t>(std::countr_zero(bits));
      bits &= bits - 1;
      const auto c = static_cast<unsigned char>(s[p]);
      // A separator inside a word run that may go on into an address.
      if (kAddressContinuation[c] && p > runStart && p + 1 < size) [[unlikely]] {
        const auto next = static_cast<unsigned char>(s[p + 1]);
        if (IsAsciiAlphanumeric(next) || next == '/') {
          const std::size_t end = runStart + AddressLength(text, runStart);
          if (end > p) {
            // The address ends at a separator or at the end of the text; that separator comes next.
            put(count++, runStart, end - runStart);
            runStart = end;
            bits = end - base >= 64 ? 0 : bits & (~std::uint64_t{0} << (end - base));
            continue;
          }
        }
      }
      // The word before the separator, if any: an empty one is written over by the separator.
      const std::size_t length = p - runStart;
      put(count, runStart, length);
      count += length != 0;
      put(count++, p, 1);
      runStart = p + 1;
    }
  }
  if (runStart < size) put(count++, runStart, size - runStart);
  return count;
}

}  // namespace

std::size_t Tokenise(std::string_view text, TokenList& list) {
  TokenListWriter writer(list);
  const std::size_t count = SplitTokens(
      text, [&](std::size_t done, std::size_t more) { writer.MakeRoom(done, more); },
      [&](std::size_t index, std::size_t start, std::size_t length, bool sixteenReadable) {
        writer.Put(index, text.data() + start, length, sixteenReadable);
      });
  writer.Finish(count);
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
