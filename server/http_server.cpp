#include "server/http_server.h"

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_set>
#include <vector>

namespace velmara::server {
namespace {

using Clock = std::chrono::steady_clock;

// A fixed number of threads and a bounded line of checks waiting for one. Nothing blocks the
// event loop: a check that finds the line full is refused at once.
class CheckPool {
 public:
  CheckPool(std::size_t threads, std::size_t queue) : limit_(threads + queue) {
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~CheckPool() { Close(); }

  bool TryRun(std::function<void()> job) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closing_ || jobs_.size() + running_ >= limit_) return false;
    jobs_.push_back(std::move(job));
    wake_.notify_one();
    return true;
  }

  // Refuses new checks, finishes those taken, and joins the threads.
  void Close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
  }

 private:
  void Work() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
        ++running_;
      }
      job();
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
    }
  }

  const std::size_t limit_;
  std::vector<std::thread> threads_;
  std::deque<std::function<void()>> jobs_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::size_t running_ = 0;
  bool closing_ = false;
};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One TCP connection: when the request now arriving began, and whether it is still arriving.
struct Link {
  MHD_socket fd = MHD_INVALID_SOCKET;
  Clock::time_point phaseStart = Clock::now();
  bool arriving = true;    // nothing of ours is being done or written for it
  bool timedOut = false;   // told 408 by the watchdog; its socket is shut
};

// An answer: status, content type and body, plus what a 503 or a 408 adds.
struct Answer {
  unsigned status = 200;
  std::string contentType = "application/json";
  std::string body;
  bool close = false;
  bool retryLater = false;
};

Answer PlainText(unsigned status, const std::string& message) {
  Answer answer;
  answer.status = status;
  answer.contentType = "text/plain; charset=utf-8";
  answer.body = message + "\n";
  return answer;
}

Answer Busy(const std::string& why) {
  Answer answer = PlainText(503, "Error: " + why + ", try again");
  answer.retryLater = true;
  return answer;
}

Answer JsonAnswer(const nlohmann::json& json) {
  Answer answer;
  // A text the client sent is valid UTF-8 by now; replace, never throw, should one slip by.
  answer.body = json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return answer;
}

// One request, from its head to its answer.
struct Exchange {
  enum class Stage { Receiving, Checking, Ready };
  Stage stage = Stage::Receiving;
  bool post = false;
  std::string origin;     // the allowed Origin to name in the answer, or empty
  std::string contentType;
  std::string body;
  std::size_t charged = 0;  // bytes of the body counted against the shared budget
  std::optional<Answer> refusal;  // decided while the body arrived; given once it is read
  Answer answer;
};

constexpr const char* kRequestLate = "Error: the request did not arrive in time";
// A body up to this many times the limit is read and dropped before the 413; a larger one is
// answered at once and its connection closed.
constexpr std::size_t kReadAndDropMost = 4;

}  // namespace

std::function<void()> serverCheckHook;

bool IsOwnHost(std::string_view host, std::string_view listenHost) {
  std::string_view name = host;
  if (!name.empty() && name.front() == '[') {
    const std::size_t close = name.find(']');
    if (close == std::string_view::npos) return false;
    const std::string_view rest = name.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return false;
    name = name.substr(0, close + 1);
  } else {
    const std::size_t colon = name.find(':');
    if (colon != std::string_view::npos) {
      if (name.find(':', colon + 1) != std::string_view::npos) return false;
      name = name.substr(0, colon);
    }
  }
  if (name.empty()) return false;
  if (SameLetters(name, "127.0.0.1") || SameLetters(name, "localhost") || SameLetters(name, "[::1]")) return true;
  if (listenHost.empty()) return false;
  if (listenHost.find(':') != std::string_view::npos && listenHost.front() != '[')
    return name.size() == listenHost.size() + 2 && SameLetters(name.substr(1, listenHost.size()), listenHost);
  return SameLetters(name, listenHost);
}

struct HttpServer::Impl {
  const CheckService& service;
  ServerConfig config;
  MHD_socket listenSocket = MHD_INVALID_SOCKET;
  MHD_Daemon* daemon = nullptr;
  std::unique_ptr<CheckPool> pool;
  MHD_Response* outOfMemory = nullptr;  // made at the start, when memory is there

  // The connections, for the watchdog that answers 408 to requests past their deadline.
  std::mutex linksMutex;
  std::unordered_set<Link*> links;
  std::atomic<std::size_t> bodyBytes{0};

  std::mutex stopMutex;
  std::condition_variable stopWake;
  bool stopping = false;

  Impl(const CheckService& checkService, ServerConfig serverConfig)
      : service(checkService), config(std::move(serverConfig)) {}

  ~Impl() {
    if (listenSocket != MHD_INVALID_SOCKET && daemon == nullptr) ::close(listenSocket);
    if (outOfMemory != nullptr) MHD_destroy_response(outOfMemory);
  }

  // --- connections -----------------------------------------------------------------------------

  static void OnConnection(void* cls, MHD_Connection* connection, void** socketContext,
                           MHD_ConnectionNotificationCode code) {
    auto* self = static_cast<Impl*>(cls);
    std::lock_guard<std::mutex> lock(self->linksMutex);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      auto* link = new (std::nothrow) Link;
      if (link == nullptr) return;
      const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      link->fd = info != nullptr ? info->connect_fd : MHD_INVALID_SOCKET;
      try {
        self->links.insert(link);
      } catch (const std::bad_alloc&) {
        delete link;
        return;
      }
      *socketContext = link;
    } else if (auto* link = static_cast<Link*>(*socketContext)) {
      // Called before the socket is closed, under the lock the watchdog holds while it writes.
      self->links.erase(link);
      delete link;
      *socketContext = nullptr;
    }
  }

  static Link* LinkOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info != nullptr ? static_cast<Link*>(info->socket_context) : nullptr;
  }

  // Every request whose head and body have not arrived within the timeout is answered 408 and
  // its connection shut, however slowly its bytes keep coming.
  void Watch() {
    const auto limit = std::chrono::seconds(config.timeoutSeconds);
    std::unique_lock<std::mutex> stop(stopMutex);
    while (!stopWake.wait_for(stop, std::chrono::milliseconds(100), [this] { return stopping; })) {
      const Clock::time_point now = Clock::now();
      std::lock_guard<std::mutex> lock(linksMutex);
      for (Link* link : links) {
        if (!link->arriving || link->timedOut || now - link->phaseStart < limit) continue;
        link->timedOut = true;
        const Answer late = PlainText(408, kRequestLate);
        const std::string text = "HTTP/1.1 408 Request Timeout\r\nConnection: close\r\nContent-Type: " + late.contentType +
                                 "\r\nContent-Length: " + std::to_string(late.body.size()) + "\r\n\r\n" + late.body;
        // The loop writes nothing to a connection whose request is still arriving.
        (void)::send(link->fd, text.data(), text.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::shutdown(link->fd, SHUT_RDWR);
      }
    }
  }

  // --- requests --------------------------------------------------------------------------------

  static MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url, const char* method,
                              const char*, const char* uploadData, std::size_t* uploadSize, void** requestContext) {
    auto* self = static_cast<Impl*>(cls);
    try {
      return self->Handle(connection, url, method, uploadData, uploadSize, requestContext);
    } catch (const std::bad_alloc&) {
      // The answer made in advance needs no memory; while a body arrives no answer may be given,
      // so the connection is closed. Either way the server goes on.
      if (uploadData != nullptr || self->outOfMemory == nullptr) return MHD_NO;
      {
        std::lock_guard<std::mutex> lock(self->linksMutex);
        if (Link* link = LinkOf(connection)) {
          if (link->timedOut) return MHD_NO;
          link->arriving = false;
        }
      }
      return MHD_queue_response(connection, 503, self->outOfMemory);
    }
  }

  static void OnCompleted(void* cls, MHD_Connection* connection, void** requestContext,
                          MHD_RequestTerminationCode) {
    auto* self = static_cast<Impl*>(cls);
    auto* exchange = static_cast<Exchange*>(*requestContext);
    if (exchange != nullptr) {
      self->bodyBytes -= exchange->charged;
      delete exchange;
      *requestContext = nullptr;
    }
    std::lock_guard<std::mutex> lock(self->linksMutex);
    if (Link* link = LinkOf(connection)) {
      link->arriving = true;
      link->phaseStart = Clock::now();
    }
  }

  static std::string Header(MHD_Connection* connection, const char* name) {
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value != nullptr ? value : "";
  }

  bool OriginAllowed(const std::string& origin) const {
    return std::any_of(config.allowedOrigins.begin(), config.allowedOrigins.end(),
                       [&](const std::string& allowed) { return allowed == "*" || allowed == origin; });
  }

  MHD_Result Handle(MHD_Connection* connection, const char* url, const char* method, const char* uploadData,
                    std::size_t* uploadSize, void** requestContext) {
    auto* exchange = static_cast<Exchange*>(*requestContext);
    if (exchange == nullptr) {
      // The head has arrived: answer at once what needs no body.
      exchange = new Exchange;
      *requestContext = exchange;
      if (std::optional<Answer> answer = ReadHead(connection, url, method, *exchange)) return Send(connection, *exchange, std::move(*answer));
      return MHD_YES;
    }
    if (*uploadSize > 0) {
      Receive(connection, *exchange, std::string_view(uploadData, *uploadSize));
      *uploadSize = 0;
      return MHD_YES;
    }
    switch (exchange->stage) {
      case Exchange::Stage::Receiving: {
        if (exchange->refusal) return Send(connection, *exchange, std::move(*exchange->refusal));
        FormFields fields;
        if (std::optional<Answer> refused = ReadFields(connection, *exchange, fields)) return Send(connection, *exchange, std::move(*refused));
        return StartCheck(connection, *exchange, std::move(fields));
      }
      case Exchange::Stage::Checking:
        return MHD_YES;  // resumed before the answer was set: nothing to do yet
      case Exchange::Stage::Ready:
        return Send(connection, *exchange, std::move(exchange->answer));
    }
    return MHD_NO;
  }

  std::optional<Answer> ReadHead(MHD_Connection* connection, const char* url, const char* method, Exchange& exchange) {
    if (!IsOwnHost(Header(connection, MHD_HTTP_HEADER_HOST), config.host))
      return PlainText(403, "Error: this server answers only requests addressed to 127.0.0.1, localhost or [::1]");
    const std::string origin = Header(connection, "Origin");
    if (!origin.empty()) {
      if (!OriginAllowed(origin))
        return PlainText(403, "Error: the origin '" + ValidUtf8(origin.substr(0, 100)) +
                                  "' may not use this server (velmara-server --allow-origin names those that may)");
      exchange.origin = origin;
    }
    if (static_cast<std::size_t>(MHD_get_connection_values(connection, MHD_HEADER_KIND, nullptr, nullptr)) > config.maxHeaders)
      return PlainText(431, "Error: more than " + std::to_string(config.maxHeaders) + " header lines");

    const std::string_view path(url);
    const std::string_view verb(method);
    const bool check = path == "/v2/check";
    if (!check && path != "/v2/languages" && !(verb == "OPTIONS" && path.rfind("/v2/", 0) == 0))
      return PlainText(404, "Error: no such resource");
    if (verb == "OPTIONS") {
      Answer answer = PlainText(204, "");
      answer.body.clear();
      return answer;
    }
    if (verb != "GET" && !(check && verb == "POST")) return PlainText(405, "Error: method not allowed");
    if (!check) return JsonAnswer(service.Languages());
    exchange.post = verb == "POST";
    exchange.contentType = Header(connection, MHD_HTTP_HEADER_CONTENT_TYPE);
    const std::string length = Header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!length.empty()) {
      errno = 0;
      char* end = nullptr;
      const unsigned long long declared = std::strtoull(length.c_str(), &end, 10);
      if (errno != 0 || *end != '\0' || declared > kReadAndDropMost * config.maxBody) return TooLarge();
      if (declared > config.maxBody) {
        // Read and dropped, then refused: a client that sends its whole body before it reads
        // gets the answer rather than a broken connection.
        exchange.refusal = TooLarge();
        return std::nullopt;
      }
      if (!Charge(exchange, declared)) return Busy("the server is busy");
    }
    return std::nullopt;
  }

  Answer TooLarge() const {
    Answer answer = PlainText(413, "Error: the request is larger than " + std::to_string(config.maxBody) + " bytes");
    answer.close = true;
    return answer;
  }

  // Counts `bytes` more of body against the memory all bodies may hold at once.
  bool Charge(Exchange& exchange, std::size_t bytes) {
    if (bytes <= exchange.charged) return true;
    const std::size_t more = bytes - exchange.charged;
    if (bodyBytes.fetch_add(more) + more > config.bodyMemory) {
      bodyBytes -= more;
      return false;
    }
    exchange.charged = bytes;
    return true;
  }

  void Receive(MHD_Connection* connection, Exchange& exchange, std::string_view data) {
    if (exchange.refusal) return;  // the rest is read and dropped
    {
      std::lock_guard<std::mutex> lock(linksMutex);
      const Link* link = LinkOf(connection);
      if (link != nullptr && Clock::now() - link->phaseStart > std::chrono::seconds(config.timeoutSeconds)) {
        exchange.refusal = PlainText(408, kRequestLate);
        exchange.refusal->close = true;
        return;
      }
    }
    const std::size_t size = exchange.body.size() + data.size();
    if (size > config.maxBody) {
      exchange.refusal = TooLarge();
    } else if (!Charge(exchange, size)) {
      exchange.refusal = Busy("the server is busy");
    } else {
      try {
        exchange.body.append(data);
      } catch (const std::bad_alloc&) {
        exchange.refusal = Busy("the server is out of memory");
      }
    }
    if (exchange.refusal) std::string().swap(exchange.body);
  }

  std::optional<Answer> ReadFields(MHD_Connection* connection, Exchange& exchange, FormFields& fields) const {
    if (exchange.post) {
      if (IsMultipartForm(exchange.contentType)) {
        if (!ReadMultipartForm(exchange.contentType, exchange.body, fields))
          return PlainText(400, "Error: the multipart form data is malformed");
      } else {
        ReadUrlEncodedForm(exchange.body, fields);
      }
      std::string().swap(exchange.body);
    }
    // The query's fields as they were sent (the loop leaves them escaped), read as a form is.
    std::string query;
    MHD_get_connection_values_n(
        connection, MHD_GET_ARGUMENT_KIND,
        [](void* out, MHD_ValueKind, const char* key, std::size_t keySize, const char* value, std::size_t valueSize) {
          auto& text = *static_cast<std::string*>(out);
          if (!text.empty()) text += '&';
          text.append(key, keySize);
          if (value != nullptr) text.append("=").append(value, valueSize);
          return MHD_YES;
        },
        &query);
    ReadUrlEncodedForm(query, fields);
    return std::nullopt;
  }

  MHD_Result StartCheck(MHD_Connection* connection, Exchange& exchange, FormFields fields) {
    auto request = ReadCheckRequest(fields, config.maxTextLength);
    if (const RequestError* error = std::get_if<RequestError>(&request))
      return Send(connection, exchange, PlainText(static_cast<unsigned>(error->status), error->message));
    auto shared = std::make_shared<CheckRequest>(std::move(std::get<CheckRequest>(request)));
    exchange.stage = Exchange::Stage::Checking;
    {
      std::lock_guard<std::mutex> lock(linksMutex);
      if (Link* link = LinkOf(connection)) {
        if (link->timedOut) return MHD_NO;
        link->arriving = false;
      }
    }
    MHD_suspend_connection(connection);
    Exchange* target = &exchange;
    const bool taken = pool->TryRun([this, connection, target, shared] {
      Answer answer;
      try {
        if (serverCheckHook) serverCheckHook();
        answer = JsonAnswer(service.Check(*shared));
      } catch (const std::bad_alloc&) {
        answer = Busy("the server is out of memory");
      }
      target->answer = std::move(answer);
      target->stage = Exchange::Stage::Ready;
      MHD_resume_connection(connection);
    });
    if (!taken) {
      exchange.answer = Busy("the server is busy");
      exchange.stage = Exchange::Stage::Ready;
      MHD_resume_connection(connection);
    }
    return MHD_YES;
  }

  MHD_Result Send(MHD_Connection* connection, Exchange& exchange, Answer answer) {
    {
      std::lock_guard<std::mutex> lock(linksMutex);
      if (Link* link = LinkOf(connection)) {
        if (link->timedOut) return MHD_NO;  // told 408 already
        link->arriving = false;
      }
    }
    auto* body = new std::string(std::move(answer.body));
    MHD_Response* response = MHD_create_response_from_buffer_with_free_callback_cls(
        body->size(), body->data(), [](void* text) { delete static_cast<std::string*>(text); }, body);
    if (response == nullptr) {
      delete body;
      return MHD_NO;
    }
    if (answer.status != 204) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
    if (!exchange.origin.empty()) {
      MHD_add_response_header(response, MHD_HTTP_HEADER_ACCESS_CONTROL_ALLOW_ORIGIN, exchange.origin.c_str());
      MHD_add_response_header(response, MHD_HTTP_HEADER_VARY, "Origin");
      if (answer.status == 204) {
        MHD_add_response_header(response, "Access-Control-Allow-Methods", "GET, POST, OPTIONS");
        MHD_add_response_header(response, "Access-Control-Allow-Headers", "Content-Type, Accept");
        MHD_add_response_header(response, "Access-Control-Max-Age", "86400");
      }
    }
    if (answer.retryLater) MHD_add_response_header(response, MHD_HTTP_HEADER_RETRY_AFTER, "1");
    if (answer.close) MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    const MHD_Result queued = MHD_queue_response(connection, answer.status, response);
    MHD_destroy_response(response);
    return queued;
  }

  // Query values are read as given: the form reader decodes them.
  static std::size_t KeepEscaped(void*, MHD_Connection*, char* text) { return std::strlen(text); }
};

HttpServer::HttpServer(const CheckService& service, ServerConfig config)
    : impl_(std::make_unique<Impl>(service, std::move(config))) {}

HttpServer::~HttpServer() { Stop(); }

int HttpServer::Bind() {
  Impl& impl = *impl_;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(impl.config.port);
  if (::getaddrinfo(impl.config.host.c_str(), port.c_str(), &hints, &found) != 0) return -1;
  int bound = -1;
  for (addrinfo* at = found; at != nullptr && bound < 0; at = at->ai_next) {
    const int fd = ::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
    if (fd < 0) continue;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, at->ai_addr, at->ai_addrlen) == 0 && ::listen(fd, 128) == 0) {
      sockaddr_storage address{};
      socklen_t size = sizeof address;
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
      bound = ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                                  : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
      impl.listenSocket = fd;
    } else {
      ::close(fd);
    }
  }
  ::freeaddrinfo(found);
  return bound;
}

bool HttpServer::Serve() {
  Impl& impl = *impl_;
  if (impl.listenSocket == MHD_INVALID_SOCKET) return false;
  const ServerConfig& config = impl.config;
  impl.pool = std::make_unique<CheckPool>(std::max<std::size_t>(config.threads, 1), config.queue);
  if (impl.outOfMemory == nullptr) {
    static constexpr char kOutOfMemory[] = "Error: the server is out of memory, try again\n";
    impl.outOfMemory = MHD_create_response_from_buffer(sizeof kOutOfMemory - 1, const_cast<char*>(kOutOfMemory),
                                                       MHD_RESPMEM_PERSISTENT);
    if (impl.outOfMemory != nullptr) {
      MHD_add_response_header(impl.outOfMemory, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
      MHD_add_response_header(impl.outOfMemory, MHD_HTTP_HEADER_RETRY_AFTER, "1");
    }
  }
  // The head must fit the connection's memory with room for the answer's headers.
  const std::size_t connectionMemory = config.maxHeadBytes + 8 * 1024;
  impl.daemon = MHD_start_daemon(
      MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr, nullptr, &Impl::OnRequest, &impl,
      MHD_OPTION_LISTEN_SOCKET, impl.listenSocket,
      MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(config.maxConnections),
      MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<unsigned>(config.maxPerAddress),
      MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(std::max(1, std::min(config.idleSeconds, config.timeoutSeconds))),
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, connectionMemory,
      MHD_OPTION_NOTIFY_CONNECTION, &Impl::OnConnection, &impl,
      MHD_OPTION_NOTIFY_COMPLETED, &Impl::OnCompleted, &impl,
      MHD_OPTION_UNESCAPE_CALLBACK, &Impl::KeepEscaped, nullptr,
      MHD_OPTION_END);
  if (impl.daemon == nullptr) {
    impl.pool.reset();
    return false;
  }
  impl.Watch();  // until Stop()
  // Checks under way finish and their connections are resumed before the loop stops.
  impl.pool->Close();
  MHD_stop_daemon(impl.daemon);
  impl.pool.reset();
  impl.listenSocket = MHD_INVALID_SOCKET;
  return true;
}

void HttpServer::Stop() {
  std::lock_guard<std::mutex> lock(impl_->stopMutex);
  impl_->stopping = true;
  impl_->stopWake.notify_all();
}

}  // namespace velmara::server
