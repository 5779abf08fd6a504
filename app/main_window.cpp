#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/country_choice.h"
#include "app/file_locations.h"
#include "app/menu_ids.h"
#include "app/tray_menu.h"
#include "suggest/result_menu.h"
#include "ui/interaction.h"
#include "ui/pictures.h"
#include "ui/text.h"
#include "suggest/suggester.h"
#include "worddb/countries.h"
#include "worddb/loading_animation.h"
#include "worddb/user_words.h"

namespace velmara {

MainWindow::MainWindow(AppState& state, Interaction& interaction, bool notificationArea)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                               Qt::WindowStaysOnTopHint),
      state_(state),
      interaction_(interaction),
      notificationArea_(notificationArea),
      clipboardPoll_(new QTimer(this)),
      tray_(new TrayMenu(interaction, this)),
      commands_(std::make_unique<Commands>(state, interaction, *this)) {
  setWindowTitle(ToQString("Detector Velmara desde clipboard"));
  setWindowIcon(ProgramIcon());
  move(70, 70);
  CreateBoxes();
  CreateStatusBar();
  setFixedSize(620, 340);

  connect(clipboardPoll_, &QTimer::timeout, this, [this] { commands_->ClipboardTick(); });
  connect(tray_, &TrayMenu::CommandChosen, this, [this](int id) { commands_->Run(id); });
  connect(tray_, &TrayMenu::NotificationClicked, this, [this] { commands_->OfferSuggestions(); });
  // Until their dialogs are plugged in, the items of the side tools cannot be chosen.
  for (int id = 200; id <= 230; ++id) {
    if (QAction* action = tray_->Action(id)) action->setEnabled(commands_->HasCommand(id) && id != command::kExport);
  }
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateBoxes() {
  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(8);
  QFont font(QStringLiteral("MS Sans Serif"), 11);
  font.setStyleHint(QFont::SansSerif);
  for (QTextEdit** box : {&mainBox_, &resultBox_}) {
    *box = new QTextEdit(central);
    (*box)->setReadOnly(true);
    // Read-only, yet the keyboard scrolls, selects and copies as in any text.
    (*box)->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    (*box)->setAcceptRichText(false);
    (*box)->setFont(font);
    (*box)->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    (*box)->setFrameShadow(QFrame::Sunken);
    (*box)->document()->setUndoRedoEnabled(false);
    layout->addWidget(*box);
  }
  mainBox_->setObjectName(QStringLiteral("mainBox"));
  resultBox_->setObjectName(QStringLiteral("resultBox"));
  resultBox_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(resultBox_, &QWidget::customContextMenuRequested, this, &MainWindow::OpenResultBoxMenu);
  setCentralWidget(central);
}

void MainWindow::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  QFont font(QStringLiteral("MS Sans Serif"), 10, QFont::Bold);
  font.setStyleHint(QFont::SansSerif);
  bar->setFont(font);

  auto* first = new QWidget(bar);
  auto* firstLayout = new QHBoxLayout(first);
  firstLayout->setContentsMargins(2, 0, 2, 0);
  firstLayout->setSpacing(4);
  statusIcon_ = new QLabel(first);
  statusIcon_->setFixedSize(16, 16);
  statusParts_[0] = new QLabel(first);
  firstLayout->addWidget(statusIcon_);
  firstLayout->addWidget(statusParts_[0], 1);
  first->setFixedWidth(312);
  bar->addWidget(first);
  statusParts_[1] = new QLabel(bar);
  statusParts_[1]->setFixedWidth(200);
  bar->addWidget(statusParts_[1]);
  statusParts_[2] = new QLabel(bar);
  statusParts_[2]->setMinimumWidth(112);
  bar->addWidget(statusParts_[2], 1);
}

bool MainWindow::Initialise() {
  state_.finderMode = FinderMode::All;
  RearmClipboardTimer();
  if (!CheckWordDatabasePresent(state_.DatabaseFolder())) {
    interaction_.ShowMessageBox("No puedo cargar bd ...", MessageButtons::Ok, true);
    Quit();
    return false;
  }
  LoadDatabase();
  if (notificationArea_) {
    tray_->ShowIcon();
  } else {
    OfferMenuInWindow();
  }
  tray_->ShowColourSwatches(state_.settings, state_.Files().swatchFile.parent_path());
  return true;
}

void MainWindow::LoadDatabase() {
  // The country chosen in "Configuración"; one no longer installed gives way to the database's own.
  const CountryChoice choice = ChooseCountry(
      state_.DatabaseFolder(), std::nullopt, [](const char*) { return std::optional<std::string>(); }, state_.settings);
  ScreenLoadHooks hooks(interaction_);
  // The loading animation lets events through while the lists are half made.
  FlagScope loading(state_.loading);
  state_.database = WordDatabase();
  LoadCountryDatabase(state_.DatabaseFolder(), choice.differences, state_.database, hooks,
                      state_.Files().cacheFolder, StoredSuggesterIndex);
  LoadUserWords(state_.Files().userWordsFile, state_.database);
  state_.country = choice.country;
}

void MainWindow::OfferMenuInWindow() {
  tray_->Menu()->setTitle(ToQString("Men\xFA"));
  menuBar()->addMenu(tray_->Menu());
  mainBox_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(mainBox_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { tray_->Menu()->popup(mainBox_->mapToGlobal(at)); });
  ShowWindow();
}

void MainWindow::OpenResultBoxMenu(const QPoint& at) {
  const QPoint global = resultBox_->viewport()->mapToGlobal(at);
  // Over a missing word: its suggestions; elsewhere the box's own menu, or the program's when it
  // has no notification area to carry it.
  QMenu* menu = NewSuggestionMenu(*resultBox_, state_, resultBox_->cursorForPosition(at).position());
  if (menu == nullptr && !notificationArea_) {
    tray_->Menu()->popup(global);
    return;
  }
  if (menu == nullptr) {
    menu = resultBox_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
  }
  menu->popup(global);
}

void MainWindow::SetCommand(int id, std::function<void()> handler) {
  commands_->SetCommand(id, std::move(handler));
  if (QAction* action = tray_->Action(id)) action->setEnabled(id != command::kExport || state_.exportEnabled);
}

QAction* MainWindow::Action(int id) const { return tray_->Action(id); }

void MainWindow::SetSuggestions(std::function<void()> handler) { commands_->SetSuggestions(std::move(handler)); }

QMenu* MainWindow::Menu() const { return tray_->Menu(); }

QLabel& MainWindow::StatusPart(int part) { return *statusParts_[part - 1]; }

void MainWindow::ScrollBoxesToStart() {
  for (QTextEdit* box : {mainBox_, resultBox_}) {
    box->moveCursor(QTextCursor::Start);
    // The cursor alone may leave the view a few pixels down while a long text is still being
    // laid out; the scroll bars are set too.
    box->verticalScrollBar()->setValue(0);
    box->horizontalScrollBar()->setValue(0);
  }
}

void MainWindow::ShowStatusIcon() { statusIcon_->setPixmap(ProgramIcon().pixmap(16, 16)); }

bool MainWindow::StatusIconShown() const { return !statusIcon_->pixmap().isNull(); }

void MainWindow::ShowWindow() {
  tray_->SetShownMarks(true);
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  // The window stays on top; a dialog of ours that is open (the options, the finder) stays in
  // front of it, not hidden behind with its buttons.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != this && widget->isVisible() && qobject_cast<QDialog*>(widget)) widget->raise();
  }
}

void MainWindow::HideWindow() {
  tray_->SetShownMarks(false);
  // Without a notification area a hidden window could never come back: it only goes down.
  if (notificationArea_) {
    hide();
  } else {
    showMinimized();
  }
}

void MainWindow::Quit() {
  if (closed_) return;
  closed_ = true;
  clipboardPoll_->stop();
  tray_->HideIcon();
  close();
  emit WindowClosed();
}

void MainWindow::RearmClipboardTimer() {
  clipboardPoll_->stop();
  if (state_.settings.Hay_clipboard != 0) {
    if (!interaction_.CanWatchClipboard() && !toldClipboardUnwatched_) {
      toldClipboardUnwatched_ = true;
      interaction_.ShowMessageBox(kClipboardUnwatchedMessage, MessageButtons::Ok, true);
    }
    commands_->RememberClipboard();
    clipboardPoll_->start(kClipboardPollMs);
  }
}

bool MainWindow::ClipboardPollActive() const { return clipboardPoll_->isActive(); }

void MainWindow::SetExportEnabled(bool enabled) {
  state_.exportEnabled = enabled;
  tray_->Action(command::kExport)->setEnabled(enabled && commands_->HasCommand(command::kExport));
}

void MainWindow::Notify(const std::string& text) {
  lastNotice_ = text;
  if (notificationArea_ && tray_->Notify("Programador", text)) return;
  std::string line = text;
  std::replace(line.begin(), line.end(), '\n', ' ');
  statusParts_[0]->setText(ToQString(line));
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (!notificationArea_) {
    tray_->SetShownMarks(!isMinimized());
    return;
  }
  if (!isMinimized()) return;
  // Minimising hides the window: it lives in the notification area.
  QTimer::singleShot(0, this, [this] {
    if (!isMinimized()) return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    HideWindow();
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  // The close button does not end the program; "&Quitar" does.
  event->ignore();
  ShowWindow();
}

}  // namespace velmara
