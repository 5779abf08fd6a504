#pragma once
// The HTTP side of velmara-server: POST /v2/check and GET /v2/languages of the LanguageTool API,
// on a bounded pool of threads, with a body limit, timeouts and CORS headers for browser add-ins.

#include <cstddef>
#include <memory>
#include <string>

#include "server/check_service.h"

namespace velmara::server {

// The port LanguageTool's own local server listens on, so an add-in's "local server" setting
// finds this one without another change.
inline constexpr int kDefaultPort = 8081;

struct ServerConfig {
  std::string host = "127.0.0.1";
  int port = kDefaultPort;  // 0: any free port (Bind tells which)
  std::size_t threads = 8;
  std::size_t queue = 64;                   // connections waiting for a thread; beyond them 503
  std::size_t maxBody = 1024 * 1024;        // bytes; beyond them 413
  std::size_t maxTextLength = 200000;       // characters; beyond them 413
  int timeoutSeconds = 10;                  // reading a request, writing an answer
};

class HttpServer {
 public:
  HttpServer(const CheckService& service, ServerConfig config);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds the listening socket; returns the port, or -1 when it cannot be bound.
  int Bind();
  // Serves until Stop(); false when the socket was not bound.
  bool Serve();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velmara::server
