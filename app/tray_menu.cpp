#include "app/tray_menu.h"

#include <QTimer>

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/menu_ids.h"
#include "resources/artwork.h"
#include "tools/colour_swatch_icon.h"
#include "ui/interaction.h"
#include "ui/pictures.h"
#include "ui/text.h"

namespace velmara {

TrayMenu::TrayMenu(Interaction& interaction, QObject* parent)
    : QObject(parent), interaction_(interaction), menu_(std::make_unique<QMenu>()) {
  BuildMenu();
}

TrayMenu::~TrayMenu() = default;

QAction* TrayMenu::AddItem(QMenu* menu, const char* windows1252Text, int id) {
  QAction* action = menu->addAction(ToQString(windows1252Text));
  action->setData(id);
  actions_[id] = action;
  connect(action, &QAction::triggered, this, [this, id] { emit CommandChosen(id); });
  return action;
}

void TrayMenu::BuildMenu() {
  using namespace command;
  QMenu* colours = menu_->addMenu(ToQString("Colores"));
  AddItem(colours, "Colores Favoritos", kFavouriteColours)->setIcon(ColoresBitmap());
  colours->addSeparator();
  AddItem(colours, "Corregidos", kCorrectedColour);
  AddItem(colours, "Faltantes", kMissingColour);
  AddItem(colours, "Verbos correctos", kVerbColour);
  AddItem(colours, "Verbos dudosos", kDoubtfulVerbColour);
  AddItem(colours, "Falsos Positivos", kFalsePositiveColour);

  QMenu* rules = menu_->addMenu(ToQString("Reglas de Ortograf\xED" "a"));
  const char* ruleItems[] = {"La b", "La v", "La c y z", "La g", "La h", "La j", "La m y n", "La rr", "La y"};
  for (int i = 0; i <= kRulesLast - kRulesFirst; ++i) {
    if (i > 0) rules->addSeparator();
    AddItem(rules, ruleItems[i], kRulesFirst + i);
  }

  AddItem(menu_.get(), "Bibliograf\xED" "a", kBibliography);
  AddItem(menu_.get(), "Detector Velmara", kCheck);
  menu_->addSeparator();
  AddItem(menu_.get(), "Configuraci\xF3n", kOptions);
  menu_->addSeparator();
  AddItem(menu_.get(), "Exportar con formato", kExport)->setEnabled(false);
  menu_->addSeparator();
  AddItem(menu_.get(), "&Mostrar", kShow)->setCheckable(true);
  QAction* hide = AddItem(menu_.get(), "&Ocultar", kHide);
  hide->setCheckable(true);
  hide->setChecked(true);
  menu_->addSeparator();
  AddItem(menu_.get(), "Buscador", kFinder);
  menu_->addSeparator();
  AddItem(menu_.get(), "&Autor", kAbout);
  menu_->addSeparator();
  AddItem(menu_.get(), "&Quitar", kQuit);
}

QAction* TrayMenu::Action(int id) const {
  auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void TrayMenu::ShowIcon() {
  if (!tray_) {
    tray_ = new QSystemTrayIcon(ProgramIcon(), this);
    tray_->setToolTip(ToQString("\xA9 Velmara - Brumel -"));
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) Popup();
    });
    connect(tray_, &QSystemTrayIcon::messageClicked, this, [this] {
      if (noticeShown_) {
        emit NotificationClicked();
        return;
      }
      interaction_.Beep(750, 50);
      interaction_.Beep(550, 50);
    });
  }
  tray_->show();
  ShowWelcomeBalloon(kBalloonPlacementTries);
}

void TrayMenu::ShowWelcomeBalloon(int triesLeft) {
  // The notification area places the icon a moment after it is shown; the balloon points at the
  // icon once the platform says where it is, and at worst shows where the platform puts it.
  // Until it is embedded the icon reports an empty place or one at the screen's corner.
  const QRect place = tray_->geometry();
  if ((place.isEmpty() || place.topLeft().isNull()) && triesLeft > 0) {
    QTimer::singleShot(kBalloonPlacementWaitMs, this, [this, triesLeft] {
      if (tray_ && tray_->isVisible()) ShowWelcomeBalloon(triesLeft - 1);
    });
    return;
  }
  noticeShown_ = false;
  tray_->showMessage(ToQString("\xAE Velmara ..."), ToQString("BienVenido ..."), QSystemTrayIcon::NoIcon, 10000);
}

bool TrayMenu::Notify(const std::string& title, const std::string& text) {
  if (!IconShown() || !QSystemTrayIcon::supportsMessages()) return false;
  noticeShown_ = true;
  tray_->showMessage(ToQString(title), ToQString(text), ProgramIcon(), 10000);
  return true;
}

void TrayMenu::HideIcon() {
  if (tray_) tray_->hide();
}

bool TrayMenu::IconShown() const { return tray_ && tray_->isVisible(); }

void TrayMenu::Popup() {
  QSize size = menu_->sizeHint();
  menu_->popup(QCursor::pos() - QPoint(size.width(), size.height()));
}

void TrayMenu::SetShownMarks(bool shown) {
  Action(command::kShow)->setChecked(shown);
  Action(command::kHide)->setChecked(!shown);
}

void TrayMenu::ShowColourSwatches(const Settings& settings, const std::filesystem::path& swatchFolder) {
  const auto swatch = [&](std::int32_t setting) {
    return MakeColourSwatch(swatchFolder, static_cast<std::uint32_t>(setting) & 0xFFFFFF);
  };
  Action(command::kCorrectedColour)->setIcon(swatch(settings.Corregidos));
  Action(command::kMissingColour)->setIcon(swatch(settings.MissingColour));
  Action(command::kVerbColour)->setIcon(swatch(settings.Verbos_Bien));
  Action(command::kDoubtfulVerbColour)->setIcon(swatch(settings.Verbos_Duda));
  Action(command::kFalsePositiveColour)->setIcon(swatch(settings.FalsePositiveColour));
}

}  // namespace velmara
