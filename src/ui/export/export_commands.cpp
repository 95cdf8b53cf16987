// The File menu's "書き出し" submenu: the drawing at true size for CAD
// programs and, for a drawing calibrated by longitude and latitude, its
// measurements and its georeferenced image for a GIS.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/busy_guard.h"
#include "app/error_box.h"
#include "app/main_window.h"
#include "export/drawing_export.h"
#include "view/map_view.h"

namespace planimo {

namespace {

struct ExportCommand {
  const char* name;
  const char* caption;
  ExportFormat format;
};

constexpr ExportCommand kCommands[] = {
    {"mnuFileExportDxf", "DXF...", ExportFormat::Dxf},
    {"mnuFileExportGeo", "GeoJSON / GeoPackage...", ExportFormat::GeoPackage},
    {"mnuFileExportWorld", "ワールドファイル...", ExportFormat::WorldFile},
};

}  // namespace

void MainWindow::buildExportMenu(QMenu* file) {
  QMenu* menu = addSubmenu(file, QStringLiteral("mnuFileExport"), QStringLiteral("書き出し"));
  for (const ExportCommand& c : kCommands)
    addCommand(menu, QString::fromLatin1(c.name), QString::fromUtf8(c.caption));
}

void MainWindow::connectExportCommands() {
  for (const ExportCommand& c : kCommands) {
    const ExportFormat f = c.format;
    connect(command(QString::fromLatin1(c.name)), &QAction::triggered, this,
            [this, f] { exportDrawing(f); });
  }
}

// Offered once there is a drawing, as the CSV tables are; the GIS outputs
// only for the longitude/latitude calibration.
void MainWindow::reflectExportCommands() {
  const bool drawing = session_.menu.mnuFileSaveCsvEnabled;
  command(QStringLiteral("mnuFileExport"))->setEnabled(drawing);
  for (const ExportCommand& c : kCommands) {
    command(QString::fromLatin1(c.name))->setEnabled(drawing && ExportOffered(doc_, c.format));
  }
}

void MainWindow::exportDrawing(ExportFormat format) {
  const QString image = view_ != nullptr ? view_->imagePath() : QString();
  // Refused before the chooser asks for a name that could not be used.
  if (std::optional<ErrorReport> refused = ExportRefusal(doc_, format, image)) {
    const std::string_view handler = ExportHandler(format);
    ShowErrorBox(*sink_, QString::fromUtf8(handler.data(), static_cast<qsizetype>(handler.size())),
                 *refused);
    return;
  }
  // The image itself only gets a world file beside it: choosing it is no
  // replacing, a copy's place is.
  const QString chosen = chooseFile(ExportChooser(doc_, format, image),
                                    format == ExportFormat::WorldFile ? image : QString());
  if (chosen.isEmpty()) return;
  const QString path = QDir::toNativeSeparators(chosen);
  // One command for both GIS files: the name the user gives says which.
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (format == ExportFormat::GeoPackage && (suffix == u"geojson" || suffix == u"json")) {
    format = ExportFormat::GeoJson;
  }
  ExportOutcome r;
  {
    BusyGuard busy(this);
    r = ExportDrawing(doc_, format, path, image);
  }
  if (r.error)
    ShowErrorBox(*sink_,
                 QString::fromUtf8(r.handler.data(), static_cast<qsizetype>(r.handler.size())),
                 *r.error);
}

}  // namespace planimo
