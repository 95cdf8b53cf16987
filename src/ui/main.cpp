#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

#include "app/command_line.h"
#include "app/desktop_identity.h"
#include "app/fonts.h"
#include "app/main_window.h"
#include "app/qt_language.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

}  // namespace

// The command line (app/command_line.h) is read before any window system is
// needed, so --csv, --bmp, --pdf, --version and --help run on a machine
// without a display.
// PLANIMO_SCREENSHOT=<png>: grab the window once it has painted, then quit.
int main(int argc, char** argv) {
  const planimo::CommandLine cl = planimo::ParseCommandLine(Arguments(argc, argv));
  if (cl.drawsWithoutWindow()) {
    // Fonts and a painter, but no display: the offscreen platform unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    planimo::RegisterFontSubstitutions();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return planimo::RunWithoutWindow(cl, QCoreApplication::applicationDirPath(), out, err);
  }
  if (cl.runsWithoutWindow()) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return planimo::RunWithoutWindow(cl, QCoreApplication::applicationDirPath(), out, err);
  }

  QApplication app(argc, argv);
  planimo::IdentifyToDesktop(app);
  planimo::TranslateQtDialogs(app);
  planimo::RegisterFontSubstitutions();
  planimo::MainWindow window;
  window.show();
  if (!cl.fileToOpen().isEmpty()) window.openFile(cl.fileToOpen(), cl.page);

  const QString shot = qEnvironmentVariable("PLANIMO_SCREENSHOT");
  if (!shot.isEmpty()) {
    QTimer::singleShot(1500, &window, [&window, shot] {
      window.grab().save(shot, "PNG");
      QApplication::quit();
    });
  }
  return app.exec();
}
