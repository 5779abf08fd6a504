// velmara-server on a free loopback port, in this process, over a small word database: the
// answers of Spanish texts field by field, the annotation format, the refusals, requests at once,
// and what a hostile local program or web page may send.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "server/http_server.h"
#include "support/fixture_database.h"
#include "support/loopback.h"
#include "support/test_folder.h"

namespace velmara::server {
namespace {

using nlohmann::json;

// "Hola 😀 perrro": the emoji is two UTF-16 units, so the missing word starts at 8, not 7.
constexpr const char* kSample = "Hola \xF0\x9F\x98\x80 perrro, \xC2\xBFqu\xC3\xA9 es el arbol? Guau guau.";

class Server {
 public:
  explicit Server(ServerConfig config = {}, bool intellisense = false) {
    // A client still sending a body the server refused finds the connection closed, as
    // velmara-server's clients may: that is an error to read, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    testing::WriteFixtureDatabase(folder_.path(), {"hola", "el", "\xE9l", "es", "\xE1rbol", "perro", "la", "casa", "guau", "para"}, {}, {}, {});
    folder_.Write("Intellisense.txt", "miau|guau\r\n");
    LoadHooks hooks;
    LoadWordDatabase(folder_.path(), database_, hooks);
    suggester_ = std::make_unique<Suggester>(database_);
    Settings settings;
    settings.Inteligente = intellisense ? 1 : 0;
    service_ = std::make_unique<CheckService>(database_, *suggester_, settings, folder_.path() / "Intellisense.txt");
    config.port = 0;
    http_ = std::make_unique<HttpServer>(*service_, config);
    port_ = http_->Bind();
    thread_ = std::thread([this] { http_->Serve(); });
    httplib::Client probe = Client();
    for (int i = 0; i < 200 && !probe.Get("/v2/languages"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~Server() {
    http_->Stop();
    thread_.join();
  }
  void WriteIntellisense(const std::string& text) { folder_.Write("Intellisense.txt", text); }
  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(10, 0);
    return client;
  }
  int port() const { return port_; }

 private:
  testing::TestFolder folder_;
  WordDatabase database_;
  std::unique_ptr<Suggester> suggester_;
  std::unique_ptr<CheckService> service_;
  std::unique_ptr<HttpServer> http_;
  int port_ = -1;
  std::thread thread_;
};

httplib::Result PostForm(httplib::Client& client, const httplib::Params& params) {
  return client.Post("/v2/check", params);
}

json Matches(const httplib::Result& result) {
  EXPECT_TRUE(result);
  if (!result) return json::array();
  EXPECT_EQ(result->status, 200) << result->body;
  EXPECT_FALSE(result->has_header("Access-Control-Allow-Origin"));
  return json::parse(result->body).at("matches");
}

TEST(Server, AnswersSpanishTextFieldByField) {
  Server server;
  httplib::Client client = server.Client();
  const httplib::Result result = PostForm(client, {{"text", kSample}, {"language", "es-ES"}});
  ASSERT_TRUE(result);
  const json answer = json::parse(result->body);
  EXPECT_EQ(answer["software"]["apiVersion"], 1);
  EXPECT_TRUE(answer["software"]["name"].is_string() && answer["software"]["premium"].is_boolean());
  EXPECT_EQ(answer["language"]["code"], "es-ES");
  EXPECT_EQ(answer["language"]["detectedLanguage"]["code"], "es-ES");
  EXPECT_EQ(answer["warnings"]["incompleteResults"], false);

  // The missing word, then the accent the check puts back; "Guau" at a sentence start only gets
  // its own case back, which is no match.
  const json matches = answer["matches"];
  ASSERT_EQ(matches.size(), 2u) << matches.dump(1);
  const json& missing = matches[0];
  EXPECT_EQ(missing["offset"], 8);
  EXPECT_EQ(missing["length"], 6);
  EXPECT_EQ(missing["rule"]["id"], kMissingRuleId);
  EXPECT_EQ(missing["rule"]["issueType"], "misspelling");
  EXPECT_TRUE(missing["replacements"].is_array());
  EXPECT_EQ(missing["context"]["text"], kSample);
  EXPECT_EQ(missing["context"]["offset"], 8);
  EXPECT_EQ(missing["context"]["length"], 6);
  EXPECT_EQ(missing["sentence"], "Hola \xF0\x9F\x98\x80 perrro, \xC2\xBFqu\xC3\xA9 es el arbol?");
  EXPECT_TRUE(missing["message"].is_string() && missing["shortMessage"].is_string());
  EXPECT_TRUE(missing["type"]["typeName"].is_string() && missing["rule"]["category"]["id"].is_string());

  const json& corrected = matches[1];
  EXPECT_EQ(corrected["offset"], 27);
  EXPECT_EQ(corrected["length"], 5);
  EXPECT_EQ(corrected["rule"]["id"], kCorrectionRuleId);
  EXPECT_EQ(corrected["replacements"][0]["value"], "\xC3\xA1rbol");

  // The same text as multipart form data, and by GET, answers the same matches.
  httplib::MultipartFormDataItems items = {{"text", kSample, "", ""}, {"language", "es", "", ""}};
  EXPECT_EQ(Matches(client.Post("/v2/check", items)), matches);
  // An add-in's "ignore this rule" leaves that rule's matches out.
  const json without = Matches(PostForm(client, {{"text", kSample}, {"language", "es"}, {"disabledRules", std::string("X,") + kCorrectionRuleId}}));
  ASSERT_EQ(without.size(), 1u);
  EXPECT_EQ(without[0], matches[0]);
  EXPECT_EQ(Matches(client.Get("/v2/check?language=auto&text=Hola%20%F0%9F%98%80%20perrro%2C%20%C2%BFqu%C3%A9"
                               "%20es%20el%20arbol%3F%20Guau%20guau.")),
            matches);

  // Accent advice is a match of its own rule, the advised word first; the rule can be left out.
  const json advice = Matches(PostForm(client, {{"text", "Es para el."}, {"language", "es"}}));
  ASSERT_EQ(advice.size(), 1u) << advice.dump(1);
  EXPECT_EQ(advice[0]["rule"]["id"], kContextRuleId);
  EXPECT_EQ(advice[0]["offset"], 8);
  EXPECT_EQ(advice[0]["replacements"][0]["value"], "\xC3\xA9l");
  EXPECT_TRUE(Matches(PostForm(client, {{"text", "Es para el."}, {"language", "es"}, {"disabledRules", kContextRuleId}})).empty());

  const httplib::Result languages = client.Get("/v2/languages");
  ASSERT_TRUE(languages);
  const json list = json::parse(languages->body);
  ASSERT_TRUE(list.is_array() && !list.empty());
  EXPECT_EQ(list[0]["code"], "es");
  EXPECT_TRUE(list[0]["name"].is_string() && list[0]["longCode"].is_string());
}

// Positions count what is not checked: markup, which holds no word and keeps "la" and "casa"
// apart; an accent written after its letter, which makes one letter with it; an address.
TEST(Server, PositionsCountMarkupComposedAccentsAndAddresses) {
  Server server;
  httplib::Client client = server.Client();
  const json annotation = {{"annotation",
                            {{{"text", "La"}},
                             {{"markup", "<b\xC3\xB1>"}, {"interpretAs", " "}},
                             {{"text", "casa perrro \xF0\x9F\x98\x80"}},
                             {{"markup", "</b>"}}}}};
  const std::pair<httplib::Params, int> cases[] = {
      {{{"data", annotation.dump()}, {"language", "es"}}, 11},
      {{{"text", "La casa, a\xCC\x81rbol el www.guau.org es perrro."}, {"language", "es"}}, 35},
  };
  for (const auto& [params, offset] : cases) {
    const json matches = Matches(PostForm(client, params));
    ASSERT_EQ(matches.size(), 1u) << matches.dump(1);
    EXPECT_EQ(matches[0]["offset"], offset);
    EXPECT_EQ(matches[0]["length"], 6);
  }
}

TEST(Server, RefusesWhatItDoesNotServe) {
  ServerConfig config;
  config.maxTextLength = 1000;
  Server server(config);
  httplib::Client client = server.Client();
  struct Case {
    httplib::Params params;
    int status;
  };
  const std::vector<Case> cases = {
      {{{"text", "Hello"}, {"language", "en-US"}}, 400},
      {{{"text", "Hola"}, {"language", "eses"}}, 400},
      {{{"text", "Hola"}}, 400},
      {{{"language", "es"}}, 400},
      {{{"text", std::string(1001, 'a')}, {"language", "es"}}, 413},
      // Annotations that are no JSON, or not of the annotation's form.
      {{{"data", "{"}, {"language", "es"}}, 400},
      {{{"data", "[]"}, {"language", "es"}}, 400},
      {{{"data", R"({"annotation":[{"text":1}]})"}, {"language", "es"}}, 400},
      {{{"data", R"({"annotation":[{"text":"a","markup":"b"}]})"}, {"language", "es"}}, 400},
      {{{"data", std::string(100, '[')}, {"language", "es"}}, 400},
  };
  for (const Case& c : cases) {
    std::string sent;
    for (const auto& [key, value] : c.params) sent += key + "=" + value.substr(0, 40) + " ";
    SCOPED_TRACE(sent);
    const httplib::Result result = PostForm(client, c.params);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, c.status) << result->body;
    EXPECT_EQ(result->get_header_value("Content-Type").rfind("text/plain", 0), 0u) << result->body;
  }
  const httplib::Result big = client.Post("/v2/check", std::string(1100 * 1024, 'a'), "application/x-www-form-urlencoded");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->status, 413);
}

// Only the origins the user names may read an answer, and a browser's preflight says so.
TEST(Server, AnswersOnlyTheOriginsAllowed) {
  ServerConfig config;
  config.allowedOrigins = {"moz-extension://aa11", "chrome-extension://bb22"};
  Server server(config);
  httplib::Client client = server.Client();
  for (const std::string origin : {"moz-extension://aa11", "chrome-extension://bb22", "https://evil.example", "null"}) {
    const bool allowed = origin.find("extension") != std::string::npos;
    const httplib::Result preflight = client.Options("/v2/check", {{"Origin", origin}});
    ASSERT_TRUE(preflight);
    EXPECT_EQ(preflight->status, allowed ? 204 : 403) << origin;
    EXPECT_EQ(preflight->get_header_value("Access-Control-Allow-Origin"), allowed ? origin : "") << origin;
    if (allowed) {
      EXPECT_NE(preflight->get_header_value("Access-Control-Allow-Methods").find("POST"), std::string::npos);
    }
    const httplib::Result check = client.Post("/v2/check", {{"Origin", origin}}, "text=hola&language=es",
                                              "application/x-www-form-urlencoded");
    ASSERT_TRUE(check);
    EXPECT_EQ(check->status, allowed ? 200 : 403) << origin;
    EXPECT_EQ(check->get_header_value("Access-Control-Allow-Origin"), allowed ? origin : "") << origin;
  }
}

TEST(Server, IntellisenseEntryIsACorrectionOnlyWhenTheOptionIsOn) {
  for (bool on : {false, true}) {
    Server server({}, on);
    httplib::Client client = server.Client();
    const json matches = Matches(PostForm(client, {{"text", "la casa miau"}, {"language", "es"}}));
    ASSERT_EQ(matches.size(), 1u) << matches.dump(1);
    EXPECT_EQ(matches[0]["offset"], 8);
    EXPECT_EQ(matches[0]["rule"]["id"], on ? kCorrectionRuleId : kMissingRuleId);
    if (on) {
      EXPECT_EQ(matches[0]["replacements"][0]["value"], "guau");
      // The list is kept between requests, and an edit of the file counts at the next one.
      server.WriteIntellisense("miau|perro\r\n");
      std::this_thread::sleep_for(std::chrono::milliseconds(120));
      const json edited = Matches(PostForm(client, {{"text", "la casa miau"}, {"language", "es"}}));
      ASSERT_EQ(edited.size(), 1u);
      EXPECT_EQ(edited[0]["replacements"][0]["value"], "perro");
    }
  }
}

// Sends `bytes` as they are (what comes back to a send is no matter), then reads until the server
// closes or `seconds` pass with nothing more.
std::string RawExchange(int port, const std::string& bytes, int seconds = 3) {
  const int fd = testing::ConnectToLoopback(port);
  if (fd < 0) return "";
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = send(fd, bytes.data() + sent, std::min<std::size_t>(bytes.size() - sent, 65536), MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  char buffer[65536];
  pollfd wait{fd, POLLIN, 0};
  while (poll(&wait, 1, seconds * 1000) > 0) {
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return answer;
}

std::vector<int> Statuses(const std::string& answers) {
  std::vector<int> statuses;
  for (std::size_t p = answers.find("HTTP/1.1 "); p != std::string::npos; p = answers.find("HTTP/1.1 ", p + 1))
    statuses.push_back(std::atoi(answers.c_str() + p + 9));
  return statuses;
}

std::string Post(const std::string& body, const std::string& type = "application/x-www-form-urlencoded",
                 const std::string& extra = "", const std::string& host = "127.0.0.1", bool last = true) {
  return "POST /v2/check HTTP/1.1\r\nHost: " + host + "\r\nContent-Type: " + type + "\r\n" + extra + "Connection: " + (last ? "close" : "keep-alive") + "\r\n" +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string FormEncode(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    static const char kHex[] = "0123456789ABCDEF";
    if (std::isalnum(c)) out += static_cast<char>(c);
    else out += {'%', kHex[c >> 4], kHex[c & 15]};
  }
  return out;
}

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// Requests no client of ours sends, each answered with a status (and the server still answers
// the next one): ranges, heads without bound, other hosts, malformed and odd bodies.
TEST(Server, AnswersHostileRequestsAndGoesOn) {
  Server server;
  const std::string form = "text=perrro&language=es";
  const std::string multipart = "--XyZ\r\nContent-Disposition: form-data; name=\"language\"\r\n\r\nes\r\n"
                                "--XyZ\r\nContent-Disposition: form-data; name=\"text\"\r\n\r\nperrro\r\n--XyZ--\r\n";
  struct Case {
    const char* what;
    std::string request;
    int status;
  };
  const std::vector<Case> cases = {
      {"2,600 ranges", Post(form, "application/x-www-form-urlencoded", "Range: bytes=" + Repeat("0-,", 2600) + "0-\r\n"), 200},
      {"request line without end", "GET /v2/languages?" + std::string(200000, 'a'), 414},
      {"header of 40 KB", "GET /v2/languages HTTP/1.1\r\nHost: localhost\r\nX: " + std::string(40000, 'a') + "\r\n\r\n", 431},
      {"20,000 headers", "GET /v2/languages HTTP/1.1\r\nHost: localhost\r\n" + Repeat("a:\r\n", 20000) + "\r\n", 431},
      {"101 headers", "GET /v2/languages HTTP/1.1\r\nHost: localhost\r\n" + Repeat("a: b\r\n", 101) + "\r\n", 431},
      {"other host", Post(form, "application/x-www-form-urlencoded", "", "evil.example:8081"), 403},
      {"host by rebinding", Post(form, "application/x-www-form-urlencoded", "", "127.0.0.1.evil.example"), 403},
      {"no host", "GET /v2/languages HTTP/1.0\r\n\r\n", 403},
      {"[::1] host", "GET /v2/languages HTTP/1.1\r\nHost: [::1]:8081\r\nConnection: close\r\n\r\n", 200},
      {"page's origin", Post(form, "application/x-www-form-urlencoded", "Origin: https://evil.example\r\n"), 403},
      {"declared body of 5 MB", "POST /v2/check HTTP/1.1\r\nHost: localhost\r\nContent-Length: 5000000\r\n\r\n", 413},
      {"malformed multipart", Post("--XyZ\r\nbroken", "multipart/form-data; boundary=XyZ"), 400},
      {"multipart without boundary", Post(multipart, "multipart/form-data"), 400},
      {"multipart in capitals", Post(multipart, "Multipart/Form-Data; Boundary=\"XyZ\""), 200},
      {"lone surrogate", Post("language=es&data=" + FormEncode(R"({"annotation":[{"text":"perrro \ud800 casa"}]})")), 200},
      {"unknown path", "GET /etc/passwd HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n", 404},
  };
  for (const Case& c : cases) {
    const std::string answer = RawExchange(server.port(), c.request);
    const std::vector<int> statuses = Statuses(answer);
    ASSERT_FALSE(statuses.empty()) << c.what;
    EXPECT_EQ(statuses[0], c.status) << c.what << '\n' << answer.substr(0, 300);
    if (c.status == 200 && answer.find("perrro") != std::string::npos) {
      EXPECT_NE(answer.find("\"offset\":0,\"replacements\""), std::string::npos) << c.what << answer;
    }
    httplib::Client client = server.Client();
    const httplib::Result after = client.Get("/v2/languages");
    ASSERT_TRUE(after) << "after " << c.what;
    EXPECT_EQ(after->status, 200);
  }
  // Requests sent together on one connection are answered each, in order.
  std::string pipelined;
  for (int i = 0; i < 5; ++i)
    pipelined += Post("text=" + std::string(static_cast<std::size_t>(i), ' ') + "perrro&language=es",
                      "application/x-www-form-urlencoded", "", "127.0.0.1", i == 4);
  const std::string answers = RawExchange(server.port(), pipelined, 2);
  EXPECT_EQ(Statuses(answers), std::vector<int>(5, 200));
  for (int i = 0; i < 5; ++i)
    EXPECT_NE(answers.find("\"offset\":" + std::to_string(i) + ",\"replacements\""), std::string::npos) << i;
}

// Many clients at once each get the matches of their own text; with every thread busy and no
// room to wait, a check is told 503 rather than kept.
TEST(Server, ServesRequestsAtOnceAndTurnsAwayBeyondItsBound) {
  {
    Server server;
    std::atomic<int> wrong{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 6; ++t) {
      clients.emplace_back([&, t] {
        httplib::Client client = server.Client();
        const std::string text = std::string(static_cast<std::size_t>(t), ' ') + "perrr" + std::string(static_cast<std::size_t>(t) + 1, 'o');
        for (int i = 0; i < 20; ++i) {
          const httplib::Result result = PostForm(client, {{"text", text}, {"language", "es"}});
          const json matches = result && result->status == 200 ? json::parse(result->body)["matches"] : json();
          if (matches.size() != 1 || matches[0]["offset"] != t || matches[0]["length"] != 6 + t) ++wrong;
        }
      });
    }
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(wrong, 0);
  }

  ServerConfig config;
  config.threads = 1;
  config.queue = 0;
  Server server(config);
  std::atomic<int> ok{0};
  std::atomic<int> busy{0};
  std::vector<std::thread> clients;
  const std::string text = Repeat("perrro gatto ", 15000);
  for (int t = 0; t < 6; ++t) {
    clients.emplace_back([&] {
      httplib::Client client = server.Client();
      const httplib::Result result = PostForm(client, {{"text", text}, {"language", "es"}});
      if (result && result->status == 200) ++ok;
      if (result && result->status == 503 && result->get_header_value("Retry-After") == "1") ++busy;
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_GE(ok, 1);
  EXPECT_GE(busy, 1);
  EXPECT_EQ(ok + busy, 6);
}

// Slow clients cost the others nothing, and each request has a deadline for its head and body
// however its bytes trickle in.
TEST(Server, SlowClientsNeitherStallOthersNorStayPastTheirDeadline) {
  ServerConfig config;
  config.timeoutSeconds = 1;
  config.threads = 1;
  Server server(config);
  std::vector<int> slow;
  for (int i = 0; i < 100; ++i) {
    const int fd = testing::ConnectToLoopback(server.port());
    ASSERT_GE(fd, 0);
    send(fd, "POST /v2/check HTTP/1.1\r\nHo", 27, MSG_NOSIGNAL);
    slow.push_back(fd);
  }
  httplib::Client client = server.Client();
  const auto start = std::chrono::steady_clock::now();
  const httplib::Result result = PostForm(client, {{"text", "hola"}, {"language", "es"}});
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  for (int fd : slow) close(fd);

  // A byte every 150 ms never leaves a connection idle, but the head, or the body, is late after
  // a second.
  const std::string body = "POST /v2/check HTTP/1.1\r\nHost: localhost\r\nContent-Length: 40\r\n\r\n";
  for (const std::string& sent : {std::string(), body}) {
    const int fd = testing::ConnectToLoopback(server.port());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(send(fd, sent.data(), sent.size(), MSG_NOSIGNAL), static_cast<ssize_t>(sent.size()));
    for (int i = 0; i < 12; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      if (send(fd, "a", 1, MSG_NOSIGNAL) != 1) break;
    }
    char answer[64] = {};
    ASSERT_GT(recv(fd, answer, sizeof answer - 1, 0), 0);
    EXPECT_EQ(std::string(answer).substr(0, 12), "HTTP/1.1 408") << answer;
    close(fd);
  }
}

// A check that cannot get memory is answered 503, and the next one is answered as ever.
TEST(Server, OutOfMemoryIsAnsweredAndTheServerGoesOn) {
  Server server;
  httplib::Client client = server.Client();
  std::atomic<int> failing{1};
  serverCheckHook = [&] {
    if (failing-- > 0) throw std::bad_alloc();
  };
  const httplib::Result refused = PostForm(client, {{"text", "perrro"}, {"language", "es"}});
  const httplib::Result answered = PostForm(client, {{"text", "perrro"}, {"language", "es"}});
  serverCheckHook = nullptr;
  ASSERT_TRUE(refused && answered);
  EXPECT_EQ(refused->status, 503);
  EXPECT_EQ(refused->get_header_value("Retry-After"), "1");
  EXPECT_EQ(answered->status, 200);
}

namespace replay {

// The two clients' own tests of a spelling rule id, as they decide whether to offer "Add to
// dictionary" (ltex-ls: LanguageToolRuleMatch.isUnknownWordRule; the browser add-on: isSpellingError).
bool LtexKnowsSpelling(const std::string& id) {
  const auto ends = [&](const std::string& tail) { return id.size() >= tail.size() && id.compare(id.size() - tail.size(), tail.size(), tail) == 0; };
  return id.rfind("MORFOLOGIK_", 0) == 0 || id.rfind("HUNSPELL_", 0) == 0 || ends("_SPELLER_RULE") || ends("_SPELLING_RULE");
}
bool AddOnKnowsSpelling(const std::string& id) {
  return id.find("SPELLER_RULE") != std::string::npos || id.find("MORFOLOGIK_RULE") != std::string::npos ||
         id.find("HUNSPELL") != std::string::npos;
}

// The part of UTF-8 `text` at [offset, offset + length) in UTF-16 units, as JavaScript's substr reads it.
std::string Utf16Slice(const std::string& text, std::size_t offset, std::size_t length) {
  const std::vector<std::uint32_t> units = Utf16Starts(text), bytes = ByteStarts(text);
  const auto byteAt = [&](std::size_t unit) {
    const auto found = std::find(units.begin(), units.end(), unit);
    return found == units.end() ? text.size() : bytes[static_cast<std::size_t>(found - units.begin())];
  };
  const std::size_t from = byteAt(offset);
  return text.substr(from, byteAt(offset + length) - from);
}

struct Request {
  const char* client;
  const char* contentType;
  std::string body;
  const char* language;             // the answer's language code
  std::vector<std::string> rules;   // the rule of each match, in order
};

}  // namespace replay

// Requests as ltex-ls and LanguageTool's browser add-on send them (their parameters, encoding and
// Content-Type), each answer read field by field as those clients read it.
TEST(Server, AnswersTheClientsRequestsAsTheyReadThem) {
  using replay::Request;
  // "Hola perrro, ¿qué es el arbol?" in ltex-ls's annotation: a LaTeX command as markup.
  const std::string ltexData =
      "%7B%22annotation%22%3A%5B%7B%22text%22%3A%22Hola+perrro%2C+%22%7D%2C%7B%22markup%22%3A%22%5C%5Cemph%7B%22%2C"
      "%22interpretAs%22%3A%22%22%7D%2C%7B%22text%22%3A%22%C2%BFqu%C3%A9+es+el+arbol%3F%22%7D%2C%7B%22markup%22%3A%22%7D%22%7D%5D%7D";
  const std::string addOnText = "Hola+perrro%2C+%C2%BFqu%C3%A9+es+el+arbol%3F";
  const std::string missing = kMissingRuleId, corrected = kCorrectionRuleId;
  const std::vector<Request> requests = {
      // ltex-ls: a form body labelled application/json, with its optional fields.
      {"ltex-ls", "application/json", "data=" + ltexData + "&language=es", "es", {missing, corrected}},
      {"ltex-ls picky", "application/json",
       "motherTongue=de-DE&data=" + ltexData + "&level=picky&language=es-ES&username=ana%40example.org&apiKey=k1&"
       "enabledRules=VELMARA_OTRA",
       "es-ES", {missing, corrected}},
      // The browser add-on: automatic language with preferred variants, WHITESPACE_RULE disabled.
      {"add-on", "application/x-www-form-urlencoded; charset=UTF-8",
       "disabledRules=WHITESPACE_RULE&useragent=webextension-chrome&text=" + addOnText +
           "&motherTongue=en&language=auto&preferredVariants=en-US,de-DE,pt-BR,ca-ES",
       "es", {missing, corrected}},
      {"add-on, Spanish variant preferred", "application/x-www-form-urlencoded",
       "text=" + addOnText + "&language=auto&preferredVariants=en-US,es-AR&enabledOnly=false&level=default&"
       "useragent=webextension-firefox-ng&textSessionId=1234:5678",
       "es-AR", {missing, corrected}},
      // What the clients' settings send: rules and categories turned off or on alone.
      {"disabled category", "application/x-www-form-urlencoded", "text=" + addOnText + "&language=es&disabledCategories=TYPOS", "es", {}},
      {"former rule id disabled", "application/x-www-form-urlencoded",
       "text=" + addOnText + "&language=es&disabledRules=VELMARA_PALABRA_DESCONOCIDA", "es", {corrected}},
      {"only the spelling rule", "application/x-www-form-urlencoded",
       "text=" + addOnText + "&language=es&enabledOnly=true&enabledRules=" + missing, "es", {missing}},
      {"a JSON body", "application/json", R"({"text": "Hola perrro, ¿qué es el arbol?", "language": "es", "enabledOnly": false})",
       "es", {missing, corrected}},
  };

  Server server;
  httplib::Client client = server.Client();
  for (const Request& request : requests) {
    SCOPED_TRACE(request.client);
    const httplib::Result result = client.Post("/v2/check", request.body, request.contentType);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->status, 200) << result->body;
    const json answer = json::parse(result->body);
    for (const char* field : {"name", "version", "buildDate", "apiVersion", "premium", "premiumHint", "status"})
      EXPECT_TRUE(answer["software"].contains(field)) << field;
    EXPECT_EQ(answer["warnings"]["incompleteResults"], false);
    EXPECT_EQ(answer["language"]["code"], request.language);
    EXPECT_EQ(answer["language"]["detectedLanguage"]["code"], request.language);
    EXPECT_TRUE(answer["language"]["detectedLanguage"]["confidence"].is_number());

    const json& matches = answer["matches"];
    ASSERT_EQ(matches.size(), request.rules.size()) << matches.dump(1);
    for (std::size_t k = 0; k < matches.size(); ++k) {
      const json& match = matches[k];
      const std::string id = match["rule"]["id"];
      EXPECT_EQ(id, request.rules[k]);
      EXPECT_EQ(replay::LtexKnowsSpelling(id) && replay::AddOnKnowsSpelling(id), id == kMissingRuleId) << id;
      for (const char* field : {"message", "shortMessage", "sentence"}) EXPECT_TRUE(match[field].is_string()) << field;
      for (const char* field : {"offset", "length"}) EXPECT_TRUE(match[field].is_number_integer()) << field;
      EXPECT_TRUE(match["replacements"].is_array());
      for (const json& replacement : match["replacements"]) EXPECT_TRUE(replacement["value"].is_string());
      EXPECT_TRUE(match["type"]["typeName"].is_string());
      for (const char* field : {"description", "issueType"}) EXPECT_TRUE(match["rule"][field].is_string()) << field;
      EXPECT_EQ(match["rule"]["category"]["id"], kRuleCategory);
      EXPECT_TRUE(match["rule"]["category"]["name"].is_string());
      // The add-on marks the word inside the context by the context's offset and the length.
      const std::string context = match["context"]["text"];
      EXPECT_EQ(match["context"]["length"], match["length"]);
      EXPECT_EQ(replay::Utf16Slice(context, match["context"]["offset"], match["length"]),
                id == kMissingRuleId ? "perrro" : "arbol");
      // ltex-ls reads the sentence of every match without looking.
      EXPECT_NE(match["sentence"].get<std::string>().find(id == kMissingRuleId ? "Hola perrro" : "arbol?"), std::string::npos);
    }
    if (!matches.empty() && request.rules[0] == kMissingRuleId) {
      EXPECT_EQ(matches[0]["offset"], 5);
    }
  }
}

}  // namespace
}  // namespace velmara::server
