#pragma once
// The part of a check request that is ours: which form fields are read, the annotation format
// (text and markup parts), the language asked for, and the positions the answer counts in.
// Nothing here touches the word database or the network, so it can be fed any bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmara::server {

// The fields of a check request as the form carried them (URL-encoded or multipart).
struct FormFields {
  std::optional<std::string> text;
  std::optional<std::string> data;  // the annotation format: {"annotation":[{"text":…},{"markup":…}]}
  std::optional<std::string> language;
  std::optional<std::string> disabledRules;  // rule ids, comma-separated, as an add-in's "ignore this rule"
  std::optional<std::string> enabledRules;   // with enabledOnly=true, the only rules that answer
  std::optional<std::string> enabledOnly;    // "true" or "false"
  std::optional<std::string> disabledCategories;  // category ids, comma-separated
  std::optional<std::string> enabledCategories;
  std::optional<std::string> preferredVariants;   // with language=auto: "en-US,es-AR,…"
};
// What else the clients send (level, motherTongue, username, apiKey, useragent, textSessionId,
// …) is read and has no effect here: a local checker has no levels, accounts or sessions.

// Reads the fields we use from an application/x-www-form-urlencoded body ('+' is a space, %XX a
// byte); other fields are skipped, and a field given twice keeps its first value. A field already
// set in `fields` is kept. Whatever its Content-Type says: ltex-ls labels its form body
// application/json. A body that is a JSON object ({"text": …, "language": …}) is read as one.
void ReadUrlEncodedForm(std::string_view body, FormFields& fields);
// Whether a Content-Type names multipart/form-data (its name in any case).
bool IsMultipartForm(std::string_view contentType);
// Reads the fields we use from a multipart/form-data body whose boundary the Content-Type names;
// false when the body is malformed (no boundary, a part without its head or its end, no closing
// delimiter), what is answered 400.
bool ReadMultipartForm(std::string_view contentType, std::string_view body, FormFields& fields);
// Whether a field of that name is one we read.
bool IsFormField(std::string_view name);
// Sets the field `name` to `value` unless it is set already; false for a field we do not use.
bool SetField(FormFields& fields, std::string_view name, std::string value);

// A request ready to check. `text` is what the client's positions count: the text parts and the
// markup parts in order, valid UTF-8 (an invalid byte is read as U+FFFD). `checked` has the same
// code points, every one of a markup part a space, so a word never runs across markup and one
// code point of either is one character of the engine's text.
struct CheckRequest {
  std::string text;
  std::string checked;
  std::string language;  // as it is answered: "es", "es-ES", …
  std::string detectedVariant;  // for "auto": the Spanish variant among the client's preferred ones
  std::vector<std::string> disabledRules;
  std::vector<std::string> enabledRules;
  bool enabledOnly = false;
  std::vector<std::string> disabledCategories;
  std::vector<std::string> enabledCategories;
  std::size_t codePoints = 0;

  // Whether a rule of that id and category answers this request.
  bool RuleOn(std::string_view id, std::string_view category) const;
};

struct RequestError {
  int status;           // HTTP status
  std::string message;  // plain text
};

// The language codes a check is answered for: "es", "es-XX" variants and "auto".
bool IsSpanishCode(std::string_view code);

// The fields of a check request, read and checked: a text of more than `maxCodePoints`
// characters is refused with 413.
std::variant<CheckRequest, RequestError> ReadCheckRequest(const FormFields& fields, std::size_t maxCodePoints);

// `bytes` as valid UTF-8, every invalid byte replaced by U+FFFD.
std::string ValidUtf8(std::string_view bytes);

// For valid UTF-8: where each code point starts, in UTF-16 code units, with one entry more for
// the end (so entry k+1 minus entry k is 1 or 2).
std::vector<std::uint32_t> Utf16Starts(std::string_view utf8);
// For valid UTF-8: where each code point starts, in bytes, with the end as the last entry.
std::vector<std::uint32_t> ByteStarts(std::string_view utf8);

}  // namespace velmara::server
