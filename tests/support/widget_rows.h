#pragma once
// Reading what list widgets show, back in the program's Windows-1252.

#include <QApplication>
#include <QListWidget>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/text.h"

namespace velmara::testing {

inline std::vector<std::string> Rows(const QListWidget* list) {
  std::vector<std::string> rows;
  for (int row = 0; row < list->count(); ++row) rows.push_back(ToWindows1252(list->item(row)->text()));
  return rows;
}

// The visible top-level window of type T, for tests that drive a dialog shown by the code under test.
template <typename T>
T* OpenWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<T*>(widget); window && window->isVisible()) return window;
  return nullptr;
}

}  // namespace velmara::testing
