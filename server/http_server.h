#pragma once
// The HTTP side of velmara-server: POST /v2/check and GET /v2/languages of the LanguageTool API.
// One event loop (libmicrohttpd over epoll) reads and writes every connection, so a client that
// is slow or idle costs a socket and a few kilobytes, never a thread; the checks run on a bounded
// pool of threads. Heads and bodies are bounded in size and time, only requests addressed to
// this machine by name are answered, and only the origins the user allows may read an answer.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/check_service.h"

namespace velmara::server {

// The port LanguageTool's own local server listens on, so an add-in's "local server" setting
// finds this one without another change.
inline constexpr int kDefaultPort = 8081;

struct ServerConfig {
  std::string host = "127.0.0.1";
  int port = kDefaultPort;  // 0: any free port (Bind tells which)
  std::size_t threads = 8;                  // checks at once
  std::size_t queue = 64;                   // checks waiting for a thread; beyond them 503
  std::size_t maxBody = 1024 * 1024;        // bytes; beyond them 413
  std::size_t maxTextLength = 200000;       // characters; beyond them 413
  int timeoutSeconds = 10;                  // a request's whole head and body, whatever the trickle
  int idleSeconds = 5;                      // a connection with nothing to read or write is closed
  std::size_t maxConnections = 512;         // open at once; beyond them a connection is closed
  std::size_t maxPerAddress = 256;          // open at once from one client address
  std::size_t maxHeadBytes = 16 * 1024;     // request line and headers; beyond them 414 or 431
  std::size_t maxHeaders = 100;             // header lines; beyond them 431
  std::size_t bodyMemory = 64 * 1024 * 1024;  // bodies held at once, all connections; beyond 503
  // Origins (scheme://host[:port], or "*") whose pages and add-ins may read the answers. A
  // request from any other origin is refused; requests without an Origin header are answered.
  std::vector<std::string> allowedOrigins;
};

// Whether a Host header names this machine: 127.0.0.1, localhost, [::1] or `listenHost`, with
// any port. A page reached by another name (DNS rebinding) is refused.
bool IsOwnHost(std::string_view host, std::string_view listenHost);

// For tests: called on a check's thread before each check (a test makes it throw as a check that
// runs out of memory would).
extern std::function<void()> serverCheckHook;

class HttpServer {
 public:
  HttpServer(const CheckService& service, ServerConfig config);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds the listening socket; returns the port, or -1 when it cannot be bound.
  int Bind();
  // Serves until Stop(); false when the socket was not bound or the loop could not start.
  bool Serve();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velmara::server
