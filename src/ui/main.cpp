#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/app_info.h"
#include "app/desktop_identity.h"
#include "app/fonts.h"
#include "app/main_window.h"

// planimo [FILE]: FILE is an image to open at start.
// planimo --version: prints "Planimo 1.6.0", needing no display.
// PLANIMO_SCREENSHOT=<png>: grab the window once it has painted, then quit.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", planimo::VersionLine().toUtf8().constData());
    return 0;
  }
  QApplication app(argc, argv);
  planimo::IdentifyToDesktop(app);
  planimo::RegisterFontSubstitutions();
  planimo::MainWindow window;
  window.show();

  const QStringList args = QApplication::arguments();
  if (args.size() > 1) window.openImage(args.at(1));

  const QString shot = qEnvironmentVariable("PLANIMO_SCREENSHOT");
  if (!shot.isEmpty()) {
    QTimer::singleShot(1500, &window, [&window, shot] {
      window.grab().save(shot, "PNG");
      QApplication::quit();
    });
  }
  return app.exec();
}
