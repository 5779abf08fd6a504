#include "app/profile.h"

#include <limits>
#include <optional>
#include <system_error>
#include <vector>

#include "tools/read_file.h"
#include "tools/replace_file.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;

// One line of the file as stored: its text and its own line end ("\r\n", "\n" or none).
struct Line {
  std::string text;
  std::string end;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines of a file and whether it began with a UTF-8 byte-order mark, which is not part of the
// first line. A line ends at LF, CR LF or a CR alone, so a file from any system reads as written.
struct ParsedFile {
  bool byteOrderMark = false;
  std::vector<Line> lines;
};

ParsedFile SplitLines(std::string_view bytes) {
  ParsedFile file;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    file.byteOrderMark = true;
    bytes.remove_prefix(kByteOrderMark.size());
  }
  while (!bytes.empty()) {
    auto end = bytes.find_first_of("\r\n");
    Line line;
    line.text = std::string(bytes.substr(0, end));
    if (end == std::string_view::npos) {
      bytes = {};
    } else {
      std::size_t endLength = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
      line.end = std::string(bytes.substr(end, endLength));
      bytes.remove_prefix(end + endLength);
    }
    file.lines.push_back(std::move(line));
  }
  return file;
}

// The section name when the line opens a section.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key name when the line is a key line; comments and lines without "=" are not.
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

// Lines [begin, end) of the first section with this name; begin is the line after the header.
struct SectionRange {
  std::size_t begin;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i].text);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end].text)) ++end;
    return SectionRange{i + 1, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
  for (std::size_t i = range.begin; i < range.end; ++i) {
    auto name = KeyName(lines[i].text);
    if (name && SameName(*name, key)) return i;
  }
  return std::nullopt;
}

void SetKey(std::vector<Line>& lines, const std::string& lineEnd, const ProfileEntry& entry) {
  // A line added after the last line of the file first gives that line its end.
  auto insert = [&](std::size_t at, std::string text) {
    if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = lineEnd;
    // A CR alone before an empty line that ends with LF would read back as one CR LF, and the
    // empty line would be lost.
    const bool beforeLineFeed = at < lines.size() && lines[at].text.empty() && lines[at].end == "\n";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                 Line{std::move(text), lineEnd == "\r" && beforeLineFeed ? "\r\n" : lineEnd});
  };
  std::string keyLine = std::string(entry.key) + "=" + std::string(entry.value);

  auto range = FindSection(lines, entry.section);
  if (!range) {
    insert(lines.size(), "[" + std::string(entry.section) + "]");
    insert(lines.size(), std::move(keyLine));
    return;
  }
  if (auto at = FindKey(lines, *range, entry.key)) {
    // Keep the key as the file spells it; only the value changes.
    std::string& text = lines[*at].text;
    text = text.substr(0, text.find('=') + 1) + std::string(entry.value);
    return;
  }
  // After the last non-blank line of the section, so blank lines before the next section stay there.
  std::size_t after = range->end;
  while (after > range->begin && Trim(lines[after - 1].text).empty()) --after;
  insert(after, std::move(keyLine));
}

}  // namespace

struct ProfileFile::Content {
  std::vector<Line> lines;
};

ProfileFile::ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;
ProfileFile::~ProfileFile() = default;

ProfileFile ProfileFile::Read(const std::filesystem::path& file) {
  ProfileFile profile;
  // A file that cannot be read (a folder, a read error, no permission) gives every default, as a
  // missing one does.
  if (auto bytes = ReadWholeFile(file)) {
    profile.content_ = std::make_unique<Content>();
    profile.content_->lines = SplitLines(*bytes).lines;
  }
  return profile;
}

std::string ProfileFile::Get(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  if (!content_) return std::string(defaultValue);
  const auto& lines = content_->lines;
  auto range = FindSection(lines, section);
  if (!range) return std::string(defaultValue);
  auto at = FindKey(lines, *range, key);
  if (!at) return std::string(defaultValue);
  const std::string& text = lines[*at].text;
  return std::string(Trim(std::string_view(text).substr(text.find('=') + 1)));
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::filesystem::path& file) {
  return ProfileFile::Read(file).Get(section, key, defaultValue);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file) {
  ProfileEntry entry{section, key, value};
  return WritePrivateProfileStrings(std::span<const ProfileEntry>(&entry, 1), file);
}

bool WritePrivateProfileStrings(std::span<const ProfileEntry> entries, const std::filesystem::path& path) {
  std::error_code error;
  // A linked file is rewritten where it lives; renaming over the link would replace it.
  fs::path file = path;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    file = fs::weakly_canonical(path, error);
    if (error) return false;
  }
  auto status = fs::status(file, error);
  std::string bytes;
  if (fs::exists(status)) {
    // Never rewrite what we could not read: that would lose the rest of the file.
    if (!fs::is_regular_file(status)) return false;
    auto read = ReadWholeFile(file);
    if (!read) return false;
    bytes = std::move(*read);
  }
  ParsedFile parsed = SplitLines(bytes);
  auto& lines = parsed.lines;
  std::string lineEnd = "\r\n";
  for (const auto& line : lines) {
    if (!line.end.empty()) {
      lineEnd = line.end;
      break;
    }
  }
  for (const auto& entry : entries) SetKey(lines, lineEnd, entry);

  std::string out;
  out.reserve(bytes.size() + 64);
  if (parsed.byteOrderMark) out += kByteOrderMark;
  for (const auto& line : lines) out += line.text + line.end;
  std::error_code writeError;
  return ReplaceFileContent(file, out, writeError);
}

std::int32_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kMax + 1) magnitude = kMax + 1;  // saturate, and keep the product in range
  }
  std::int64_t number = negative ? -magnitude : magnitude;
  if (number > kMax) return static_cast<std::int32_t>(kMax);
  if (number < kMin) return static_cast<std::int32_t>(kMin);
  return static_cast<std::int32_t>(number);
}

}  // namespace velmara
