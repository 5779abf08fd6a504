#pragma once
// The apology box "Disculpas": shown once at every start, before the main window; it closes by
// itself after a minute, or at once by its close box.

#include <QDialog>
#include <QTimer>

namespace velmara {

class ApologyBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTicksBeforeClosing = 60;
  static constexpr int kTickMilliseconds = 1000;

  explicit ApologyBox(QWidget* parent = nullptr);

  // One second has passed; the sixtieth closes the box. The timer calls it; tests call it too.
  void Tick();
  const QTimer& timer() const { return timer_; }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTimer timer_;
  int ticks_ = 0;
};

// Shows the box modally, without owner, and returns when it has closed.
void ShowApologyBox();

}  // namespace velmara
