#pragma once
// The about box "Autor": an animated picture, thanks, credits and the word-list statistics. It
// closes only by its "Salir" button: close box, Alt+F4, Escape and minimising are refused.

#include <QDialog>
#include <QTimer>

class QLabel;

namespace velmara {

struct AppState;

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFrameMilliseconds = 100;

  // The statistics are read when the box is built and stay as they are while it shows.
  explicit AboutBox(const AppState& state, QWidget* parent = nullptr);

  // Shows the next animation frame: 701 first, then up to 707 and round again.
  void Tick();
  int shownFrame() const { return shownFrame_; }
  const QTimer& timer() const { return timer_; }

  void done(int result) override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QLabel* image_ = nullptr;
  QTimer timer_;
  int nextFrame_;
  int shownFrame_;
};

// Shows the box modally, without owner, and returns when "Salir" closes it.
void ShowAboutBox(const AppState& state);

}  // namespace velmara
