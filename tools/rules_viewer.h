#pragma once
// The viewer "Reglas Ortográficas": one page of Spanish spelling rules, chosen by letter code
// from the "Reglas de Ortografía" submenu.

#include <QDialog>
#include <QImage>

#include <string_view>

namespace velmara {

class RulesViewer : public QDialog {
  Q_OBJECT

 public:
  // A code without a page leaves the page white.
  explicit RulesViewer(std::string_view code, QWidget* parent = nullptr);
  const QImage& page() const { return page_; }

 private:
  QImage page_;
};

// Shows the page modally, without owner, and returns when the viewer is closed.
void ShowRulesViewer(std::string_view code);

}  // namespace velmara
