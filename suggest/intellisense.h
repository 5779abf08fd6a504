#pragma once
// The user's substitutions: "Intellisense.txt" in the word-database folder, one "key|replacement"
// line per entry. Nothing is kept in memory: every call reads the file afresh, so an entry added
// or edited by hand counts at once. A missing or unreadable file reads as an empty list.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmara {

// The text before the first "|" (the whole line without one).
std::string IntellisenseFirstField(std::string_view line);
// The text between the first and the second "|" (to the end without a second one; empty without any).
std::string IntellisenseSecondField(std::string_view line);

bool IntellisenseHasKey(const std::filesystem::path& file, std::string_view key);
// The last line whose first field is the key, or empty.
std::string IntellisenseFindLine(const std::filesystem::path& file, std::string_view key);
// Appends the line and CR LF, creating the file. False when the line could not be written.
bool IntellisenseAppend(const std::filesystem::path& file, std::string_view line);
// Number of non-empty lines.
int IntellisenseCountEntries(const std::filesystem::path& file);

// The lookups of a check: the same answers as IntellisenseHasKey and IntellisenseFindLine give for
// the file as it is at the moment of each lookup, but the file is read again only when it has
// changed (its size, modification and change times to the nanosecond, device or inode, checked
// with one stat at each lookup), and the entries are looked up in memory. A file changed in the
// last moments is read again at every lookup until it has stood still for a while, since a second
// edit within the file system's clock tick would leave its times as they were. Not shared between
// threads: each classifier holds its own. A copy shares the entries read so far (they are never
// changed, only replaced by a new reading), so a server keeps one list and hands each check a copy
// without reading the file again.
class IntellisenseList {
 public:
  explicit IntellisenseList(std::filesystem::path file) : file_(std::move(file)) {}

  // The last line whose first field is the key, or nullptr when none is (as IntellisenseHasKey
  // false). Valid until the next lookup.
  const std::string* FindLine(std::string_view key);
  // Reads the file again if it has changed since the last reading.
  void Refresh();

  // How many times the file has been read, for tests and figures.
  std::size_t Reads() const { return reads_; }

 private:
  struct Identity {
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const Identity& other) const;
  };
  struct KeyHash {
    std::size_t operator()(std::string_view text) const;
  };
  using Entries = std::unordered_map<std::string, std::string, KeyHash>;  // key -> last line with it

  std::filesystem::path file_;
  bool known_ = false;  // whether `identity_` and the entries describe a reading
  bool racy_ = false;   // read moments after a change: read again at the next lookup
  Identity identity_;
  std::size_t reads_ = 0;
  std::shared_ptr<const Entries> lastLines_ = std::make_shared<const Entries>();
};

}  // namespace velmara
