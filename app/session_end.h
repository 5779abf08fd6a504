#pragma once
// The ends a desktop gives a program that lives in the notification area: SIGTERM at logout (or
// from systemd), SIGHUP when its terminal goes, SIGINT from Ctrl+C, and the session manager's
// request to commit its data. Each is a normal end here, as "&Quitar" is: the program is told on
// its own thread, where it may write its settings and close.

#include <QObject>

class QSocketNotifier;

namespace velmara {

class SessionEnd : public QObject {
  Q_OBJECT
 public:
  // Catches the three signals for as long as the object lives; the handlers in place before
  // come back when it goes.
  explicit SessionEnd(QObject* parent = nullptr);
  ~SessionEnd() override;

 signals:
  // A signal arrived: the program should save and end.
  void EndRequested();
  // The session manager asks for the data to be written now; the program may go on.
  void CommitRequested();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velmara
