#include "worddb/compiled_database.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>
#include <vector>

#include "worddb/stored_hash.h"

namespace velmara {
namespace {

constexpr char kMagic[8] = {'V', 'E', 'L', 'M', 'A', 'R', 'A', '\x1A'};
constexpr std::uint32_t kByteOrderMarker = 0x01020304;
constexpr std::size_t kSectionAlignment = 64;
constexpr std::size_t kMaxSections = 64;

struct FileHeader {
  char magic[8];
  std::uint32_t version;
  std::uint32_t byteOrder;
  std::uint64_t fileSize;
  std::uint64_t sourceSize[4];
  std::uint64_t sourceSum[4];
  std::int64_t falsePositiveCount;
  std::uint32_t sectionCount;
  std::uint32_t reserved;
  std::uint64_t headerSum;  // of the header with this field 0, then the section table
};

struct SectionEntry {
  std::uint32_t id;
  std::uint32_t reserved;
  std::uint64_t offset;
  std::uint64_t size;
  std::uint64_t sum;
};

// Offsets relative to the start of the list's section.
struct StoredListHeader {
  std::uint64_t count;
  std::uint64_t textBytes;
  std::uint64_t slotCount;
  std::uint64_t longestProbe;
  std::uint64_t filterWords;
  std::uint64_t offsetsAt;
  std::uint64_t textsAt;
  std::uint64_t slotsAt;
  std::uint64_t filterAt;
};

constexpr std::uint32_t kListSections[4] = {kDictionarySection, kVerbSection, kProperNameSection,
                                            kFalsePositiveSection};

std::uint64_t HeaderSum(FileHeader header, const SectionEntry* table, std::size_t count) {
  header.headerSum = 0;
  const std::uint64_t sum = ChecksumBytes(&header, sizeof header);
  return ChecksumBytes(table, count * sizeof(SectionEntry), sum);
}

// Writes a section to the file as its bytes come, a piece of kChecksumPiece bytes at a time,
// summing the pieces as ChecksumPieces sums the section's bytes and calling the pump after each:
// a section is never held whole in memory, and a long one keeps the loading animation going.
class SectionWriter {
 public:
  SectionWriter(std::ofstream& out, const std::function<void()>& pump) : out_(out), pump_(pump) {
    piece_.reserve(kChecksumPiece);
  }
  std::uint64_t Size() const { return written_ + piece_.size(); }
  void Append(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const std::size_t room = std::min(size, kChecksumPiece - piece_.size());
      piece_.append(bytes, room);
      bytes += room;
      size -= room;
      if (piece_.size() == kChecksumPiece) Flush();
    }
  }
  // Zeros up to `offset` from the section's start.
  void PadTo(std::uint64_t offset) {
    static constexpr char kZeros[8] = {};
    while (Size() < offset) Append(kZeros, static_cast<std::size_t>(std::min<std::uint64_t>(8, offset - Size())));
  }
  // Writes what is left. False when the file could not be written.
  bool Finish() {
    if (!piece_.empty()) Flush();
    return static_cast<bool>(out_);
  }
  std::uint64_t Sum() const { return sum_; }

 private:
  void Flush() {
    sum_ = ChecksumBytes(piece_.data(), piece_.size(), sum_);
    out_.write(piece_.data(), static_cast<std::streamsize>(piece_.size()));
    written_ += piece_.size();
    piece_.clear();
    if (pump_) pump_();
  }

  std::ofstream& out_;
  const std::function<void()>& pump_;
  std::string piece_;
  std::uint64_t written_ = 0;
  std::uint64_t sum_ = 0;
};

void WriteListSection(const WordList& list, SectionWriter& section, const std::function<void()>& pump) {
  const StoredListTables tables = BuildStoredTables(list, pump);
  auto aligned = [](std::uint64_t bytes) { return (bytes + 7) / 8 * 8; };
  StoredListHeader header{};
  header.count = list.Count();
  header.textBytes = tables.texts.size();
  header.slotCount = tables.indexSlots.size();
  header.longestProbe = tables.longestProbe;
  header.filterWords = tables.filter.size();
  header.offsetsAt = aligned(sizeof header);
  header.textsAt = aligned(header.offsetsAt + tables.offsets.size() * sizeof(std::uint32_t));
  header.slotsAt = aligned(header.textsAt + tables.texts.size());
  header.filterAt = aligned(header.slotsAt + tables.indexSlots.size() * sizeof(std::uint64_t));
  section.Append(&header, sizeof header);
  section.PadTo(header.offsetsAt);
  section.Append(tables.offsets.data(), tables.offsets.size() * sizeof(std::uint32_t));
  section.PadTo(header.textsAt);
  section.Append(tables.texts.data(), tables.texts.size());
  section.PadTo(header.slotsAt);
  section.Append(tables.indexSlots.data(), tables.indexSlots.size() * sizeof(std::uint64_t));
  section.PadTo(header.filterAt);
  section.Append(tables.filter.data(), tables.filter.size() * sizeof(std::uint64_t));
}

// A read-only mapping of a whole file, unmapped with its last user.
struct Mapping {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  ~Mapping() {
    if (data != nullptr) munmap(const_cast<unsigned char*>(data), size);
  }
};

struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0, modified = 0, changed = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::uint64_t Nanoseconds(const timespec& time) {
  return static_cast<std::uint64_t>(time.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(time.tv_nsec);
}

FileIdentity IdentityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
          static_cast<std::uint64_t>(status.st_size), Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim)};
}

bool IdentityOfPath(const std::filesystem::path& path, FileIdentity& identity) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  identity = IdentityOf(status);
  return true;
}

// The line of the verified note for the database and its sources as they are now.
std::string VerifiedLine(const std::filesystem::path& file, const FileIdentity& compiled,
                         const std::vector<FileIdentity>& sources) {
  std::ostringstream line;
  auto put = [&line](const FileIdentity& id) {
    line << ' ' << id.device << ':' << id.inode << ':' << id.size << ':' << id.modified << ':' << id.changed;
  };
  line << std::filesystem::absolute(file).lexically_normal().string();
  put(compiled);
  for (const FileIdentity& source : sources) put(source);
  return line.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Records the line, replacing an older one for the same file; failures only cost a later check.
void NoteVerified(const std::filesystem::path& note, const std::string& line) {
  const std::string name = line.substr(0, line.find(' ') + 1);
  std::vector<std::string> lines = ReadLines(note);
  std::erase_if(lines, [&name](const std::string& old) { return old.rfind(name, 0) == 0; });
  lines.push_back(line);
  if (lines.size() > 32) lines.erase(lines.begin(), lines.end() - 32);
  std::error_code error;
  std::filesystem::create_directories(note.parent_path(), error);
  const std::filesystem::path temporary = note.string() + "." + std::to_string(::getpid()) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    for (const std::string& kept : lines) out << kept << '\n';
    if (!out) {
      std::filesystem::remove(temporary, error);
      return;
    }
  }
  std::filesystem::rename(temporary, note, error);
  if (error) std::filesystem::remove(temporary, error);
}

// The checksum of `size` bytes of the open file from `offset`, read through a small buffer so
// the pages summed do not become this process's memory.
bool SumOfFileRange(int fd, std::uint64_t offset, std::uint64_t size, std::uint64_t& sum,
                    const std::function<void()>& pump) {
  std::vector<unsigned char> buffer(kChecksumPiece);
  sum = 0;
  while (size > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, kChecksumPiece));
    std::size_t got = 0;
    while (got < want) {
      const ssize_t n = ::pread(fd, buffer.data() + got, want - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    sum = ChecksumBytes(buffer.data(), want, sum);
    offset += want;
    size -= want;
    if (pump) pump();
  }
  return true;
}

bool StampOf(const std::filesystem::path& path, std::uint64_t& size, std::uint64_t& sum,
             const std::function<void()>& pump) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  const bool sound = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                     SumOfFileRange(fd, 0, static_cast<std::uint64_t>(status.st_size), sum, pump);
  size = static_cast<std::uint64_t>(status.st_size);
  ::close(fd);
  return sound;
}

// The checksum of a list made of several files: each file's size and sum chained onto the sum of
// those before it, so the same bytes split otherwise, or in another order, sum otherwise.
std::uint64_t ChainedSum(std::uint64_t before, std::uint64_t size, std::uint64_t sum) {
  const std::uint64_t piece[2] = {size, sum};
  return ChecksumBytes(piece, sizeof piece, before);
}

// Checks a list section and gives its view; false when it does not hold together.
bool ListView(const unsigned char* section, std::uint64_t sectionSize, StoredListView& view) {
  if (sectionSize < sizeof(StoredListHeader)) return false;
  StoredListHeader h;
  std::memcpy(&h, section, sizeof h);
  auto fits = [sectionSize](std::uint64_t at, std::uint64_t count, std::uint64_t unit) {
    return at % 8 == 0 && at <= sectionSize && count <= (sectionSize - at) / unit;
  };
  if (h.count >= 0xFFFFFFFFull || h.textBytes >= 0xFFFFFFFFull || !std::has_single_bit(h.slotCount) ||
      !std::has_single_bit(h.filterWords) || h.slotCount <= h.count || h.longestProbe > h.slotCount ||
      !fits(h.offsetsAt, h.count + 1, 4) || !fits(h.textsAt, h.textBytes, 1) || !fits(h.slotsAt, h.slotCount, 8) ||
      !fits(h.filterAt, h.filterWords, 8))
    return false;
  view.count = static_cast<std::size_t>(h.count);
  view.offsets = reinterpret_cast<const std::uint32_t*>(section + h.offsetsAt);
  view.texts = reinterpret_cast<const char*>(section + h.textsAt);
  view.textBytes = static_cast<std::size_t>(h.textBytes);
  view.indexSlots = reinterpret_cast<const std::uint64_t*>(section + h.slotsAt);
  view.slotMask = h.slotCount - 1;
  view.longestProbe = static_cast<std::size_t>(h.longestProbe);
  view.filter = reinterpret_cast<const std::uint64_t*>(section + h.filterAt);
  view.filterMask = h.filterWords - 1;
  return view.offsets[0] == 0 && view.offsets[view.count] == h.textBytes;
}

}  // namespace

SourceFiles RecordSources(const std::filesystem::path& folder) {
  SourceFiles sources;
  for (std::size_t i = 0; i < 4; ++i) sources.of[i] = {folder / kSourceFiles[i]};
  sources.alone = CompiledAlone(folder);
  return sources;
}

bool CompiledAlone(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(folder / kCompiledDatabaseFile, error)) return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (std::filesystem::exists(folder / kSourceFiles[i], error) || error) return false;
  return true;
}

bool StampSources(const SourceFiles& sources, SourceStamp& stamp, const std::function<void()>& pump) {
  if (sources.alone) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (sources.of[i].empty()) return false;
    for (std::size_t f = 0; f < sources.of[i].size(); ++f) {
      std::uint64_t size = 0, sum = 0;
      if (!StampOf(sources.of[i][f], size, sum, pump)) return false;
      stamp.size[i] = f == 0 ? size : stamp.size[i] + size;
      stamp.sum[i] = f == 0 ? sum : ChainedSum(stamp.sum[i], size, sum);
    }
  }
  return true;
}

namespace {

// Writes the compiled database of `database` to `out` a section at a time: each list's section is
// made, written and let go before the next, and the header and section table, which hold the
// sections' checksums, are written last over the room left for them at the start.
bool LayOut(const WordDatabase& database, const SourceStamp& stamp, std::string_view suggesterIndex,
            std::ofstream& out, const std::function<void()>& pump) {
  const WordList* lists[4] = {&database.dictionary, &database.verbs, &database.properNames,
                              &database.falsePositives.entries};
  FileHeader header{};
  std::memcpy(header.magic, kMagic, sizeof kMagic);
  header.version = kCompiledFormatVersion;
  header.byteOrder = kByteOrderMarker;
  for (std::size_t i = 0; i < 4; ++i) {
    header.sourceSize[i] = stamp.size[i];
    header.sourceSum[i] = stamp.sum[i];
  }
  header.falsePositiveCount = database.falsePositives.count;
  header.sectionCount = suggesterIndex.empty() ? 4 : 5;
  std::vector<SectionEntry> table(header.sectionCount);
  std::uint64_t at = 0;
  auto write = [&out, &at](std::string_view bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    at += bytes.size();
    return static_cast<bool>(out);
  };
  // Each section starts aligned and is written as its bytes are made (SectionWriter).
  auto put = [&](std::size_t i, std::uint32_t id, const std::function<void(SectionWriter&)>& make) {
    const std::uint64_t offset = (at + kSectionAlignment - 1) / kSectionAlignment * kSectionAlignment;
    if (!write(std::string(offset - at, '\0'))) return false;
    SectionWriter section(out, pump);
    make(section);
    if (!section.Finish()) return false;
    at += section.Size();
    table[i] = {id, 0, offset, section.Size(), section.Sum()};
    return true;
  };
  if (!write(std::string(sizeof header + table.size() * sizeof(SectionEntry), '\0'))) return false;
  for (std::size_t i = 0; i < 4; ++i)
    if (!put(i, kListSections[i], [&](SectionWriter& section) { WriteListSection(*lists[i], section, pump); }))
      return false;
  // Never copied: the index is most of the file, and a program compiling a country's lists at
  // its first start holds them in memory meanwhile.
  if (!suggesterIndex.empty() &&
      !put(4, kSuggesterSection,
           [&](SectionWriter& section) { section.Append(suggesterIndex.data(), suggesterIndex.size()); }))
    return false;
  header.fileSize = at;
  header.headerSum = HeaderSum(header, table.data(), table.size());
  out.seekp(0);
  return write(std::string_view(reinterpret_cast<const char*>(&header), sizeof header)) &&
         write(std::string_view(reinterpret_cast<const char*>(table.data()), table.size() * sizeof(SectionEntry)));
}

}  // namespace

std::string WriteCompiledDatabase(const std::filesystem::path& file, const WordDatabase& database,
                                  const SourceStamp& stamp, std::string_view suggesterIndex,
                                  const std::function<void()>& pump) {
  // Appended piece by piece: GCC 12 takes "." + a string for an overlapping copy (-Wrestrict).
  std::string name(".");
  name += file.filename().string();
  name += '.';
  name += std::to_string(::getpid());
  name += ".tmp";
  const std::filesystem::path temporary = file.parent_path() / name;
  std::error_code error;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    const bool written = out && LayOut(database, stamp, suggesterIndex, out, pump);
    out.close();
    if (!written || !out) {
      std::filesystem::remove(temporary, error);
      return "cannot write " + temporary.string();
    }
  }
  std::filesystem::rename(temporary, file, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return "cannot write " + file.string() + ": " + error.message();
  }
  return {};
}

std::string UseCompiledDatabase(const std::filesystem::path& file, const SourceFiles& sourceFiles,
                                const std::filesystem::path& verifiedNote, WordDatabase& database,
                                const std::function<void()>& pump) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? "absent" : std::string("cannot be opened: ") + std::strerror(errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return "is not a regular file";
  const std::uint64_t fileSize = static_cast<std::uint64_t>(status.st_size);
  if (fileSize < sizeof(FileHeader)) return "is truncated";

  auto mapping = std::make_shared<Mapping>();
  void* data = ::mmap(nullptr, static_cast<std::size_t>(fileSize), PROT_READ, MAP_SHARED, fd, 0);
  if (data == MAP_FAILED) return std::string("cannot be mapped: ") + std::strerror(errno);
  mapping->data = static_cast<const unsigned char*>(data);
  mapping->size = static_cast<std::size_t>(fileSize);
  // Lookups read a few bytes here and there: no read-ahead of pages nobody asked for.
  ::madvise(data, mapping->size, MADV_RANDOM);

  FileHeader header;
  std::memcpy(&header, mapping->data, sizeof header);
  if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) return "is not a compiled word database";
  if (header.byteOrder != kByteOrderMarker)
    return header.byteOrder == __builtin_bswap32(kByteOrderMarker) ? "was written on a machine of the other byte order"
                                                               : "is damaged (byte-order marker)";
  if (header.version != kCompiledFormatVersion)
    return "has format version " + std::to_string(header.version) + ", this program reads " +
           std::to_string(kCompiledFormatVersion);
  if (header.fileSize != fileSize) return header.fileSize > fileSize ? "is truncated" : "is damaged (size)";
  if (header.sectionCount > kMaxSections || sizeof header + header.sectionCount * sizeof(SectionEntry) > fileSize)
    return "is damaged (section table)";
  std::vector<SectionEntry> table(header.sectionCount);
  std::memcpy(table.data(), mapping->data + sizeof header, table.size() * sizeof(SectionEntry));
  if (HeaderSum(header, table.data(), table.size()) != header.headerSum) return "is damaged (header checksum)";
  for (const SectionEntry& entry : table)
    if (entry.offset % kSectionAlignment != 0 || entry.offset > fileSize || entry.size > fileSize - entry.offset)
      return "is damaged (section table)";

  // Unchanged since a check found it and its sources sound: no need to read them again.
  std::vector<FileIdentity> sources;
  bool identified = true;
  for (std::size_t i = 0; i < 4 && !sourceFiles.alone; ++i) {
    std::uint64_t size = 0;
    for (const std::filesystem::path& source : sourceFiles.of[i]) {
      FileIdentity identity;
      identified = IdentityOfPath(source, identity) && identified;
      sources.push_back(identity);
      size += identity.size;
    }
    identified = identified && !sourceFiles.of[i].empty() && size == header.sourceSize[i];
  }
  if (!identified) return "does not match the record files beside it";
  const std::string line = VerifiedLine(file, IdentityOf(status), sources);
  bool verified = false;
  if (!verifiedNote.empty())
    for (const std::string& old : ReadLines(verifiedNote)) verified = verified || old == line;
  if (!verified) {
    for (const SectionEntry& entry : table) {
      std::uint64_t sum = 0;
      if (!SumOfFileRange(fd, entry.offset, entry.size, sum, pump)) return "cannot be read";
      if (sum != entry.sum) return "is damaged (section " + std::to_string(entry.id) + " checksum)";
    }
    // The pages just read one after another are cached in large runs, and a process that maps
    // the file later takes in a whole run for every word it looks up, which makes it look many
    // times its size. They are let go, so lookups bring in only the pages they touch.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    SourceStamp now;
    if (!sourceFiles.alone && !StampSources(sourceFiles, now, pump))
      return "does not match the record files beside it (unreadable)";
    for (std::size_t i = 0; i < 4 && !sourceFiles.alone; ++i)
      if (now.size[i] != header.sourceSize[i] || now.sum[i] != header.sourceSum[i])
        return "does not match the record files beside it";
  }

  StoredListView views[4];
  std::string_view suggester;
  bool found[4] = {};
  for (const SectionEntry& entry : table) {
    const unsigned char* section = mapping->data + entry.offset;
    for (std::size_t i = 0; i < 4; ++i) {
      if (entry.id != kListSections[i]) continue;
      if (!ListView(section, entry.size, views[i])) return "is damaged (list " + std::to_string(entry.id) + ")";
      found[i] = true;
    }
    if (entry.id == kSuggesterSection)
      suggester = std::string_view(reinterpret_cast<const char*>(section), static_cast<std::size_t>(entry.size));
  }
  if (!std::all_of(std::begin(found), std::end(found), [](bool f) { return f; })) return "lacks a word list";
  if (views[3].count != FalsePositiveList::kCapacity || header.falsePositiveCount < 0 ||
      header.falsePositiveCount > INT32_MAX)
    return "is damaged (false-positive list)";

  // A file changed within the last seconds could change again without its change time moving
  // (the clock of file times is coarse): such a file is checked again next time.
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const std::uint64_t settled = Nanoseconds(now) - 2000000000ull;
  bool racy = IdentityOf(status).changed > settled;
  for (const FileIdentity& source : sources) racy = racy || source.changed > settled;
  if (!verified && !racy && !verifiedNote.empty()) NoteVerified(verifiedNote, line);
  std::shared_ptr<const void> owner = mapping;
  database.dictionary.UseStored(views[0], owner);
  database.verbs.UseStored(views[1], owner);
  database.properNames.UseStored(views[2], owner);
  database.falsePositives.entries.UseStored(views[3], owner);
  database.falsePositives.count = static_cast<std::int32_t>(header.falsePositiveCount);
  database.suggesterIndex = suggester;
  database.storage = owner;
  return {};
}

std::string CachedDatabaseName(const std::filesystem::path& databaseFolder, const std::filesystem::path& variant) {
  auto absolute = [](const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(folder, error).lexically_normal();
    if (path.has_filename() == false) path = path.parent_path();
    return path.string();
  };
  char name[64];
  std::snprintf(name, sizeof name, "palabrasbd-%016llx", static_cast<unsigned long long>(StoredHash(absolute(databaseFolder))));
  std::string file = name;
  if (!variant.empty()) {
    // The country's code keeps the name readable; the hash of its folder keeps it apart from
    // a folder of the same name elsewhere.
    std::snprintf(name, sizeof name, "-%.16s-%08llx", std::filesystem::path(absolute(variant)).filename().c_str(),
                  static_cast<unsigned long long>(StoredHash(absolute(variant)) & 0xFFFFFFFFull));
    file += name;
  }
  return file + ".vdb";
}

bool LoadCachedDatabase(const std::filesystem::path& cached, const SourceFiles& sources,
                        const std::filesystem::path& verifiedNote, WordDatabase& database,
                        const StoredIndexBuilder& buildIndex, const std::function<bool()>& load,
                        const std::function<void()>& pump) {
  if (cached.empty()) return load();
  // A copy written without the suggester's index (by a program that made none) is made again
  // when one can be made, so suggestions never wait for an index build at every start.
  if (UseCompiledDatabase(cached, sources, verifiedNote, database, pump).empty() &&
      (!buildIndex || !database.suggesterIndex.empty()))
    return true;
  // Stamped before reading, so a change while the lists load makes the cached file stale.
  SourceStamp stamp;
  const bool stamped = StampSources(sources, stamp, pump);
  if (!load()) return false;
  if (!stamped) return true;
  std::error_code ignored;
  std::filesystem::create_directories(cached.parent_path(), ignored);
  // Written a section at a time, so the file is never held whole in memory beside the lists.
  std::string index = buildIndex ? buildIndex(database, pump) : std::string();
  // Read from the file just written: the lists leave this process's memory for shared pages, and
  // the suggester finds its index made.
  if (WriteCompiledDatabase(cached, database, stamp, index, pump).empty()) {
    index = std::string();
    (void)UseCompiledDatabase(cached, sources, verifiedNote, database, pump);
  }
  return true;
}

}  // namespace velmara
