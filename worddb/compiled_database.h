#pragma once
// The compiled word database: the lists' words and lookup tables, and the suggester's index, in
// one file ("palabras.vdb") that every program maps read-only and uses in place. Nothing is
// parsed or built at start, and processes share the file's pages through the page cache. The
// record files stay the source: the compiled file carries a stamp of them (the size and a
// checksum of the content of each) and is used only while it matches them. A folder may also
// hold the compiled file alone, as the installed package does: it is then its own source, and
// only its checksums say whether it can be trusted.
//
// Layout, in the byte order of the machine that wrote it (a reader of the other order refuses
// the file):
//   header        magic "VELMARA" 0x1A, format version, byte-order marker 0x01020304, file size,
//                 the stamp of the four source files, the false-positive line count, the number
//                 of sections and a checksum of the header and the section table
//   section table id, offset, size and checksum of every section
//   sections      one per word list (kDictionarySection ...), the suggester's index; each starts
//                 at a multiple of 64 bytes
// A list section starts with a StoredListHeader; its tables follow at the offsets it gives.
//
// Damage is looked for at every open: the magic, order, version, size and header checksum
// always, the sections' checksums and the sources' content whenever the file or a source was
// changed since they were last found sound (a note of each verified file, by inode, size and
// change time, is kept in the user's cache folder, so an unchanged database opens at once).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "worddb/word_database.h"

namespace velmara {

inline constexpr const char* kCompiledDatabaseFile = "palabras.vdb";
// The note of compiled databases found sound, in the cache folder.
inline constexpr const char* kVerifiedDatabasesFile = "palabrasbd-verificadas.txt";

inline constexpr std::uint32_t kCompiledFormatVersion = 1;
inline constexpr std::uint32_t kDictionarySection = 1;
inline constexpr std::uint32_t kVerbSection = 2;
inline constexpr std::uint32_t kProperNameSection = 3;
inline constexpr std::uint32_t kFalsePositiveSection = 4;
inline constexpr std::uint32_t kSuggesterSection = 16;

// Size and content checksum of the sources, in the order of kSourceFiles.
inline constexpr const char* kSourceFiles[4] = {kDictionaryFile, kVerbFile, kProperNameFile, kFalsePositiveFile};
struct SourceStamp {
  std::uint64_t size[4] = {};
  std::uint64_t sum[4] = {};
};

// The files each list of a compiled database is made from, in the order of kSourceFiles: a
// record file, and for another country also the file of its differences; a list made of several
// has the sum of their sizes and a checksum that chains theirs, so a change to any of them makes
// the compiled file stale.
struct SourceFiles {
  std::vector<std::filesystem::path> of[4];
  // No source at all: the compiled file stands alone (CompiledAlone), and there is nothing it
  // could be stale against.
  bool alone = false;
};
// The record files and "Falsos Positivos.txt" of a word database folder; `alone` when the folder
// holds its compiled file alone.
SourceFiles RecordSources(const std::filesystem::path& folder);

// True when the folder holds a compiled database and none of the three record files: the lists
// are read from the compiled file only, and "Falsos Positivos.txt", when there, still gives the
// false positives.
bool CompiledAlone(const std::filesystem::path& folder);

// The stamp of the sources; false when one cannot be read, and for a compiled file alone. `pump`,
// when given, is called for every megabyte read.
bool StampSources(const SourceFiles& sources, SourceStamp& stamp, const std::function<void()>& pump = {});
inline bool StampSources(const std::filesystem::path& folder, SourceStamp& stamp) {
  return StampSources(RecordSources(folder), stamp);
}

// Writes the compiled database of `database` (loaded from the sources stamped), with the
// suggester's index (opaque here; empty for none), to `file` a section at a time, through a
// temporary file beside it so a reader never maps half a file. Returns an empty text, or why it
// failed. `pump`, when given, is called between sections and every megabyte written.
std::string WriteCompiledDatabase(const std::filesystem::path& file, const WordDatabase& database,
                                  const SourceStamp& stamp, std::string_view suggesterIndex,
                                  const std::function<void()>& pump = {});

// Maps `file` and, when it is sound and matches its sources (or stands alone), points the lists
// of `database` into it and sets its false-positive count and suggester index. Returns an empty
// text then; otherwise why the file cannot be used ("absent" when there is none), and
// `database` is left as it was. `verifiedNote` (empty for none) is the note of verified files.
// `pump`, when given, is called for every megabyte the checks read.
std::string UseCompiledDatabase(const std::filesystem::path& file, const SourceFiles& sources,
                                const std::filesystem::path& verifiedNote, WordDatabase& database,
                                const std::function<void()>& pump = {});
inline std::string UseCompiledDatabase(const std::filesystem::path& file, const std::filesystem::path& sourceFolder,
                                       const std::filesystem::path& verifiedNote, WordDatabase& database) {
  return UseCompiledDatabase(file, RecordSources(sourceFolder), verifiedNote, database);
}

// True when the record files of the folder are large enough (10,000 words or more) for a compiled
// copy in the cache folder to pay; below that they load in a few milliseconds.
bool WorthCaching(const std::filesystem::path& databaseFolder);

// The name of the compiled copy, in a cache folder, of the database folder's lists (`variant`
// empty) or of another country's (`variant` its folder of differences).
std::string CachedDatabaseName(const std::filesystem::path& databaseFolder, const std::filesystem::path& variant = {});

// A database whose lists `load` reads from `sources` (false when one was damaged), kept compiled
// in `cached`: read in place from there while the file is sound and matches the sources (the
// verified note as for UseCompiledDatabase); otherwise loaded and, when sound, compiled into
// `cached` with the suggester's index `buildIndex` gives, and read from there. A failure to
// write only means the sources are read again next time. `cached` empty: `load` alone. `pump` is
// called every few milliseconds while the index is built and the copy written.
bool LoadCachedDatabase(const std::filesystem::path& cached, const SourceFiles& sources,
                        const std::filesystem::path& verifiedNote, WordDatabase& database,
                        const StoredIndexBuilder& buildIndex, const std::function<bool()>& load,
                        const std::function<void()>& pump);

}  // namespace velmara
