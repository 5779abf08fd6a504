#pragma once
// Reading what list widgets show, and driving a dialog that the code under test shows and waits on.

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "ui/text.h"

namespace velmara::testing {

// The rows of a list widget, back in Windows-1252.
inline std::vector<std::string> Rows(const QListWidget* list) {
  std::vector<std::string> rows;
  for (int row = 0; row < list->count(); ++row) rows.push_back(ToWindows1252(list->item(row)->text()));
  return rows;
}

// The format of the character at a 0-based position of a text box.
inline QTextCharFormat FormatAt(QTextEdit& box, int position) {
  QTextCursor cursor(box.document());
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

// Sends one press of `key` to `widget`, as the keyboard would.
inline void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

// Runs `drive` on the visible top-level window of type T as soon as it shows. The event loop may
// turn many times before (a check run pumps after every word), so it keeps looking for a few
// seconds; a window that never shows is a failure, not a hang.
template <typename T>
void WhenShown(std::function<void(T&)> drive) {
  auto* timer = new QTimer;
  timer->setInterval(1);
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, drive, tries] {
    T* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<T*>(widget); window && window->isVisible()) shown = window;
    if (!shown && ++*tries < 5000) return;
    timer->stop();
    timer->deleteLater();
    if (shown)
      drive(*shown);
    else
      ADD_FAILURE() << "the window was never shown";
  });
  timer->start();
}

}  // namespace velmara::testing
