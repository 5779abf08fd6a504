// velmara-server: the detector's checks over the LanguageTool HTTP API, for browser add-ins,
// office suites and editors on this machine.
//
//   velmara-server [--listen ADDR] [--port N] [--db DIR] [--country es_MX] [--intellisense|--no-intellisense]
//                  [--threads N] [--queue N] [--max-text N] [--connections N] [--per-address N]
//                  [--allow-origin ORIGIN]...
//
// It listens on 127.0.0.1:8081 unless told otherwise; an add-in is given http://127.0.0.1:8081/v2.
// A request's language chooses among the installed countries (es-MX, es-AR, …); "es" and "auto"
// are checked with the server's own (--country, VELMARA_COUNTRY, the configuration, or Spain).
// SIGINT or SIGTERM stops it. Exit status: 0 stopped, 2 an error.

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>

#include "app/configuration.h"
#include "app/country_choice.h"
#include "app/file_locations.h"
#include "checker/encoding.h"
#include "server/http_server.h"
#include "cli/command_line.h"
#include "cli/terminal_start.h"
#include "suggest/suggester.h"
#include "worddb/countries.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

class TerminalHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { std::cerr << Windows1252ToUtf8(text) << '\n'; }
  void Note(const std::string& text) override { std::cerr << "velmara-server: " << text << '\n'; }
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

// "HOST", "HOST:PORT", "[IPV6]" or "[IPV6]:PORT"; a bare IPv6 address (two colons or more) has no port.
bool ReadListenAddress(const std::string& text, server::ServerConfig& config) {
  std::string host = text;
  std::optional<std::string> port;
  if (!text.empty() && text[0] == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos || (close + 1 < text.size() && text[close + 1] != ':')) host.clear();
    else {
      host = text.substr(1, close - 1);
      if (close + 1 < text.size()) port = text.substr(close + 2);
    }
  } else if (const std::size_t colon = text.find(':'); colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  long n = 0;
  in6_addr ipv6{};
  const bool ipv6Host = host.find(':') != std::string::npos;
  if (host.empty() || (ipv6Host && inet_pton(AF_INET6, host.c_str(), &ipv6) != 1) || (port && !Number(*port, 0, 65535, n))) {
    std::cerr << "velmara-server: --listen takes an address, optionally with a port: 127.0.0.1, 127.0.0.1:8082, "
                 "[::1]:8082 (not '" << text << "')\n";
    return false;
  }
  config.host = host;
  if (port) config.port = static_cast<int>(n);
  return true;
}

// An IPv6 address in brackets, as a URL writes it.
std::string HostForUrl(const std::string& host) {
  return host.find(':') == std::string::npos ? host : "[" + host + "]";
}

cli::CommandLine ServerCommandLine(Options& options) {
  cli::CommandLine line("velmara-server", "velmara-server [OPTION]...",
                        "Answers the LanguageTool HTTP API (POST /v2/check, GET /v2/languages) with the detector's\n"
                        "checks, on http://127.0.0.1:8081/v2 unless told otherwise. SIGINT or SIGTERM stops it.\n"
                        "Exit status: 0 stopped, 2 an error.");
  auto numeric = [](const char* name, long low, long high, auto& field) {
    return [name, low, high, &field](const std::string& value) {
      long n = 0;
      if (!Number(value, low, high, n)) {
        std::cerr << "velmara-server: --" << name << " takes a number from " << low << " to " << high << '\n';
        return false;
      }
      field = static_cast<std::remove_reference_t<decltype(field)>>(n);
      return true;
    };
  };
  line.Value("listen", 0, "ADDR[:PORT]", "the address to listen on (127.0.0.1 by default)",
             [&options](const std::string& value) { return ReadListenAddress(value, options.config); });
  line.Value("port", 0, "N", "the port (8081 by default; 0 any free one)", numeric("port", 0, 65535, options.config.port));
  line.Value("db", 0, "DIR", "the word database folder", [&options](const std::string& value) {
    options.database = value;
    return true;
  });
  line.Value("country", 0, "CODE", "the server's own country (es_MX, es-AR, ...); a request's language chooses "
             "among the installed ones", [&options](const std::string& value) {
               options.country = value;
               return true;
             });
  line.Flag("intellisense", 0, "apply the Intellisense list", [&options] { options.intellisense = true; });
  line.Flag("no-intellisense", 0, "do not apply the Intellisense list", [&options] { options.intellisense = false; });
  line.Value("threads", 0, "N", "threads serving connections (8)", numeric("threads", 1, 256, options.config.threads));
  line.Value("queue", 0, "N", "connections that may wait beyond them (64)", numeric("queue", 0, 100000, options.config.queue));
  line.Value("max-text", 0, "N", "the longest text checked, in characters (200000)",
             numeric("max-text", 1, 1000000, options.config.maxTextLength));
  line.Value("connections", 0, "N", "connections open at once (512); beyond them a connection is closed",
             numeric("connections", 1, 100000, options.config.maxConnections));
  line.Value("per-address", 0, "N", "connections open at once from one client address (256)",
             numeric("per-address", 1, 100000, options.config.maxPerAddress));
  line.Value("allow-origin", 0, "ORIGIN", "a web origin (scheme://host[:port]) or browser add-on whose pages may "
             "read the answers; may be given again; * allows every page", [&options](const std::string& value) {
               options.config.allowedOrigins.push_back(value);
               return true;
             });
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  cli::CommandLine line = ServerCommandLine(options);
  std::vector<std::string> operands;
  if (std::optional<int> status = line.Parse(argc, argv, operands)) return *status;
  if (!operands.empty()) {
    std::cerr << "velmara-server: unexpected argument '" << operands.front()
              << "'\nTry 'velmara-server --help' for more information.\n";
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
  const CountryChoice country = ChooseCountry(databaseFolder, options.country, ProcessEnvironment(), settings);
  if (!country.error.empty()) {
    std::cerr << "velmara-server: " << country.error << '\n';
    return 2;
  }
  WordDatabase database;
  TerminalHooks hooks;
  LoadCountryDatabase(databaseFolder, country.differences, database, hooks, start.locations.traceFile.parent_path());
  LoadUserWords(start.userWordsFile, database);
  // Ready before the first request (read in place from a compiled database, or built), so no
  // request waits for it.
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
        LoadCountryDatabase(databaseFolder, *differences, engine->database, quiet, start.locations.traceFile.parent_path());
        LoadUserWords(start.userWordsFile, engine->database);
        engine->suggester = std::make_unique<Suggester>(engine->database);
        engine->suggester->Prepare();
        return engine;
      }));

  server::HttpServer http(service, options.config);
  const int port = http.Bind();
  if (port < 0) {
    std::cerr << "velmara-server: cannot listen on " << HostForUrl(options.config.host) << ':' << options.config.port << '\n';
    return 2;
  }
  std::cerr << "velmara-server: listening on http://" << HostForUrl(options.config.host) << ':' << port << "/v2\n";

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    http.Stop();
  });
  stopper.detach();
  return http.Serve() ? 0 : 2;
}
