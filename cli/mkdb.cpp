// velmara-mkdb: builds the word-list files of a word database from plain UTF-8 word lists.
// Every input is checked before anything is written, and each output goes through a temporary
// file, so a refused word never leaves a half-built database behind.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "checker/characters.h"
#include "checker/encoding.h"
#include "cli/command_line.h"
#include "cli/stream_io.h"
#include "cli/word_list_source.h"
#include "suggest/suggester.h"
#include "tools/replace_file.h"
#include "worddb/compiled_database.h"
#include "worddb/word_database.h"
#include "worddb/word_record.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitIoError = 1;
constexpr int kExitRefused = 2;

struct ListJob {
  std::string input;         // as given on the command line, for messages
  const char* outputName;    // file name inside the output folder
  std::string records;       // the encoded file
  std::size_t wordCount = 0;
};

// The whole file, or no value after a message naming it and what went wrong.
std::optional<std::string> ReadFile(const std::string& name) {
  std::error_code error;
  if (!fs::is_regular_file(name, error)) {
    std::cerr << "velmara-mkdb: cannot read " << name << '\n';
    return std::nullopt;
  }
  try {
    velmara::cli::InputFile in(name, false);
    return in.ReadAll();
  } catch (const velmara::cli::StreamError& failure) {
    std::cerr << "velmara-mkdb: " << failure.what() << '\n';
    return std::nullopt;
  }
}

// Writes `bytes` to a new file beside `final` under a name nobody can guess, made with O_EXCL and
// never through a link a local user may have planted; `temporary` names it (empty when none was
// made).
bool WriteTemporary(const fs::path& final, const std::string& bytes, fs::path& temporary, std::error_code& error) {
  const int descriptor = velmara::CreateTemporaryBeside(final, 0644, temporary, error);
  if (descriptor < 0) {
    temporary.clear();
    return false;
  }
  bool written = velmara::WriteAll(descriptor, bytes, error);
  if (::close(descriptor) != 0 && written) {
    error = std::error_code(errno, std::generic_category());
    written = false;
  }
  return written;
}

// Logs the loader's complaints about a record file.
class CompileHooks : public velmara::LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override {
    std::string line;
    for (char c : velmara::Windows1252ToUtf8(text)) line += c == '\r' || c == '\n' ? ' ' : c;
    std::cerr << "velmara-mkdb: " << line << '\n';
  }
};

int Compile(const fs::path& folder) {
  if (!velmara::CheckWordDatabasePresent(folder)) {
    std::cerr << "velmara-mkdb: no word database (record files and 'Falsos Positivos.txt') in " << folder.string()
              << '\n';
    return kExitIoError;
  }
  if (velmara::CompiledAlone(folder)) {
    std::cerr << "velmara-mkdb: " << folder.string()
              << " holds only a compiled database; it is compiled from the record files, which are not there\n";
    return kExitIoError;
  }
  velmara::SourceStamp stamp;
  if (!velmara::StampSources(folder, stamp)) {
    std::cerr << "velmara-mkdb: cannot read the record files of " << folder.string() << '\n';
    return kExitIoError;
  }
  velmara::WordDatabase database;
  CompileHooks hooks;
  if (!velmara::LoadRecordFiles(folder, database, hooks)) return kExitRefused;
  const std::string suggesterIndex = velmara::Suggester(database).StoredIndex();
  const fs::path file = folder / velmara::kCompiledDatabaseFile;
  if (const std::string failure = velmara::WriteCompiledDatabase(file, database, stamp, suggesterIndex);
      !failure.empty()) {
    std::cerr << "velmara-mkdb: " << failure << '\n';
    return kExitIoError;
  }
  std::error_code error;
  std::cout << velmara::kCompiledDatabaseFile << ": " << fs::file_size(file, error) << " bytes\n";
  std::cout.flush();
  return std::cout ? 0 : kExitIoError;
}

int Run(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--compile") return Compile(argv[2]);
  std::optional<fs::path> outFolder;
  std::vector<ListJob> jobs;
  velmara::cli::CommandLine line(
      "velmara-mkdb",
      "velmara-mkdb --out DIR [--dictionary FILE] [--verbs FILE] [--proper-names FILE]\n"
      "       velmara-mkdb --compile DIR",
      "Writes diccionario.log, verbos.log and npropios.log into DIR (created if needed), one for\n"
      "each list given. Inputs are UTF-8 text, one word a line (CR LF or LF); blank lines are\n"
      "skipped. A word longer than 40 characters or with a character Windows-1252 lacks is refused\n"
      "and nothing is written.\n"
      "--compile writes DIR/palabras.vdb, the compiled database every program maps at start, from\n"
      "the record files and 'Falsos Positivos.txt' of DIR; run it again after changing them (until\n"
      "then the programs read the record files).\n"
      "Exit status: 0 written, 1 a file could not be read or written, 2 bad arguments or words.");
  line.Value("out", 0, "DIR", "the word database folder to write", [&](const std::string& value) {
    outFolder = value;
    return true;
  });
  const auto list = [&](const char* option, const char* outputName) {
    return [&jobs, option, outputName](const std::string& value) {
      for (const auto& job : jobs) {
        if (job.outputName == outputName) {
          std::cerr << "velmara-mkdb: --" << option << " given twice\n";
          return false;
        }
      }
      jobs.push_back({value, outputName, {}, 0});
      return true;
    };
  };
  line.Value("dictionary", 0, "FILE", "the dictionary's words", list("dictionary", velmara::kDictionaryFile));
  line.Value("verbs", 0, "FILE", "the verb forms", list("verbs", velmara::kVerbFile));
  line.Value("proper-names", 0, "FILE", "the proper names", list("proper-names", velmara::kProperNameFile));
  std::vector<std::string> operands;
  if (std::optional<int> status = line.Parse(argc, argv, operands)) return *status;
  if (!operands.empty()) {
    std::cerr << "velmara-mkdb: unexpected argument '" << operands.front() << "'\nTry 'velmara-mkdb --help' for more information.\n";
    return kExitRefused;
  }
  if (!outFolder) {
    std::cerr << "velmara-mkdb: --out is required\nTry 'velmara-mkdb --help' for more information.\n";
    return kExitRefused;
  }

  bool accepted = true;
  for (auto& job : jobs) {
    auto text = ReadFile(job.input);
    if (!text) return kExitIoError;
    accepted = velmara::cli::EncodeWordList(*text, job.input, job.records, job.wordCount, std::cerr) && accepted;
  }
  if (!accepted) return kExitRefused;

  std::error_code error;
  fs::create_directories(*outFolder, error);
  if (error) {
    std::cerr << "velmara-mkdb: cannot create " << outFolder->string() << ": " << error.message() << '\n';
    return kExitIoError;
  }
  std::vector<fs::path> temporaries;
  auto removeTemporaries = [&temporaries] {
    std::error_code ignored;
    for (const auto& path : temporaries) fs::remove(path, ignored);
  };
  for (const auto& job : jobs) {
    fs::path temporary;
    const bool written = WriteTemporary(*outFolder / job.outputName, job.records, temporary, error);
    if (!temporary.empty()) temporaries.push_back(temporary);
    if (!written) {
      std::cerr << "velmara-mkdb: cannot write in " << outFolder->string() << ": " << error.message() << '\n';
      removeTemporaries();
      return kExitIoError;
    }
  }
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    fs::rename(temporaries[i], *outFolder / jobs[i].outputName, error);
    if (error) {
      std::cerr << "velmara-mkdb: cannot write " << (*outFolder / jobs[i].outputName).string() << ": "
                << error.message() << '\n';
      removeTemporaries();
      return kExitIoError;
    }
  }
  for (const auto& job : jobs) std::cout << job.outputName << ": " << job.wordCount << " words\n";
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "velmara-mkdb: cannot write standard output\n";
    return kExitIoError;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  velmara::cli::ReopenClosedStandardStreams();
  int status = kExitIoError;
  try {
    status = Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "velmara-mkdb: out of memory\n";
  } catch (const std::exception& failure) {
    std::cerr << "velmara-mkdb: " << failure.what() << '\n';
  }
  // A message nobody could read is an error of its own.
  std::cerr.flush();
  return std::cerr || status != 0 ? status : kExitIoError;
}
