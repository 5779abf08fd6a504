#include "ui/qt_interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTranslator>

#include "ui/dialog_support.h"
#include "ui/text.h"
#include "ui/wayland_clipboard.h"

namespace velmara {

bool InstallSpanishTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void ChooseDesktopPlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
      qEnvironmentVariableIsEmpty("DISPLAY")) {
    return;
  }
  if (!WaylandOffersDataControl()) qputenv("QT_QPA_PLATFORM", "xcb");
}

QtInteraction::QtInteraction() {
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, QGuiApplication::instance(),
                   [this] { ++clipboardChanges_; });
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) watcher_ = WaylandClipboardWatcher::Start();
}

QtInteraction::~QtInteraction() = default;

QString QtInteraction::ClipboardQString() const {
  return watcher_ ? watcher_->Text() : QGuiApplication::clipboard()->text();
}

std::uint64_t QtInteraction::ClipboardChanges() { return watcher_ ? watcher_->Changes() : clipboardChanges_; }

bool QtInteraction::CanWatchClipboard() {
  return watcher_ != nullptr || QGuiApplication::platformName() != QStringLiteral("wayland");
}

MessageAnswer QtInteraction::ShowMessageBox(const std::string& text, MessageButtons buttons, bool,
                                            const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(text),
                  buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  // Even a box that need not be topmost must not open behind the main window, which is.
  KeepInFront(box);
  // Our own texts, whatever translations are installed.
  if (QAbstractButton* yes = box.button(QMessageBox::Yes)) yes->setText(QStringLiteral("S\u00ED"));
  if (QAbstractButton* no = box.button(QMessageBox::No)) no->setText(QStringLiteral("No"));
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("Aceptar"));
  int answer = box.exec();
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string QtInteraction::ClipboardText() { return ToWindows1252(ClipboardQString()); }

std::string QtInteraction::ClipboardTextKeeping(UnheldCharacters& unheld) {
  return ToWindows1252(ClipboardQString(), unheld);
}

void QtInteraction::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
}

std::optional<std::filesystem::path> QtInteraction::AskSaveFileName(const SaveFileRequest& request) {
  // The first time, the user's documents; then where the user last saved.
  QString folder = request.initialFolder.empty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                                : QString::fromStdString(request.initialFolder.string());
  if (!QDir(folder).exists()) folder = QDir::homePath();
  QFileDialog dialog(nullptr, QString(), folder, ToQString(request.filter));
  if (!request.selectedFilter.empty()) dialog.selectNameFilter(ToQString(request.selectedFilter));
  KeepInFront(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQString(request.defaultExtension));
  // The program asks its own question about an existing file; Qt's would come first and twice.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  if (request.chosenFilter) *request.chosenFilter = ToWindows1252(dialog.selectedNameFilter());
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::uint32_t> QtInteraction::ChooseColour(std::uint32_t initial,
                                                         std::array<std::uint32_t, 16>& customColours) {
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, ToQColor(customColours[static_cast<std::size_t>(i)]));
  QColorDialog dialog(ToQColor(initial));
  KeepInFront(dialog);
  const QColor chosen = dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
  for (int i = 0; i < 16; ++i) customColours[static_cast<std::size_t>(i)] = ToColourValue(QColorDialog::customColor(i));
  if (!chosen.isValid()) return std::nullopt;
  return ToColourValue(chosen);
}

void QtInteraction::Beep(int, int) { QApplication::beep(); }

}  // namespace velmara
