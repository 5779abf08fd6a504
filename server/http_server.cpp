#include "server/http_server.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velmara::server {
namespace {

// Set while a connection is served only to be told the server is busy.
thread_local bool tTurnedAway = false;

// A fixed number of threads and a bounded line of connections waiting for one. A connection
// that finds the line full is answered 503 on the listening thread (its request read under the
// read timeout and the body limit), so neither threads nor memory grow with the load.
class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(std::size_t threads, std::size_t queue) : limit_(threads + queue) {
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~BoundedPool() override = default;

  void enqueue(std::function<void()> job) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (jobs_.size() + running_ < limit_) {
        jobs_.push_back(std::move(job));
        wake_.notify_one();
        return;
      }
    }
    tTurnedAway = true;
    job();
    tTurnedAway = false;
  }

  void shutdown() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
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
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
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

  const std::size_t limit_;  // connections being served or waiting
  std::vector<std::thread> threads_;
  std::deque<std::function<void()>> jobs_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::size_t running_ = 0;
  bool stopping_ = false;
};

void PlainText(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(message + "\n", "text/plain; charset=utf-8");
}

void Json(httplib::Response& res, const nlohmann::json& json) {
  res.status = 200;
  // A text the client sent is valid UTF-8 by now; replace, never throw, should one slip by.
  res.set_content(json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

}  // namespace

struct HttpServer::Impl {
  const CheckService& service;
  ServerConfig config;
  httplib::Server http;

  Impl(const CheckService& checkService, ServerConfig serverConfig)
      : service(checkService), config(std::move(serverConfig)) {
    const std::size_t threads = config.threads == 0 ? 1 : config.threads;
    const std::size_t queue = config.queue;
    http.new_task_queue = [threads, queue] { return new BoundedPool(threads, queue); };
    http.set_payload_max_length(config.maxBody);
    http.set_read_timeout(config.timeoutSeconds, 0);
    http.set_write_timeout(config.timeoutSeconds, 0);
    http.set_tcp_nodelay(true);  // an answer written in two parts is not held back by delayed ACKs
    http.set_keep_alive_timeout(2);
    http.set_keep_alive_max_count(100);
    http.set_default_headers({{"Access-Control-Allow-Origin", "*"}});

    http.set_pre_routing_handler([](const httplib::Request&, httplib::Response& res) {
      if (!tTurnedAway) return httplib::Server::HandlerResponse::Unhandled;
      res.set_header("Connection", "close");
      res.set_header("Retry-After", "1");
      PlainText(res, 503, "Error: the server is busy, try again");
      return httplib::Server::HandlerResponse::Handled;
    });
    http.Options(R"(/v2/.*)", [](const httplib::Request&, httplib::Response& res) {
      res.status = 204;
      res.set_header("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
      res.set_header("Access-Control-Allow-Headers", "Content-Type, Accept");
      res.set_header("Access-Control-Max-Age", "86400");
    });
    http.Get("/v2/languages", [this](const httplib::Request&, httplib::Response& res) { Json(res, service.Languages()); });
    http.Get("/v2/check", [this](const httplib::Request& req, httplib::Response& res) {
      FormFields fields;
      ReadQuery(req, fields);
      Answer(fields, res);
    });
    http.Post("/v2/check", [this](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
      FormFields fields;
      switch (ReadBody(req, reader, fields)) {
        case BodyRead::Whole: break;
        case BodyRead::TooLarge:
          PlainText(res, 413, "Error: the request is larger than " + std::to_string(config.maxBody) + " bytes");
          return;
        case BodyRead::TooSlow:
          res.set_header("Connection", "close");
          PlainText(res, 408, "Error: the request did not arrive in time");
          return;
      }
      ReadQuery(req, fields);
      Answer(fields, res);
    });
    http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
      if (res.body.empty()) PlainText(res, res.status, "Error: " + std::to_string(res.status));
    });
  }

  static void ReadQuery(const httplib::Request& req, FormFields& fields) {
    for (const auto& [name, value] : req.params) SetField(fields, name, value);
  }

  enum class BodyRead { Whole, TooLarge, TooSlow };

  // The body's fields, URL-encoded or multipart. The read timeout bounds each wait for data; the
  // whole body must also arrive within the timeout, so a trickle of bytes cannot hold a thread.
  BodyRead ReadBody(const httplib::Request& req, const httplib::ContentReader& reader, FormFields& fields) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(config.timeoutSeconds);
    std::size_t received = 0;
    bool late = false;
    const auto count = [&](std::size_t length) {
      late = late || std::chrono::steady_clock::now() > deadline;
      return !late && (received += length) <= config.maxBody;
    };
    const auto outcome = [&](bool ok) {
      return late ? BodyRead::TooSlow : ok && received <= config.maxBody ? BodyRead::Whole : BodyRead::TooLarge;
    };
    if (req.is_multipart_form_data()) {
      std::string name;
      std::string value;
      bool ok = reader(
          [&](const httplib::MultipartFormData& part) {
            if (!name.empty()) SetField(fields, name, std::move(value));
            name = part.name;
            value.clear();
            return true;
          },
          [&](const char* data, std::size_t length) {
            if (!count(length)) return false;
            if (IsFormField(name)) value.append(data, length);
            return true;
          });
      if (ok && !name.empty()) SetField(fields, name, std::move(value));
      return outcome(ok);
    }
    std::string body;
    const bool ok = reader([&](const char* data, std::size_t length) {
      if (!count(length)) return false;
      body.append(data, length);
      return true;
    });
    if (outcome(ok) == BodyRead::Whole) ReadUrlEncodedForm(body, fields);
    return outcome(ok);
  }

  void Answer(const FormFields& fields, httplib::Response& res) const {
    auto request = ReadCheckRequest(fields, config.maxTextLength);
    if (const RequestError* error = std::get_if<RequestError>(&request)) {
      PlainText(res, error->status, error->message);
      return;
    }
    Json(res, service.Check(std::get<CheckRequest>(request)));
  }
};

HttpServer::HttpServer(const CheckService& service, ServerConfig config)
    : impl_(std::make_unique<Impl>(service, std::move(config))) {}

HttpServer::~HttpServer() { Stop(); }

int HttpServer::Bind() {
  if (impl_->config.port == 0) return impl_->http.bind_to_any_port(impl_->config.host);
  return impl_->http.bind_to_port(impl_->config.host, impl_->config.port) ? impl_->config.port : -1;
}

bool HttpServer::Serve() { return impl_->http.listen_after_bind(); }

void HttpServer::Stop() {
  impl_->http.stop();
}

}  // namespace velmara::server
