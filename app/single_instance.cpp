#include "app/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace velmara {

namespace {
constexpr int kAnswerMs = 1000;
constexpr QByteArrayView kShow = "mostrar\n";
}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

QString SingleInstance::SessionName() {
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::tempPath();
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  return folder + QStringLiteral("/velmara-%1%2").arg(::getuid()).arg(display.isEmpty() ? QString() : '-' + display);
}

bool SingleInstance::AskToShow() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kAnswerMs)) return false;
  socket.write(kShow.data(), kShow.size());
  socket.waitForBytesWritten(kAnswerMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::HandOverToRunningInstance() {
  // Two starts at the same moment: the one that loses the race to listen finds the other.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (AskToShow()) return true;
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (server->listen(name_)) {
      server_ = server;
      connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
          const auto read = [this, peer] {
            if (peer->readAll().contains(kShow.data())) emit ShowRequested();
          };
          connect(peer, &QLocalSocket::readyRead, this, read);
          connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
          read();
        }
      });
      return false;
    }
    delete server;
    // Nobody answers at a socket that is there: an instance that ended without removing it.
    if (!AskToShow()) QLocalServer::removeServer(name_);
  }
  return false;
}

}  // namespace velmara
