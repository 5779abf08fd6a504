#include "server/request.h"

#include <algorithm>
#include <optional>

#include <nlohmann/json.hpp>

namespace velmara::server {
namespace {

constexpr std::size_t kMaxAnnotationDepth = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}


// The length of the UTF-8 sequence at `p` when it is a well-formed one (no overlong form, no
// surrogate, nothing past U+10FFFF), otherwise 0.
std::size_t SequenceLength(std::string_view text, std::size_t p) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[p + k]); };
  const auto follows = [&](std::size_t k) { return p + k < text.size() && (byte(k) & 0xC0) == 0x80; };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return follows(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!follows(1) || !follows(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!follows(1) || !follows(2) || !follows(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

// Nesting deeper than any annotation needs is refused before the parser builds it.
bool ShallowEnough(std::string_view json) {
  std::size_t depth = 0;
  bool inString = false;
  for (std::size_t p = 0; p < json.size(); ++p) {
    const char c = json[p];
    if (inString) {
      if (c == '\\') ++p;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxAnnotationDepth) return false;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return true;
}

std::size_t CountCodePoints(std::string_view utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

// JSON with every lone surrogate escape (\ud800 without its low half, or a low half alone)
// written as \ufffd, as a browser's JSON.stringify writes half of a broken emoji; the parser
// refuses them otherwise.
std::string ReplaceLoneSurrogates(std::string_view json) {
  const auto unit = [&](std::size_t p) -> int {  // the value of "\uXXXX" at p, or -1
    if (p + 6 > json.size() || json[p] != '\\' || (json[p + 1] != 'u')) return -1;
    int value = 0;
    for (std::size_t k = p + 2; k < p + 6; ++k) {
      const int digit = HexValue(json[k]);
      if (digit < 0) return -1;
      value = value * 16 + digit;
    }
    return value;
  };
  std::string out;
  out.reserve(json.size());
  bool inString = false;
  for (std::size_t p = 0; p < json.size(); ++p) {
    const char c = json[p];
    if (!inString) {
      inString = c == '"';
      out += c;
      continue;
    }
    if (c == '"') {
      inString = false;
      out += c;
      continue;
    }
    if (c != '\\' || p + 1 >= json.size()) {
      out += c;
      continue;
    }
    const int first = unit(p);
    if (first >= 0xD800 && first <= 0xDBFF) {
      const int second = unit(p + 6);
      if (second >= 0xDC00 && second <= 0xDFFF) {
        out.append(json.substr(p, 12));
        p += 11;
      } else {
        out += "\\ufffd";
        p += 5;
      }
    } else if (first >= 0xDC00 && first <= 0xDFFF) {
      out += "\\ufffd";
      p += 5;
    } else {
      out.append(json.substr(p, 2));  // any other escape, kept for the parser to judge
      ++p;
    }
  }
  return out;
}

RequestError BadRequest(std::string message) { return RequestError{400, std::move(message)}; }

// The annotation's parts appended to `text` and, markup as spaces, to `checked`.
std::optional<RequestError> ReadAnnotation(std::string_view data, std::string& text, std::string& checked) {
  if (!ShallowEnough(data)) return BadRequest("Error: 'data' is nested too deeply");
  const std::string whole = ReplaceLoneSurrogates(data);
  const nlohmann::json json = nlohmann::json::parse(whole.begin(), whole.end(), nullptr, false);
  if (json.is_discarded() || !json.is_object()) return BadRequest("Error: 'data' is not valid JSON");
  const auto annotation = json.find("annotation");
  if (annotation == json.end() || !annotation->is_array())
    return BadRequest("Error: 'data' needs an 'annotation' array");
  for (const nlohmann::json& part : *annotation) {
    if (!part.is_object()) return BadRequest("Error: every annotation part must be an object");
    const auto partText = part.find("text");
    const auto markup = part.find("markup");
    if ((partText == part.end()) == (markup == part.end()))
      return BadRequest("Error: an annotation part has either 'text' or 'markup'");
    if (partText != part.end()) {
      if (!partText->is_string()) return BadRequest("Error: 'text' must be a string");
      const std::string piece = ValidUtf8(partText->get_ref<const std::string&>());
      text += piece;
      checked += piece;
    } else {
      if (!markup->is_string()) return BadRequest("Error: 'markup' must be a string");
      const auto interpretAs = part.find("interpretAs");
      if (interpretAs != part.end() && !interpretAs->is_string())
        return BadRequest("Error: 'interpretAs' must be a string");
      const std::string piece = ValidUtf8(markup->get_ref<const std::string&>());
      text += piece;
      checked.append(CountCodePoints(piece), ' ');
    }
  }
  return std::nullopt;
}

std::string DecodeFormPart(std::string_view part) {
  std::string out;
  out.reserve(part.size());
  for (std::size_t p = 0; p < part.size(); ++p) {
    const char c = part[p];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && p + 2 < part.size() && HexValue(part[p + 1]) >= 0 &&
               HexValue(part[p + 2]) >= 0) {
      out += static_cast<char>(HexValue(part[p + 1]) * 16 + HexValue(part[p + 2]));
      p += 2;
    } else {
      out += c;  // a '%' not followed by two hex digits stays as it is
    }
  }
  return out;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithLetters(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[i]) != prefix[i]) return false;
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The value of the parameter `name` (lower case) in a header value like
// `form-data; name="text"`, unquoted; nullopt when it is absent.
std::optional<std::string> HeaderParameter(std::string_view value, std::string_view name) {
  std::size_t p = value.find(';');
  while (p != std::string_view::npos) {
    std::string_view rest = Trim(value.substr(p + 1));
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trim(rest.substr(0, equals));
    rest = Trim(rest.substr(equals + 1));
    std::string parameter;
    std::size_t used = 0;
    if (!rest.empty() && rest.front() == '"') {
      for (used = 1; used < rest.size() && rest[used] != '"'; ++used) {
        if (rest[used] == '\\' && used + 1 < rest.size()) ++used;
        parameter += rest[used];
      }
      if (used >= rest.size()) return std::nullopt;  // no closing quote
      ++used;
    } else {
      used = std::min(rest.find(';'), rest.size());
      parameter = std::string(Trim(rest.substr(0, used)));
    }
    if (key.size() == name.size() && StartsWithLetters(key, name)) return parameter;
    const std::size_t next = rest.find(';', used);
    p = next == std::string_view::npos ? next : static_cast<std::size_t>(rest.data() - value.data()) + next;
  }
  return std::nullopt;
}

}  // namespace

namespace {

std::optional<std::string>* FieldNamed(FormFields& fields, std::string_view name) {
  if (name == "text") return &fields.text;
  if (name == "data") return &fields.data;
  if (name == "language") return &fields.language;
  if (name == "disabledRules") return &fields.disabledRules;
  if (name == "enabledRules") return &fields.enabledRules;
  if (name == "enabledOnly") return &fields.enabledOnly;
  if (name == "disabledCategories") return &fields.disabledCategories;
  if (name == "enabledCategories") return &fields.enabledCategories;
  if (name == "preferredVariants") return &fields.preferredVariants;
  return nullptr;
}

std::vector<std::string> CommaList(const std::optional<std::string>& text) {
  std::vector<std::string> items;
  if (!text) return items;
  std::string_view rest = *text;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (!item.empty()) items.emplace_back(item);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return items;
}

bool Listed(const std::vector<std::string>& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// A body that is a JSON object: its string members (and enabledOnly as a boolean) are the fields.
bool ReadJsonForm(std::string_view body, FormFields& fields) {
  if (!ShallowEnough(body)) return false;
  const nlohmann::json json = nlohmann::json::parse(body.begin(), body.end(), nullptr, false);
  if (json.is_discarded() || !json.is_object()) return false;
  for (const auto& [name, value] : json.items()) {
    if (value.is_string()) SetField(fields, name, value.get<std::string>());
    else if (value.is_boolean()) SetField(fields, name, value.get<bool>() ? "true" : "false");
    else if (name == "data" && value.is_object()) SetField(fields, name, value.dump());
  }
  return true;
}

}  // namespace

bool IsMultipartForm(std::string_view contentType) {
  return StartsWithLetters(Trim(contentType), "multipart/form-data");
}

bool ReadMultipartForm(std::string_view contentType, std::string_view body, FormFields& fields) {
  const std::optional<std::string> boundary = HeaderParameter(contentType, "boundary");
  if (!boundary || boundary->empty() || boundary->size() > 200) return false;
  const std::string delimiter = "--" + *boundary;
  const std::string partEnd = "\r\n" + delimiter;
  // The first delimiter opens the body or ends its preamble's line.
  std::size_t p = body.rfind(delimiter, 0) == 0 ? 0 : body.find(partEnd);
  if (p == std::string_view::npos) return false;
  p = body.find(delimiter, p) + delimiter.size();
  for (;;) {
    if (body.substr(p, 2) == "--") return true;  // the closing delimiter
    while (p < body.size() && (body[p] == ' ' || body[p] == '\t')) ++p;
    if (body.substr(p, 2) != "\r\n") return false;
    p += 2;
    const std::size_t headEnd = body.find("\r\n\r\n", p - 2);
    const std::size_t valueEnd = headEnd == std::string_view::npos ? headEnd : body.find(partEnd, headEnd + 4);
    if (valueEnd == std::string_view::npos) return false;
    // A part with no head lines starts its value right after the delimiter's line.
    std::string_view head = headEnd == p - 2 ? std::string_view() : body.substr(p, headEnd - p);
    std::optional<std::string> name;
    while (!head.empty()) {
      const std::size_t lineEnd = std::min(head.find("\r\n"), head.size());
      const std::string_view line = head.substr(0, lineEnd);
      head = lineEnd == head.size() ? std::string_view() : head.substr(lineEnd + 2);
      if (StartsWithLetters(line, "content-disposition:")) {
        const std::string_view value = Trim(line.substr(20));
        if (!StartsWithLetters(value, "form-data")) return false;
        name = HeaderParameter(value, "name");
      }
    }
    if (!name) return false;
    if (IsFormField(*name)) SetField(fields, *name, std::string(body.substr(headEnd + 4, valueEnd - headEnd - 4)));
    p = valueEnd + partEnd.size();
  }
}

bool IsFormField(std::string_view name) {
  FormFields probe;
  return FieldNamed(probe, name) != nullptr;
}

bool SetField(FormFields& fields, std::string_view name, std::string value) {
  std::optional<std::string>* field = FieldNamed(fields, name);
  if (field == nullptr) return false;
  if (!*field) *field = std::move(value);
  return true;
}

bool CheckRequest::RuleOn(std::string_view id, std::string_view category) const {
  if (Listed(disabledRules, id) || Listed(disabledCategories, category)) return false;
  return !enabledOnly || Listed(enabledRules, id) || Listed(enabledCategories, category);
}

void ReadUrlEncodedForm(std::string_view body, FormFields& fields) {
  const std::size_t first = body.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && body[first] == '{' && ReadJsonForm(body.substr(first), fields)) return;
  while (!body.empty()) {
    const std::size_t amp = body.find('&');
    const std::string_view pair = body.substr(0, amp);
    body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    const std::size_t equals = pair.find('=');
    const std::string name = DecodeFormPart(pair.substr(0, equals));
    if (!IsFormField(name)) continue;
    SetField(fields, name, equals == std::string_view::npos ? std::string() : DecodeFormPart(pair.substr(equals + 1)));
  }
}

bool IsSpanishCode(std::string_view code) {
  if (code == "es" || code == "auto") return true;
  if (code.size() < 4 || code.size() > 20 || code.substr(0, 3) != "es-") return false;
  for (char c : code.substr(3))
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
  return true;
}

std::variant<CheckRequest, RequestError> ReadCheckRequest(const FormFields& fields, std::size_t maxCodePoints) {
  if (!fields.language) return BadRequest("Error: Missing 'language' parameter");
  if (!IsSpanishCode(*fields.language))
    return BadRequest("Error: '" + ValidUtf8(fields.language->substr(0, 40)) +
                      "' is not a language code this server checks (es, es-ES, auto)");
  if (!fields.text && !fields.data) return BadRequest("Error: Missing 'text' or 'data' parameter");
  if (fields.text && fields.data) return BadRequest("Error: Set only 'text' or 'data', not both");

  CheckRequest request;
  request.language = *fields.language;
  // Detected among the languages the client prefers: a Spanish variant it names is the answer's.
  if (request.language == "auto")
    for (const std::string& variant : CommaList(fields.preferredVariants))
      if (variant.rfind("es-", 0) == 0 && IsSpanishCode(variant)) {
        request.detectedVariant = variant;
        break;
      }
  request.disabledRules = CommaList(fields.disabledRules);
  request.enabledRules = CommaList(fields.enabledRules);
  request.enabledOnly = fields.enabledOnly && *fields.enabledOnly == "true";
  request.disabledCategories = CommaList(fields.disabledCategories);
  request.enabledCategories = CommaList(fields.enabledCategories);
  if (fields.text) {
    request.text = ValidUtf8(*fields.text);
    request.checked = request.text;
  } else if (auto error = ReadAnnotation(*fields.data, request.text, request.checked)) {
    return *error;
  }
  request.codePoints = CountCodePoints(request.text);
  if (request.codePoints > maxCodePoints)
    return RequestError{413, "Error: Your text exceeds the limit of " + std::to_string(maxCodePoints) +
                                 " characters (it's " + std::to_string(request.codePoints) + " characters)."};
  return request;
}

std::string ValidUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t p = 0; p < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, p);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++p;
    } else {
      out.append(bytes.substr(p, length));
      p += length;
    }
  }
  return out;
}

std::vector<std::uint32_t> Utf16Starts(std::string_view utf8) {
  std::vector<std::uint32_t> starts;
  starts.reserve(utf8.size() + 1);
  std::uint32_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80) continue;
    starts.push_back(units);
    units += c >= 0xF0 ? 2 : 1;
  }
  starts.push_back(units);
  return starts;
}

std::vector<std::uint32_t> ByteStarts(std::string_view utf8) {
  std::vector<std::uint32_t> starts;
  starts.reserve(utf8.size() + 1);
  for (std::size_t p = 0; p < utf8.size(); ++p)
    if ((static_cast<unsigned char>(utf8[p]) & 0xC0) != 0x80) starts.push_back(static_cast<std::uint32_t>(p));
  starts.push_back(static_cast<std::uint32_t>(utf8.size()));
  return starts;
}

}  // namespace velmara::server
