// velmara-server-load: many clients at once against a running velmara-server on loopback, for a
// fixed time. Each client posts paragraphs of a real text in turn; every answer is compared with
// the one the server gave the same paragraph alone beforehand.
//
//   velmara-server-load --port N --pid PID --text FILE [--clients 8] [--seconds 5]
//
// Prints requests a second, the 50th and 99th percentile latency, the server's resident memory
// before and after, and the failed and wrong answers (exit status 1 if there are any).

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

using Clock = std::chrono::steady_clock;

// VmRSS of a process in KiB, 0 when it cannot be read.
long ResidentKiB(long pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// Paragraphs of the text (split at blank lines), each cut to about 2000 bytes at a line end.
std::vector<std::string> Paragraphs(const std::string& file, std::size_t count) {
  std::ifstream in(file);
  std::vector<std::string> paragraphs;
  std::string line, current;
  while (std::getline(in, line) && paragraphs.size() < count) {
    if (line.empty() || current.size() + line.size() > 2000) {
      if (current.size() > 200) paragraphs.push_back(current);
      current.clear();
    }
    if (!line.empty()) current += line + "\n";
  }
  return paragraphs;
}

std::string Matches(const std::string& body) {
  const nlohmann::json answer = nlohmann::json::parse(body, nullptr, false);
  if (answer.is_discarded() || !answer.contains("matches")) return {};
  return answer["matches"].dump();
}

}  // namespace

int main(int argc, char** argv) {
  int port = 8081, clients = 8, seconds = 5;
  long pid = 0;
  std::string textFile;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i], value = argv[i + 1];
    if (arg == "--port") port = std::stoi(value);
    else if (arg == "--pid") pid = std::stol(value);
    else if (arg == "--text") textFile = value;
    else if (arg == "--clients") clients = std::clamp(std::stoi(value), 1, 64);
    else if (arg == "--seconds") seconds = std::clamp(std::stoi(value), 1, 60);
  }
  const std::vector<std::string> paragraphs = Paragraphs(textFile, 400);
  if (paragraphs.empty()) {
    std::cerr << "velmara-server-load: no paragraphs in '" << textFile << "'\n";
    return 2;
  }

  // The answer to each paragraph alone, before any load.
  std::vector<std::string> expected;
  {
    httplib::Client client("127.0.0.1", port);
    for (const std::string& paragraph : paragraphs) {
      const httplib::Result result = client.Post("/v2/check", httplib::Params{{"text", paragraph}, {"language", "es"}});
      if (!result || result->status != 200) {
        std::cerr << "velmara-server-load: the server does not answer on port " << port << '\n';
        return 2;
      }
      expected.push_back(Matches(result->body));
    }
  }

  const long residentBefore = pid ? ResidentKiB(pid) : 0;
  std::atomic<long> failed{0}, wrong{0};
  std::mutex latenciesMutex;
  std::vector<double> latencies;
  const Clock::time_point start = Clock::now();
  const Clock::time_point stop = start + std::chrono::seconds(seconds);
  std::vector<std::thread> threads;
  for (int t = 0; t < clients; ++t) {
    threads.emplace_back([&, t] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      std::vector<double> mine;
      for (std::size_t k = static_cast<std::size_t>(t); Clock::now() < stop; k += static_cast<std::size_t>(clients)) {
        const std::size_t p = k % paragraphs.size();
        const Clock::time_point sent = Clock::now();
        const httplib::Result result = client.Post("/v2/check", httplib::Params{{"text", paragraphs[p]}, {"language", "es"}});
        mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        if (!result || result->status != 200) ++failed;
        else if (Matches(result->body) != expected[p]) ++wrong;
      }
      std::lock_guard<std::mutex> lock(latenciesMutex);
      latencies.insert(latencies.end(), mine.begin(), mine.end());
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  const long residentAfter = pid ? ResidentKiB(pid) : 0;

  std::sort(latencies.begin(), latencies.end());
  const auto percentile = [&](double q) {
    return latencies.empty() ? 0.0 : latencies[std::min(latencies.size() - 1, static_cast<std::size_t>(q * static_cast<double>(latencies.size())))];
  };
  std::printf("velmara-server under load: %d clients for %d s, %zu paragraphs (mean %zu bytes)\n", clients, seconds,
              paragraphs.size(), [&] {
                std::size_t total = 0;
                for (const std::string& p : paragraphs) total += p.size();
                return total / paragraphs.size();
              }());
  std::printf("  requests: %zu (%.0f a second)\n", latencies.size(), static_cast<double>(latencies.size()) / elapsed);
  std::printf("  latency:  p50 %.2f ms, p99 %.2f ms\n", percentile(0.50), percentile(0.99));
  std::printf("  resident: %.1f MiB before, %.1f MiB after\n", static_cast<double>(residentBefore) / 1024.0,
              static_cast<double>(residentAfter) / 1024.0);
  std::printf("  failed:   %ld, wrong answers: %ld\n", failed.load(), wrong.load());
  return failed == 0 && wrong == 0 ? 0 : 1;
}
