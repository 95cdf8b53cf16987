// Help: F1, the help hint and the version box.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/app_info.h"
#include "app/main_window.h"

namespace planimo {

void MainWindow::showVersionBox() { sink_->information(VersionBoxTitle(), VersionBoxText()); }

void MainWindow::showHelpHint() {
  sink_->information(QStringLiteral("m(_ _)m"), QStringLiteral("Ｆ１キーを押してください。"));
}

// help.chm beside the program when the desktop can show it; otherwise the
// HTML help installed beside the program.
void MainWindow::openHelp() {
  const auto open = [this](const QString& path) {
    const QUrl url = QUrl::fromLocalFile(path);
    return urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url);
  };
  const QString chm = helpFilePath();
  if (QFileInfo::exists(chm) && open(chm)) return;
  open(QDir(programFolder_).filePath(QStringLiteral("help/index.html")));
}

}  // namespace planimo
