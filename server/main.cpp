// velmara-server: the detector's checks over the LanguageTool HTTP API, for browser add-ins,
// office suites and editors on this machine.
//
//   velmara-server [--listen ADDR] [--port N] [--db DIR] [--intellisense|--no-intellisense]
//                  [--threads N] [--queue N] [--max-text N] [--connections N] [--per-address N]
//                  [--allow-origin ORIGIN]...
//
// It listens on 127.0.0.1:8081 unless told otherwise; an add-in is given http://127.0.0.1:8081/v2.
// SIGINT or SIGTERM stops it. Exit status: 0 stopped, 2 an error.

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>

#include "app/configuration.h"
#include "app/file_locations.h"
#include "checker/encoding.h"
#include "server/http_server.h"
#include "cli/terminal_start.h"
#include "suggest/suggester.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

const char* const kUsage =
    "usage: velmara-server [--listen ADDR] [--port N] [--db DIR] [--intellisense|--no-intellisense]\n"
    "                      [--threads N] [--queue N] [--max-text N] [--connections N] [--per-address N]\n"
    "                      [--allow-origin ORIGIN]...\n";

class TerminalHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { std::cerr << Windows1252ToUtf8(text) << '\n'; }
};

struct Options {
  server::ServerConfig config;
  std::optional<fs::path> database;
  std::optional<bool> intellisense;
};

bool Number(const std::string& text, long low, long high, long& out) {
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && out >= low && out <= high;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    long n = 0;
    auto numeric = [&](long low, long high, auto& field) {
      if (!hasValue || !Number(value, low, high, n)) {
        std::cerr << "velmara-server: " << arg << " takes a number from " << low << " to " << high << '\n';
        return false;
      }
      field = static_cast<std::remove_reference_t<decltype(field)>>(n);
      ++i;
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else if (arg == "--intellisense" || arg == "--no-intellisense") {
      options.intellisense = arg == "--intellisense";
    } else if (arg == "--allow-origin") {
      if (!hasValue) {
        std::cerr << "velmara-server: --allow-origin needs an origin (scheme://host[:port]) or *\n";
        return false;
      }
      options.config.allowedOrigins.push_back(value);
      ++i;
    } else if (arg == "--listen" || arg == "--db") {
      if (!hasValue) {
        std::cerr << "velmara-server: " << arg << " needs a value\n";
        return false;
      }
      if (arg == "--listen") options.config.host = value;
      else options.database = value;
      ++i;
    } else if (arg == "--port") {
      if (!numeric(0, 65535, options.config.port)) return false;
    } else if (arg == "--threads") {
      if (!numeric(1, 256, options.config.threads)) return false;
    } else if (arg == "--queue") {
      if (!numeric(0, 100000, options.config.queue)) return false;
    } else if (arg == "--connections") {
      if (!numeric(1, 100000, options.config.maxConnections)) return false;
    } else if (arg == "--per-address") {
      if (!numeric(1, 100000, options.config.maxPerAddress)) return false;
    } else if (arg == "--max-text") {
      if (!numeric(1, 1000000, options.config.maxTextLength)) return false;
    } else {
      std::cerr << "velmara-server: unknown option '" << arg << "'\n";
      return false;
    }
  }
  return true;
}


}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  // SIGINT and SIGTERM are waited for by one thread, so stopping never runs in a signal handler.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  // A body or an answer of a megabyte is given back to the system once it is done with, rather
  // than kept by the allocator after the largest request it has seen.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  // Every connection is a descriptor: room for as many as the server is allowed to hold.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, std::max<rlim_t>(files.rlim_cur, options.config.maxConnections + 64));
    setrlimit(RLIMIT_NOFILE, &files);
  }

  // The same files velmara-check reads: the user's folders for an installed program.
  const cli::TerminalStart start = cli::PrepareTerminalStart(argv[0], options.database, options.intellisense);
  const Settings& settings = start.settings;
  const fs::path& databaseFolder = start.databaseFolder;
  const fs::path& intellisenseFile = start.intellisenseFile;
  if (!CheckWordDatabasePresent(databaseFolder)) {
    std::cerr << "velmara-server: no word database in '" << databaseFolder.string() << "'\n";
    return 2;
  }
  WordDatabase database;
  TerminalHooks hooks;
  LoadWordDatabase(databaseFolder, database, hooks);
  LoadUserWords(start.userWordsFile, database);
  // Built before the first request, so no request waits for it.
  Suggester suggester(database);
  suggester.Prepare();
  server::CheckService service(database, suggester, settings, intellisenseFile);

  server::HttpServer http(service, options.config);
  const int port = http.Bind();
  if (port < 0) {
    std::cerr << "velmara-server: cannot listen on " << options.config.host << ':' << options.config.port << '\n';
    return 2;
  }
  std::cerr << "velmara-server: listening on http://" << options.config.host << ':' << port << "/v2\n";

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    http.Stop();
  });
  stopper.detach();
  return http.Serve() ? 0 : 2;
}
