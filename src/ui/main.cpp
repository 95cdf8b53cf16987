#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>

#include "app/fonts.h"
#include "app/main_window.h"

// planimo [FILE]: FILE is an image to open at start.
// PLANIMO_SCREENSHOT=<png>: grab the window once it has painted, then quit.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
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
