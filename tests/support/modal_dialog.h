#pragma once
// Drives a function that shows a modal dialog and waits for it: once the dialog is up, `act`
// gets it; whatever `act` leaves open is then ended, so a test can never hang on a dialog.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace velmara::testing {

// True when a dialog of type Dialog came up and was handed to `act`.
template <typename Dialog>
bool WhileModal(const std::function<void()>& show, const std::function<void(Dialog&)>& act) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      seen = true;
      act(*dialog);
    }
    if (auto* still = qobject_cast<QDialog*>(QApplication::activeModalWidget())) still->done(QDialog::Rejected);
  });
  show();
  return seen;
}

}  // namespace velmara::testing
