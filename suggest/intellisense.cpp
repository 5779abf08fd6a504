#include "suggest/intellisense.h"

#include <sys/stat.h>
#include <unistd.h>

#include <time.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "worddb/text_hash.h"

namespace velmara {
namespace {

constexpr char kFieldSeparator = '|';
constexpr char kEndOfFile = '\x1A';

// The whole file up to a character 26, or nothing when it is missing, a folder or unreadable.
std::string ReadListFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string data;
  std::vector<char> chunk(1 << 16);
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
    data.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return {};
  std::size_t end = data.find(kEndOfFile);
  if (end != std::string::npos) data.resize(end);
  return data;
}

// Calls `visit` with every line of the file, in order. A line ends at CR (with an LF right after
// it) or at a lone LF, so a file edited by hand with LF line ends is read line by line too. A last
// line without a line end counts.
template <typename Visit>
void ForEachLine(const std::filesystem::path& file, Visit visit) {
  const std::string data = ReadListFile(file);
  const std::string_view text(data);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    visit(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

// Only a regular file is scanned: a device or a pipe could answer for ever.
bool HasEndOfFileMark(std::FILE* file) {
  struct stat status {};
  if (::fstat(::fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  std::rewind(file);
  char chunk[1 << 14];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    if (std::memchr(chunk, kEndOfFile, count) != nullptr) return true;
  return false;
}

bool KeyMatches(std::string_view line, std::string_view key) {
  // Words are never empty, so neither an empty line nor "|x" ever stands for one.
  return !key.empty() && line.substr(0, line.find(kFieldSeparator)) == key;
}

}  // namespace

std::string IntellisenseFirstField(std::string_view line) {
  return std::string(line.substr(0, line.find(kFieldSeparator)));
}

std::string IntellisenseSecondField(std::string_view line) {
  std::size_t first = line.find(kFieldSeparator);
  if (first == std::string_view::npos) return {};
  std::string_view rest = line.substr(first + 1);
  return std::string(rest.substr(0, rest.find(kFieldSeparator)));
}

bool IntellisenseHasKey(const std::filesystem::path& file, std::string_view key) {
  bool found = false;
  ForEachLine(file, [&](std::string_view line) { found = found || KeyMatches(line, key); });
  return found;
}

std::string IntellisenseFindLine(const std::filesystem::path& file, std::string_view key) {
  std::string found;
  ForEachLine(file, [&](std::string_view line) {
    if (KeyMatches(line, key)) found.assign(line);
  });
  return found;
}

bool IntellisenseAppend(const std::filesystem::path& file, std::string_view line) {
  // A line break or an end-of-file character inside the entry would split it into other entries
  // or hide every later one.
  if (line.find_first_of(std::string_view("\r\n\x1A", 3)) != std::string_view::npos) return false;
  std::FILE* out = std::fopen(file.c_str(), "a+b");
  if (out == nullptr) return false;
  // Unbuffered, so a failed write leaves nothing behind to be written when the file is closed.
  std::setvbuf(out, nullptr, _IONBF, 0);
  if (HasEndOfFileMark(out)) {
    // Readers stop at that character: an entry written after it would never be found.
    std::fclose(out);
    return false;
  }
  std::string record;
  // A file edited by hand may lack its last line end; without one the entry would be glued to it.
  if (std::fseek(out, -1, SEEK_END) == 0) {
    int last = std::fgetc(out);
    if (last != EOF && last != '\r' && last != '\n') record = "\r\n";
  }
  std::fseek(out, 0, SEEK_END);  // a read must be followed by a seek before writing
  const long size = std::ftell(out);
  record.append(line);
  record.append("\r\n");
  bool written = std::fwrite(record.data(), 1, record.size(), out) == record.size();
  written = std::fflush(out) == 0 && written;
  // A disk that fills up midway leaves part of the entry, which would read as a line of its own.
  // Should that fail too, the failed write is still what the caller hears of.
  if (!written && size >= 0 && ::ftruncate(::fileno(out), size) != 0) written = false;
  written = std::fclose(out) == 0 && written;
  return written;
}

bool IntellisenseList::Identity::operator==(const Identity& other) const {
  return present == other.present && device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
         changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

std::size_t IntellisenseList::KeyHash::operator()(std::string_view text) const {
  return static_cast<std::size_t>(HashText(text));
}

const std::string* IntellisenseList::FindLine(std::string_view key) {
  Refresh();
  if (key.empty()) return nullptr;
  // A key of the file never holds a line break or "|": such a word is in no line.
  auto found = lastLines_->find(std::string(key));
  return found == lastLines_->end() ? nullptr : &found->second;
}

void IntellisenseList::Refresh() {
  // The clock before the look at the file: a change after it is after the reading too.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  Identity current;
  struct stat status {};
  if (::stat(file_.c_str(), &status) == 0) {
    current.present = true;
    current.device = status.st_dev;
    current.inode = status.st_ino;
    current.size = status.st_size;
    current.modified = status.st_mtim;
    current.changed = status.st_ctim;
  }
  if (known_ && !racy_ && current == identity_) return;

  auto entries = std::make_shared<Entries>();
  ForEachLine(file_, [&entries](std::string_view line) {
    if (line.empty()) return;
    std::string_view key = line.substr(0, line.find(kFieldSeparator));
    if (key.empty()) return;
    entries->insert_or_assign(std::string(key), std::string(line));
  });
  lastLines_ = std::move(entries);
  ++reads_;
  identity_ = current;
  known_ = true;
  // Times are kept at the file system's clock tick: a file written less than this long before the
  // reading may be written again without its modification time moving. (A write always sets it to
  // the clock, so a file whose time lies further back shows any later write.)
  constexpr std::int64_t kTickNanoseconds = 50'000'000;
  auto nanoseconds = [](const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
  racy_ = current.present && nanoseconds(now) - nanoseconds(current.modified) < kTickNanoseconds;
}

int IntellisenseCountEntries(const std::filesystem::path& file) {
  int count = 0;
  ForEachLine(file, [&](std::string_view line) {
    if (!line.empty()) ++count;
  });
  return count;
}

}  // namespace velmara
