#pragma once
// The clipboard of a Wayland session as a clipboard manager sees it. A Wayland program learns of
// a new selection only while one of its windows has the focus, and this program lives in the
// notification area; compositors that offer the data-control protocol (ext_data_control_v1, or
// wlroots' zwlr_data_control_manager_v1: sway, Hyprland, KWin) tell a clipboard manager of every
// copy. The watcher speaks that protocol on a connection of its own and reads each new text.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class QSocketNotifier;

namespace velmara {

// True when the session's compositor (WAYLAND_DISPLAY) offers a data-control protocol.
bool WaylandOffersDataControl();

class WaylandClipboardWatcher : public QObject {
  Q_OBJECT
 public:
  // Watching from now on; nullptr without a Wayland session or without the protocol.
  static std::unique_ptr<WaylandClipboardWatcher> Start();
  ~WaylandClipboardWatcher() override;

  // The text of the selection (empty when it holds none), and how many new selections have been
  // read since the watch started (the selection found at the start does not count).
  const QString& Text() const { return text_; }
  std::uint64_t Changes() const { return changes_; }

  // The connection and its protocol objects; defined only where the protocol is built in.
  struct Connection;

 signals:
  void Changed();

 private:
  explicit WaylandClipboardWatcher(std::unique_ptr<Connection> connection);
  void Dispatch();
  void Receive(int descriptor);
  void ReadMore();
  // Reads the selection being received until it is whole or `milliseconds` have passed.
  void WaitForText(int milliseconds);
  void Finish(bool complete);

  std::unique_ptr<Connection> connection_;
  QSocketNotifier* events_ = nullptr;
  QSocketNotifier* reading_ = nullptr;
  QByteArray incoming_;
  QString text_;
  std::uint64_t changes_ = 0;
  bool first_ = true;
};

}  // namespace velmara
