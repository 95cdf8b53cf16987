#include "app/desktop_identity.h"

#include <QApplication>
#include <QIcon>

#include "app/app_info.h"

namespace planimo {

void IdentifyToDesktop(QApplication& app) {
  QApplication::setApplicationVersion(VersionNumber());
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntryId));
  QIcon builtIn;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    builtIn.addFile(QStringLiteral(":/icons/planimo-%1.png").arg(size), QSize(size, size));
  app.setWindowIcon(QIcon::fromTheme(QStringLiteral("planimo"), builtIn));
}

}  // namespace planimo
