// Writes the program's pictures as PNG files into a folder: the build uses it for the icon that
// desktops show, and it lets anyone look at the pictures without running the program.

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/artwork.h"
#include "app/menu_ids.h"
#include "tools/rules_pages.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmara_artwork FOLDER\n");
    return 2;
  }
  // Drawing needs no screen; the offscreen platform works on build machines without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "velmara_artwork: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;
  auto save = [&](const QPixmap& picture, const QString& name) {
    if (picture.isNull() || !picture.save(folder.filePath(name), "PNG")) {
      std::fprintf(stderr, "velmara_artwork: cannot write %s\n", qPrintable(name));
      ok = false;
    }
  };
  for (int size : {16, 32, 48, 64, 128, 256}) save(velmara::DrawProgramIcon(size), QStringLiteral("velmara-%1.png").arg(size));
  save(velmara::ColoresBitmap(), QStringLiteral("300.png"));
  for (int n = velmara::kAboutFrameFirst; n <= velmara::kAboutFrameLast; ++n)
    save(velmara::AboutFrame(n), QStringLiteral("%1.png").arg(n));
  save(velmara::ApologyPicture(), QStringLiteral("888.png"));
  for (int id = velmara::command::kRulesFirst; id <= velmara::command::kRulesLast; ++id) {
    std::string_view code = velmara::command::RulesPageCode(id);
    save(velmara::RulesPage(code), QStringLiteral("%1.png").arg(velmara::RulesPageNumber(code)));
  }
  return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
