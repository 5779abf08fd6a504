// velmara-server's HTTP reading over any bytes: the bytes go to a server on a loopback port as one
// connection's whole input. Whatever they hold, every answer that comes back starts with a
// status line of a status the server gives, and no answer is a server error other than 503. (An
// input that leaves a request unfinished waits for its deadline: the server tests hold that; here
// the connection is let go once it has been quiet a moment, so the run stays fast.)

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "fuzz_database.h"
#include "fuzz_support.h"
#include "support/loopback.h"
#include "server/http_server.h"

namespace {

using namespace velmara;

struct FuzzServer {
  Suggester suggester{fuzz::SmallDatabase()};
  server::CheckService service{fuzz::SmallDatabase(), suggester, Settings{}, "/nonexistent/Intellisense.txt"};
  std::unique_ptr<server::HttpServer> http;
  int port = -1;

  FuzzServer() {
    std::signal(SIGPIPE, SIG_IGN);
    server::ServerConfig config;
    config.port = 0;
    config.timeoutSeconds = 2;
    config.idleSeconds = 1;
    config.threads = 2;
    config.allowedOrigins = {"moz-extension://fuzz"};
    http = std::make_unique<server::HttpServer>(service, config);
    port = http->Bind();
    std::thread([this] { http->Serve(); }).detach();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzServer& server = *new FuzzServer;  // never destroyed: its loop runs until the process ends
  FUZZ_CHECK(server.port > 0);
  const int fd = testing::ConnectToLoopback(server.port);
  FUZZ_CHECK(fd >= 0);
  std::size_t sent = 0;
  while (sent < size) {
    const ssize_t n = send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) break;  // closed after an answer given early
    sent += static_cast<std::size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  std::string answers;
  char buffer[65536];
  pollfd wait{fd, POLLIN, 0};
  while (poll(&wait, 1, 100) > 0) {
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    answers.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  static const std::set<int> kStatuses = {200, 204, 400, 403, 404, 405, 408, 413, 414, 431, 501, 503, 505};
  FUZZ_CHECK(answers.empty() || answers.rfind("HTTP/1.", 0) == 0);
  for (std::size_t p = answers.find("HTTP/1."); p != std::string::npos; p = answers.find("\r\n\r\nHTTP/1.", p + 1)) {
    if (answers.compare(p, 4, "\r\n\r\n") == 0) p += 4;
    if (p + 12 > answers.size()) break;  // cut off when the connection was let go
    FUZZ_CHECK(kStatuses.count(std::atoi(answers.c_str() + p + 9)) == 1);
  }
  return 0;
}
