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
#include "cli/stream_io.h"
#include "cli/word_list_source.h"
#include "tools/replace_file.h"
#include "worddb/word_database.h"
#include "worddb/word_record.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitIoError = 1;
constexpr int kExitRefused = 2;

constexpr const char* kUsage =
    "Usage: velmara-mkdb --out DIR [--dictionary FILE] [--verbs FILE] [--proper-names FILE]\n"
    "Writes diccionario.log, verbos.log and npropios.log into DIR (created if needed), one for\n"
    "each list given. Inputs are UTF-8 text, one word a line (CR LF or LF); blank lines are\n"
    "skipped. A word longer than 40 characters or with a character Windows-1252 lacks is refused\n"
    "and nothing is written.\n"
    "Exit status: 0 written, 1 a file could not be read or written, 2 bad arguments or words.\n";

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

int Run(int argc, char** argv) {
  std::optional<fs::path> outFolder;
  std::vector<ListJob> jobs;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::cout << kUsage;
      return 0;
    }
    const char* outputName = nullptr;
    if (argument == "--dictionary")
      outputName = velmara::kDictionaryFile;
    else if (argument == "--verbs")
      outputName = velmara::kVerbFile;
    else if (argument == "--proper-names")
      outputName = velmara::kProperNameFile;
    else if (argument != "--out") {
      std::cerr << "velmara-mkdb: unknown argument '" << argument << "'\n" << kUsage;
      return kExitRefused;
    }
    if (i + 1 >= argc) {
      std::cerr << "velmara-mkdb: " << argument << " needs a value\n" << kUsage;
      return kExitRefused;
    }
    std::string value = argv[++i];
    if (!outputName) {
      outFolder = value;
      continue;
    }
    for (const auto& job : jobs) {
      if (job.outputName == outputName) {
        std::cerr << "velmara-mkdb: " << argument << " given twice\n";
        return kExitRefused;
      }
    }
    jobs.push_back({value, outputName, {}, 0});
  }
  if (!outFolder) {
    std::cerr << "velmara-mkdb: --out is required\n" << kUsage;
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
