#pragma once
// One desktop program per user session: a second start asks the first to show its window and
// ends, so there is one icon and one clipboard watcher. The instances meet at a local socket in
// the user's runtime folder, named after the user and the display.

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmara {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `name` is a socket path, or a bare name placed in the runtime folder.
  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // The name for this user on this display ($XDG_RUNTIME_DIR, or the temporary folder).
  static QString SessionName();

  // True when another instance runs: it has been asked to show its window and this one should
  // end. Otherwise this one listens for later starts from now on (a socket left by an instance
  // that ended badly is taken over).
  bool HandOverToRunningInstance();

 signals:
  void ShowRequested();

 private:
  bool AskToShow();

  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace velmara
