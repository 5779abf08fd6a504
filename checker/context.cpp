#include "checker/context.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "checker/accents.h"
#include "checker/characters.h"

namespace velmara {

// The model built into the program (generated from resources/contexto.txt), sorted by key.
extern const ContextCount kContextCounts[];
extern const std::size_t kContextCountsSize;
extern const std::uint64_t kContextPlainForms[];
extern const std::size_t kContextPlainFormsSize;

namespace {

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Accents a writer may leave out or put in: never advised.
bool IsOptionalAccent(std::string_view word) {
  return OneOf(word, {"s\xF3lo", "\xE9ste", "\xE9sta", "\xE9stos", "\xE9stas", "\xE9se", "\xE9sa", "\xE9sos",
                      "\xE9sas", "aqu\xE9l", "aqu\xE9lla", "aqu\xE9llos", "aqu\xE9llas"});
}

bool IsBlank(std::string_view token) {
  if (token.size() != 1) return false;
  const auto c = static_cast<unsigned char>(token[0]);
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0 || c == '\f' || c == '\v';
}

bool IsWordText(std::string_view token) { return !token.empty() && !IsSeparator(token); }

// A mark after which a clause has ended (or the text ends: "$").
bool EndsClause(std::string_view next) { return OneOf(next, {".", ",", ";", ":", "?", "!", ")", "$"}); }

bool IsPreposition(std::string_view word) {
  return OneOf(word, {"a", "ante", "con", "contra", "de", "desde", "en", "entre", "hacia", "hasta", "para", "por",
                      "seg\xFAn", "sin", "sobre", "tras"});
}

// Verb forms so common that a writer drops a subject pronoun's accent before them (\xE9l es, t\xFA
// sabes); some are dictionary words too, so the word lists alone do not say they are verbs.
bool IsCommonVerb(std::string_view word) {
  return OneOf(word, {"es", "era", "fue", "ha", "hab\xED" "a", "hace", "hizo", "tiene", "ten\xED" "a", "est\xE1", "estaba",
                      "sabe", "sab\xED" "a", "puede", "pod\xED" "a", "quiere", "quer\xED" "a", "va", "iba", "dice", "dijo",
                      "ser\xE1", "ser\xED" "a", "eres", "est\xE1s", "tienes", "sabes", "puedes", "quieres", "vas", "dices",
                      "has", "haces", "fuiste", "sab\xED" "as", "ten\xED" "as"});
}

bool IsObjectPronoun(std::string_view word) {
  return OneOf(word, {"lo", "la", "los", "las", "le", "les", "me", "te", "nos", "os", "se"});
}

// A form the training text showed fewer times than this is never advised by the counts.
constexpr std::uint32_t kMinimumCount = 3;

std::string InWrittenCase(std::string_view written, const std::string& lower) {
  switch (CasePatternOf(written)) {
    case CasePattern::AllCaps: return UpperCase(lower);
    case CasePattern::Capitalised: return MixedCase(lower);
    case CasePattern::Other: break;
  }
  return lower;
}

std::uint64_t Fnv(std::uint64_t hash, std::string_view text) {
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ull;
  }
  return hash;
}

}  // namespace

std::uint64_t ContextModel::Key(std::string_view kind, std::string_view word, std::string_view neighbour) {
  std::uint64_t hash = Fnv(0xCBF29CE484222325ull, kind);
  hash = Fnv(hash ^ 0x1F, word);
  return Fnv(hash ^ 0x2F, neighbour);
}

ContextModel::ContextModel(std::string_view text) {
  // The number of distinct left and right neighbours of each word, counted here.
  std::unordered_map<std::uint64_t, std::uint32_t> types;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == '#') continue;
    std::array<std::string_view, 4> fields;
    std::size_t from = 0;
    std::size_t n = 0;
    for (; n < fields.size(); ++n) {
      const std::size_t tab = line.find('\t', from);
      fields[n] = line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    if (n != 3) continue;  // a line that is not four fields is left out
    std::uint32_t count = 0;
    const auto parsed = std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), count);
    if (parsed.ec != std::errc() || count == 0) continue;
    ownCounts_.push_back({Key(fields[0], fields[1], fields[2]), count});
    if (fields[0] == "U") ownPlainForms_.push_back(Key("P", StripAccents(fields[1]), {}));
    if (fields[0] == "L") ++types[Key("TL", fields[1], {})];
    if (fields[0] == "R") ++types[Key("TR", fields[1], {})];
  }
  for (const auto& [key, count] : types) ownCounts_.push_back({key, count});
  std::sort(ownCounts_.begin(), ownCounts_.end(), [](const ContextCount& a, const ContextCount& b) { return a.key < b.key; });
  std::sort(ownPlainForms_.begin(), ownPlainForms_.end());
  counts_ = ownCounts_;
  plainForms_ = ownPlainForms_;
}

ContextModel::ContextModel(std::span<const ContextCount> counts, std::span<const std::uint64_t> plainForms)
    : counts_(counts), plainForms_(plainForms) {}

const ContextModel& ContextModel::BuiltIn() {
  static const ContextModel model(std::span(kContextCounts, kContextCountsSize),
                                  std::span(kContextPlainForms, kContextPlainFormsSize));
  return model;
}

bool ContextModel::HasPlainForm(std::string_view word) const {
  return std::binary_search(plainForms_.begin(), plainForms_.end(), Key("P", word, {}));
}

std::uint32_t ContextModel::Count(std::string_view kind, std::string_view word, std::string_view neighbour) const {
  const std::uint64_t key = Key(kind, word, neighbour);
  const auto found = std::lower_bound(counts_.begin(), counts_.end(), key,
                                      [](const ContextCount& entry, std::uint64_t k) { return entry.key < k; });
  return found != counts_.end() && found->key == key ? found->count : 0;
}

// The words either side of a word, lower case: a word, a mark (one character), "^" at the start
// of the text or "$" at its end. Blanks and line ends are passed over.
struct ContextAdvisor::Neighbours {
  std::string left2, left, right, right2;
};

ContextAdvisor::ContextAdvisor(const WordDatabase& database, const ContextModel& model)
    : database_(database), model_(model) {}

std::string AdviceMessage(std::string_view replacement) {
  return "\xBFQuiso decir \xAB" + std::string(replacement) + "\xBB?";
}

bool ContextAdvisor::IsKnown(std::string_view word) const {
  return FindInList(database_.dictionary, word) > 0 || FindInList(database_.verbs, word) > 0;
}

char ContextAdvisor::KindOf(std::string_view word) const {
  if (FindInList(database_.dictionary, word) > 0) return 'D';
  if (FindInList(database_.verbs, word) > 0) return 'V';
  if (FindInList(database_.properNames, word) > 0) return 'N';
  return 'U';
}

// A conjugated form that is only a verb: not a noun or adjective too, nor an infinitive, a
// gerund or a participle (which follow an article as nouns: el deber, el citado).
bool ContextAdvisor::IsFiniteVerbOnly(std::string_view word) const {
  if (word.size() < 2 || KindOf(word) != 'V') return false;
  for (const std::string_view ending : {"ar", "er", "ir", "\xEDr", "ndo", "do", "da", "dos", "das", "to", "cho"}) {
    if (word.ends_with(ending)) return false;
  }
  // A noun that lost its accent is no verb here: el numero, el interprete.
  for (std::size_t i = 1; i <= word.size(); ++i) {
    const std::string accented = AccentAt(word, i);
    if (accented != word && FindInList(database_.dictionary, accented) > 0) return false;
  }
  return true;
}

std::vector<std::string> ContextAdvisor::AccentedVariants(std::string_view word) const {
  std::vector<std::string> variants;
  for (std::size_t i = 1; i <= word.size(); ++i) {
    const char c = word[i - 1];
    if (c != 'a' && c != 'e' && c != 'i' && c != 'o' && c != 'u') continue;
    std::string variant = AccentAt(word, i);
    if (IsOptionalAccent(variant) || !IsKnown(variant)) continue;
    // The imperative of "vos" (insert\xE1, control\xE1) is left out: plain text nearly never means it.
    if (i == word.size() && word.size() >= 4 && variant != "est\xE1" && IsKnown(std::string(word) + "r")) continue;
    variants.push_back(std::move(variant));
  }
  return variants;
}

std::string ContextAdvisor::ByRule(std::string_view word, const std::vector<std::string>& variants,
                                   const Neighbours& around) const {
  const auto has = [&](std::string_view v) { return std::find(variants.begin(), variants.end(), v) != variants.end(); };
  const std::string& left = around.left;
  const std::string& right = around.right;
  const bool rightEnds = EndsClause(right);
  if (word == "el" && has("\xE9l")) {
    // A pronoun before a verb or closing a clause after a preposition: ÃƒÂ©l dijo, para ÃƒÂ©l.
    if (IsFiniteVerbOnly(right) || IsCommonVerb(right)) return "\xE9l";
    // An article never stands before a pronoun: \xE9l lo sabe, \xE9l se fue.
    if (IsObjectPronoun(right) && right != "la" && right != "os") return "\xE9l";
    if (OneOf(right, {"no", "tambi\xE9n", "tampoco", "nunca", "ya"}) && IsFiniteVerbOnly(around.right2)) return "\xE9l";
    if (rightEnds && (IsPreposition(left) || OneOf(left, {"que", "y", "como"}))) return "\xE9l";
    return {};
  }
  if (word == "tu" && has("t\xFA")) {
    if (IsFiniteVerbOnly(right) || IsCommonVerb(right) || (rightEnds && right != "$") ||
        (IsObjectPronoun(right) && right != "la" && right != "os") ||
        OneOf(right, {"no", "y", "tambi\xE9n", "tampoco", "mismo", "misma", "eres", "est\xE1s"}))
      return "t\xFA";
    return {};
  }
  if (word == "mi" && has("m\xED")) {
    if (IsPreposition(left) && (rightEnds || OneOf(right, {"me", "mismo", "misma", "tambi\xE9n", "tampoco"})))
      return "m\xED";
    return {};
  }
  if (word == "se" && has("s\xE9")) {
    if (left == "lo" && !IsObjectPronoun(right)) return "s\xE9";
    if (left == "yo" && !IsObjectPronoun(right) && KindOf(right) != 'V') return "s\xE9";
    if (OneOf(left, {"no", "ya", "ni", "yo"}) &&
        (rightEnds || OneOf(right, {"que", "si", "qu\xE9", "c\xF3mo", "d\xF3nde", "cu\xE1ndo", "qui\xE9n", "nada",
                                    "cu\xE1l", "cu\xE1nto", "por"})))
      return "s\xE9";
    return {};
  }
  if (word == "si" && has("s\xED")) {
    // The conjunction always opens a clause; before a closing mark it is the adverb.
    if (rightEnds && right != "$") return "s\xED";
    if (OneOf(right, {"mismo", "misma", "mismos", "mismas"}) && OneOf(left, {"en", "de", "por", "para", "entre", "a", "sobre"}))
      return "s\xED";
    if (OneOf(left, {"que", "eso", "esto", "ahora", "pues", "claro"}) && rightEnds) return "s\xED";
    return {};
  }
  if (word == "mas" && has("m\xE1s")) {
    // The old "but" follows a comma and opens a clause; everywhere else it is the adverb.
    if (OneOf(left, {",", ";", "^", "."})) {
      if (OneOf(right, {"que", "de", "del", "bien", "o"}) || rightEnds) return "m\xE1s";
      return {};
    }
    return "m\xE1s";
  }
  if (word == "aun" && has("a\xFAn")) {
    if (OneOf(right, {"no", "m\xE1s", "menos", "mayor", "mejor", "peor", "hoy", "es", "est\xE1", "estaba", "era", "hay",
                      "hab\xED" "a", "queda", "quedan", "tiene", "sigue", "siguen", "falta", "faltan"}) ||
        (rightEnds && right != "$"))
      return "a\xFAn";
    return {};
  }
  // A past tense after "se", a subject pronoun or "ayer": se terminó, ella habló, ayer llegué.
  const char last = word.back();
  if (word.size() >= 4 && (last == 'o' || last == 'e')) {
    std::string past(word);
    past.back() = last == 'o' ? '\xF3' : '\xE9';
    if (has(past) && FindInList(database_.verbs, past) > 0) {
      if (last == 'o' && OneOf(left, {"se", "\xE9l", "ella", "usted", "ayer", "anoche"}) && around.left2 != "que")
        return past;
      if (last == 'e' && OneOf(left, {"ayer", "anoche"})) return past;
    }
  }
  return {};
}

std::string ContextAdvisor::ByCounts(std::string_view word, const std::vector<std::string>& variants,
                                     const Neighbours& around, double& confidence) const {
  std::vector<std::string_view> forms{word};
  for (const std::string& v : variants) forms.push_back(v);
  std::vector<double> scores;
  char leftKind = 0, rightKind = 0;
  double best = -1e300;
  std::size_t bestIndex = 0;
  bool seen = false;
  for (std::size_t f = 0; f < forms.size(); ++f) {
    const std::string_view form = forms[f];
    const double u = model_.Count("U", form);
    seen = seen || u > 0;
    double score = std::log(u + 0.1);
    if (!frequencyOnly_) {
      // Each neighbour by its own count, else by the kind of word it is (Witten-Bell back-off).
      const auto side = [&](std::string_view kind, std::string_view kinds, std::string_view types,
                            const std::string& other, char& otherKind) {
        const double c = model_.Count(kind, form, other);
        const double t = model_.Count(types, form);
        if (u == 0) return std::log(1e-4);
        if (c > 0) return std::log(c / (u + t));
        double byKind = 0.01;
        if (IsWordText(other) && other != "^" && other != "$") {
          if (otherKind == 0) otherKind = KindOf(other);  // looked up once for all the forms
          byKind = (model_.Count(kinds, form, std::string_view(&otherKind, 1)) + 1.0) / (u + 4.0);
        }
        return std::log((t + 1.0) / (u + t) * byKind * 1e-3);
      };
      score += side("L", "LK", "TL", around.left, leftKind) + side("R", "RK", "TR", around.right, rightKind);
    }
    scores.push_back(score);
    if (score > best) best = score, bestIndex = f;
  }
  if (!seen || bestIndex == 0 || model_.Count("U", forms[bestIndex]) < kMinimumCount) return {};
  double total = 0;
  for (const double s : scores) total += std::exp(s - best);
  confidence = 1.0 / total;
  if (!frequencyOnly_ && confidence < threshold_) return {};
  return std::string(forms[bestIndex]);
}

std::string ContextAdvisor::Decide(std::string_view word, const std::vector<std::string>& variants,
                                  const Neighbours& around, bool countsToo, double& confidence) const {
  if (!frequencyOnly_) {
    std::string ruled = ByRule(word, variants, around);
    if (!ruled.empty()) {
      confidence = 0.95;
      return ruled;
    }
    // The short words the rules know are left alone when no rule spoke.
    if (!countsToo || OneOf(word, {"el", "tu", "mi", "se", "si", "aun", "mas", "de", "te"})) return {};
  }
  return ByCounts(word, variants, around, confidence);
}

std::vector<Advice> ContextAdvisor::Advise(const CheckState& state) const { return Advise(state.source, state.result); }

namespace {

bool IsLineEnd(std::string_view token) { return token == "\n" || token == "\r"; }

// The `n`-th word or mark from token `i` in direction `step` (-1 or 1), lower case; "^" or "$" when
// the text or the line ends first (a text read in lines sees what the whole text sees).
std::string NeighbourOf(const TokenList& tokens, std::size_t i, int step, int n) {
  std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i);
  const std::string edge = step < 0 ? "^" : "$";
  while (true) {
    k += step;
    if (k < 0 || k >= static_cast<std::ptrdiff_t>(tokens.size())) return edge;
    const std::string_view text = tokens[static_cast<std::size_t>(k)].text;
    if (IsLineEnd(text)) return edge;
    if (text.empty() || IsBlank(text)) continue;
    if (--n == 0) return LowerCase(text);
  }
}

}  // namespace

bool ContextAdvisor::MayAdvise(const TokenList& tokens, std::size_t i, std::string_view lower) const {
  if (OneOf(lower, {"el", "tu", "mi", "se", "si", "aun", "mas"})) return true;
  if (OneOf(lower, {"de", "te", "que"})) return false;  // d\xE9, t\xE9 and qu\xE9 are left to the question marks
  if (model_.HasPlainForm(lower)) return true;
  // The past-tense rule, for words the training text never showed.
  const char last = lower.back();
  if (lower.size() < 4 || (last != 'o' && last != 'e')) return false;
  return OneOf(NeighbourOf(tokens, i, -1, 1), {"se", "\xE9l", "ella", "usted", "ayer", "anoche"});
}

std::vector<Advice> ContextAdvisor::Advise(const TokenList& tokens, const TokenList& verdicts) const {
  std::vector<Advice> advice;
  // The accented variants of each distinct word that may be advised, worked out once per text.
  std::unordered_map<std::string, std::vector<std::string>> variantsOf;
  std::string lower;
  for (std::size_t index = 0; index < tokens.size(); ++index) {
    const std::string_view text = tokens[index].text;
    if (text.size() < 2 || text.size() > 30 || IsSeparator(text)) continue;
    const Verdict verdict = index < verdicts.size() ? verdicts[index].verdict : Verdict::Accepted;
    if (verdict != Verdict::Accepted && verdict != Verdict::VerbForm) continue;
    lower.assign(text);
    for (char& c : lower) c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));
    if (!MayAdvise(tokens, index, lower)) continue;
    auto variants = variantsOf.find(lower);
    if (variants == variantsOf.end()) {
      std::vector<std::string> found;
      if (!HasAccent(lower) && IsKnown(lower)) found = AccentedVariants(lower);
      variants = variantsOf.emplace(lower, std::move(found)).first;
    }
    if (variants->second.empty()) continue;
    // Only the rules of "el" and of the past tense look two words away.
    const bool far = lower == "el" || lower.back() == 'o' || lower.back() == 'e';
    const Neighbours around{far ? NeighbourOf(tokens, index, -1, 2) : std::string(), NeighbourOf(tokens, index, -1, 1),
                            NeighbourOf(tokens, index, 1, 1), far ? NeighbourOf(tokens, index, 1, 2) : std::string()};
    // A word in capitals is often a name or a placeholder (FICHERO, CUANDO): rules only.
    const bool countsToo = CasePatternOf(text) != CasePattern::AllCaps;
    double confidence = 0;
    const std::string advised = Decide(lower, variants->second, around, countsToo, confidence);
    if (advised.empty()) continue;
    std::string replacement = InWrittenCase(text, advised);
    std::string message = AdviceMessage(replacement);
    advice.push_back(Advice{index, std::move(replacement), std::move(message), confidence});
  }
  return advice;
}

}  // namespace velmara
