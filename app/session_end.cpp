#include "app/session_end.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace velmara {

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGHUP, SIGINT};

// The writing end of the pipe the handler wakes the program through; -1 when none is set up.
volatile std::sig_atomic_t wakeDescriptor = -1;
std::array<struct sigaction, kEndSignals.size()> previousActions{};

void OnEndSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  // Async-signal-safe; a full pipe already holds a wake-up.
  if (wakeDescriptor >= 0) {
    [[maybe_unused]] const ssize_t written = ::write(wakeDescriptor, &byte, 1);
  }
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair) != 0) return;
  wakeDescriptor = pair[1];
  notifier_ = new QSocketNotifier(pair[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(static_cast<int>(notifier_->socket()), bytes, sizeof bytes) > 0) {
    }
    emit EndRequested();
  });
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kEndSignals.size(); ++i) ::sigaction(kEndSignals[i], &action, &previousActions[i]);
  if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(application, &QGuiApplication::commitDataRequest, this, &SessionEnd::CommitRequested);
  }
}

SessionEnd::~SessionEnd() {
  if (notifier_ == nullptr) return;
  for (std::size_t i = 0; i < kEndSignals.size(); ++i) ::sigaction(kEndSignals[i], &previousActions[i], nullptr);
  const int writing = wakeDescriptor;
  wakeDescriptor = -1;
  ::close(writing);
  ::close(static_cast<int>(notifier_->socket()));
}

}  // namespace velmara
