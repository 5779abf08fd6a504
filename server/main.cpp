// velmara-server: the detector's checks over the LanguageTool HTTP API, for browser add-ins,
// office suites and editors on this machine.
//
//   velmara-server [--listen ADDR] [--port N] [--db DIR] [--country es_MX] [--intellisense|--no-intellisense]
//                  [--threads N] [--queue N] [--max-text N]
//
// It listens on 127.0.0.1:8081 unless told otherwise; an add-in is given http://127.0.0.1:8081/v2.
// A request's language chooses among the installed countries (es-MX, es-AR, …); "es" and "auto"
// are checked with the server's own (--country, VELMARA_COUNTRY, the configuration, or Spain).
// SIGINT or SIGTERM stops it. Exit status: 0 stopped, 2 an error.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <pthread.h>

#include "app/configuration.h"
#include "app/country_choice.h"
#include "app/file_locations.h"
#include "checker/encoding.h"
#include "server/http_server.h"
#include "cli/terminal_start.h"
#include "suggest/suggester.h"
#include "worddb/countries.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

const char* const kUsage =
    "usage: velmara-server [--listen ADDR] [--port N] [--db DIR] [--country es_MX] [--intellisense|--no-intellisense]\n"
    "                      [--threads N] [--queue N] [--max-text N]\n";

class TerminalHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { std::cerr << Windows1252ToUtf8(text) << '\n'; }
};

struct Options {
  server::ServerConfig config;
  std::optional<fs::path> database;
  std::optional<std::string> country;
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
    } else if (arg == "--listen" || arg == "--db" || arg == "--country") {
      if (!hasValue) {
        std::cerr << "velmara-server: " << arg << " needs a value\n";
        return false;
      }
      if (arg == "--listen") options.config.host = value;
      else if (arg == "--country") options.country = value;
      else options.database = value;
      ++i;
    } else if (arg == "--port") {
      if (!numeric(0, 65535, options.config.port)) return false;
    } else if (arg == "--threads") {
      if (!numeric(1, 256, options.config.threads)) return false;
    } else if (arg == "--queue") {
      if (!numeric(0, 100000, options.config.queue)) return false;
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

  // The same files velmara-check reads: the user's folders for an installed program.
  const cli::TerminalStart start = cli::PrepareTerminalStart(argv[0], options.database, options.intellisense);
  const Settings& settings = start.settings;
  const fs::path& databaseFolder = start.databaseFolder;
  const fs::path& intellisenseFile = start.intellisenseFile;
  if (!CheckWordDatabasePresent(databaseFolder)) {
    std::cerr << "velmara-server: no word database in '" << databaseFolder.string() << "'\n";
    return 2;
  }
  const CountryChoice country = ChooseCountry(databaseFolder, options.country, ProcessEnvironment(), settings);
  if (!country.error.empty()) {
    std::cerr << "velmara-server: " << country.error << '\n';
    return 2;
  }
  WordDatabase database;
  TerminalHooks hooks;
  LoadCountryDatabase(databaseFolder, country.differences, database, hooks);
  LoadUserWords(start.userWordsFile, database);
  // Built before the first request, so no request waits for it.
  Suggester suggester(database);
  suggester.Prepare();
  server::CheckService service(database, suggester, settings, intellisenseFile);

  // The other countries, each loaded when a request first names it.
  std::vector<std::string> countries{country.country};
  for (const std::string& other : InstalledCountries(databaseFolder))
    if (other != country.country) countries.push_back(other);
  service.ServeCountries(std::make_shared<server::CountryDatabases>(
      countries, [&databaseFolder, &start](const std::string& code) -> std::unique_ptr<server::CountryEngine> {
        const std::optional<fs::path> differences = CountryDifferencesFolder(databaseFolder, code);
        if (!differences) return nullptr;
        auto engine = std::make_unique<server::CountryEngine>();
        TerminalHooks quiet;
        LoadCountryDatabase(databaseFolder, *differences, engine->database, quiet);
        LoadUserWords(start.userWordsFile, engine->database);
        engine->suggester = std::make_unique<Suggester>(engine->database);
        engine->suggester->Prepare();
        return engine;
      }));

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
