// The File menu's project commands: the choosers, the busy cursor and the
// error boxes around the core's New/Open/Save flows and CSV exports, and the
// question about unsaved work before it would be thrown away.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <functional>
#include <memory>
#include <optional>

#include "app/busy_guard.h"
#include "app/error_box.h"
#include "app/file_dialog.h"
#include "app/main_window.h"
#include "io/project_flow.h"
#include "view/map_view.h"

namespace planimo {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The Open flow's question for a project's missing image, asked through the
// window's file chooser while the busy state gives way.
class WindowImageChooser final : public ImageChooser {
 public:
  WindowImageChooser(const BusyGuard& busy, std::function<QString(const FileChooserRequest&)> choose)
      : busy_(busy), choose_(std::move(choose)) {}
  std::optional<std::string> Choose(const FileChooserRequest& request) override {
    QString path;
    {
      BusyGuard::Pause pause(busy_);
      path = choose_(request);
    }
    if (path.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(path).toStdString();
  }

 private:
  const BusyGuard& busy_;
  std::function<QString(const FileChooserRequest&)> choose_;
};

}  // namespace

QString MainWindow::chooseFile(const FileChooserRequest& r, const QString& untouched) {
  if (fileChooser_) return fileChooser_(r);
  const std::unique_ptr<QFileDialog> dialog = NewFileDialog(this, r, untouched);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().first();
}

void MainWindow::connectFileCommands() {
  connect(command(QStringLiteral("mnuFileOpenPrj")), &QAction::triggered, this, [this] {
    if (!confirmDiscard()) return;
    const QString path = chooseFile(OpenProjectChooser(doc_));
    if (!path.isEmpty()) openProject(path);
  });
  connect(command(QStringLiteral("mnuFileSavePrj")), &QAction::triggered, this, [this] { saveProject(); });
  connect(command(QStringLiteral("mnuFileSaveAsPrj")), &QAction::triggered, this, [this] { saveProjectAs(); });
  const std::pair<const char*, CsvKind> exports[] = {{"mnuFileSaveCsvSen", CsvKind::Distances},
                                                     {"mnuFileSaveCsvKer", CsvKind::Routes},
                                                     {"mnuFileSaveCsvMen", CsvKind::Areas},
                                                     {"mnuFileSaveCsvIti", CsvKind::Positions}};
  for (const auto& [name, kind] : exports) {
    const CsvKind k = kind;
    connect(command(QString::fromLatin1(name)), &QAction::triggered, this, [this, k] { exportCsv(k); });
  }
  setRecentOpener([this](const QString& path) {
    if (confirmDiscard()) openProject(path);
  });
}

void MainWindow::openFile(const QString& path, int page) {
  if (path.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive)) {
    openProject(path, page);
  } else {
    openImage(path, page);
  }
}

void MainWindow::openProject(const QString& path, int page) {
  OpenOutcome r;
  {
    BusyGuard busy(this);
    if (options_) options_->close();
    WindowImageChooser images(busy, [this](const FileChooserRequest& request) { return chooseFile(request); });
    r = OpenProject(doc_, session_, QDir::toNativeSeparators(path).toStdString(), &images);
  }
  if (r.error) {
    ShowErrorBox(*sink_, Q(kOpenProjectHandler), *r.error);
    return;
  }
  noteRecentDrawing(path);
  if (page > 0) doc_.state.fMei_MapPage = page;  // named on the command line
  showReadouts();
  if (view_ != nullptr) {
    // The previous drawing's image goes whatever happens next: the project's
    // objects must never be measured against another drawing. An image that
    // cannot be read leaves the empty surface and says so; one the user did
    // not point to when asked leaves it without another word.
    view_->clearImage();
    if (!r.imagePath.empty()) loadImage(QString::fromStdString(r.imagePath), false, doc_.state.fMei_MapPage);
    view_->applyZoom();
    view_->refresh();
  }
  startHistory();
  reflectFiles();
  reflectSession();
  if (r.warning) ShowErrorBox(*sink_, Q(kOpenProjectHandler), *r.warning);
}

bool MainWindow::saveProject() {
  if (doc_.files.projectFileName.empty()) return saveProjectAs();
  SaveOutcome r;
  {
    BusyGuard busy(this);
    r = SaveCurrentProject(doc_, session_);
  }
  if (r.error) {
    ShowErrorBox(*sink_, Q(kSaveProjectHandler), *r.error);
  } else {
    noteRecentDrawing(QString::fromStdString(doc_.files.projectFolder + doc_.files.projectFileName));
  }
  reflectSession();
  if (r.notice) sink_->information(windowTitle(), Q(*r.notice));
  return !r.error;
}

bool MainWindow::saveProjectAs() {
  const QString path = chooseFile(SaveProjectChooser(doc_));
  if (path.isEmpty()) return false;
  SaveOutcome r;
  {
    BusyGuard busy(this);
    r = SaveProjectAs(doc_, session_, QDir::toNativeSeparators(path).toStdString());
  }
  if (r.error) {
    ShowErrorBox(*sink_, Q(kSaveAsProjectHandler), *r.error);
  } else {
    noteRecentDrawing(path);
  }
  reflectFiles();
  reflectSession();
  if (r.notice) sink_->information(windowTitle(), Q(*r.notice));
  return !r.error;
}

void MainWindow::exportCsv(CsvKind kind) {
  const QString path = chooseFile(CsvChooser(doc_));
  if (path.isEmpty()) return;
  std::optional<ErrorReport> e;
  {
    BusyGuard busy(this);
    e = WriteCsv(doc_, kind, QDir::toNativeSeparators(path).toStdString());
  }
  if (e) ShowErrorBox(*sink_, Q(CsvHandlerName(kind)), *e);
}

bool MainWindow::confirmDiscard() {
  if (!HasUnsavedChanges(doc_)) return true;
  switch (sink_->question(windowTitle(), Q(kUnsavedQuestion))) {
    case MessageButton::Yes: return saveProject();
    case MessageButton::No: return true;
    default: return false;
  }
}

void MainWindow::reflectFiles() {
  const DrawingFiles& f = doc_.files;
  setStatusText(1, QString::fromStdString(f.panel1));
  setStatusText(2, QString::fromStdString(f.panel2));
  setStatusText(6, QString::fromStdString(f.panel6));
  if (QLabel* panel = statusPanel(6)) panel->setToolTip(QString::fromStdString(f.panel6));
}

}  // namespace planimo
