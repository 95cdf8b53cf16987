#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "app/annotation_commands.h"
#include "app/app_info.h"
#include "app/fonts.h"
#include "app/folder_dialog.h"
#include "app/takeoff_dock.h"
#include "app/window_placement.h"
#include "io/settings.h"
#include "measure/abandon.h"
#include "model/zoom_steps.h"
#include "view/map_view.h"
#include "print/print_commands.h"

namespace planimo {

MainWindow::MainWindow(QWidget* parent)
    : MainWindow(nullptr, LocateProgramPlaces(RunningInstallFolders()), parent) {}

MainWindow::MainWindow(std::shared_ptr<MessageSink> sink, const QString& programFolder, QWidget* parent)
    : MainWindow(std::move(sink),
                 PlacesInFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder),
                 parent) {}

MainWindow::MainWindow(std::shared_ptr<MessageSink> sink, const ProgramPlaces& places, QWidget* parent)
    : QMainWindow(parent),
      sink_(sink ? std::move(sink) : std::make_shared<QtMessageSink>(this)),
      programFolder_(places.shippedFolder),
      settingsFile_(places.settingsFile),
      settingsWriteFile_(places.settingsWriteFile) {
  setObjectName(QStringLiteral("frmMain"));
  RegisterFontSubstitutions();
  setFont(QFont(kUiFontFamily, 9));

  // The print dialog's properties button is always offered here, so the
  // platform flag keeps its default; CSV writers quote with '"' themselves.
  readSettings();
  placeWindow();


  buildMenus();
  buildPopups();
  buildToolbar();
  buildReadouts();
  buildStatusBar();
  setInitialMenuState();
  ResetProjectDefaults(doc_);
  connectCommands();
  setupMapView();
  connectMapCommands();
  connectFileCommands();
  connectExportCommands();
  annotations_ = new AnnotationCommands(*this);
  annotations_->watchMap(view_->viewport());
  printing_ = new PrintCommands(*this);
  // Last of all: each command's undo checkpoint runs after its own handlers.
  connectHistory();
  // The list beside the map follows every step the history takes.
  takeoff_ = new TakeoffDock(*this, QFileInfo(recentFile_).absolutePath());
  reflectSession();
  setWindowTitle(WindowCaption());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!confirmDiscard()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) QCoreApplication::quit();
}

void MainWindow::readSettings() { ReadSettings(settingsPath().toStdString(), doc_.settings); }

void MainWindow::placeWindow() { PlaceByFrame(this); }

QString MainWindow::helpFilePath() const { return QDir(programFolder_).filePath(QStringLiteral("help.chm")); }

QAction* MainWindow::command(const QString& name) const { return findChild<QAction*>(name); }

QMenu* MainWindow::popup(const QString& name) const { return findChild<QMenu*>(name); }

QLineEdit* MainWindow::readout(int index) const {
  return index >= 0 && index < static_cast<int>(readouts_.size()) ? readouts_[static_cast<std::size_t>(index)]
                                                                   : nullptr;
}

QLabel* MainWindow::statusPanel(int number) const {
  return number >= 1 && number <= static_cast<int>(panels_.size()) ? panels_[static_cast<std::size_t>(number - 1)]
                                                                   : nullptr;
}

void MainWindow::setStatusText(int number, const QString& text) {
  if (QLabel* panel = statusPanel(number)) panel->setText(text);
}

void MainWindow::installMapView(QWidget* view) {
  view->setObjectName(QStringLiteral("pictWindow"));
  setCentralWidget(view);  // deletes the one before
  if (!pendingImage_.isEmpty()) openImage(pendingImage_, pendingPage_);
}

void MainWindow::resetDispMenu() {
  ResetDisplayMenu(doc_, session_);
  reflectSession();
  if (centralWidget()) centralWidget()->update();
}

InputAnswer MainWindow::askInput(const InputRequest& request) {
  if (inputRunner_) {
    lastInput_ = inputRunner_(request);
  } else {
    InputDialog dialog(request, this);  // a fresh instance for every question
    dialog.exec();
    lastInput_ = dialog.answer();
  }
  return lastInput_;
}

void MainWindow::openFolderDialog() {
  FolderDialog dialog(doc_.settings, settingsWriteFile_.toStdString(), this);
  dialog.exec();
}

}  // namespace planimo
