#include "export/headless_export.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTextStream>

#include "app/command_line.h"
#include "export/drawing_export.h"
#include "io/project_flow.h"
#include "io/settings.h"
#include "measure/tool_state.h"

namespace planimo {

namespace {

struct Format {
  const char* option;
  ExportFormat format;
  const char* help;
};

constexpr Format kFormats[] = {
    {"dxf", ExportFormat::Dxf,
     "Write the kept objects of PROJECT.ini at true size to OUT.dxf (DXF R12)."},
    {"geojson", ExportFormat::GeoJson,
     "Write the measurements of PROJECT.ini (calibrated by longitude/latitude) to OUT.geojson."},
    {"gpkg", ExportFormat::GeoPackage,
     "Write the measurements of PROJECT.ini (calibrated by longitude/latitude) to OUT.gpkg."},
    {"world", ExportFormat::WorldFile,
     "Write a world file and a .prj for the drawing of PROJECT.ini (calibrated by "
     "longitude/latitude) beside "
     "its image, or beside a copy of it at COPY."},
};

}  // namespace

void AddExportOptions(QCommandLineParser& parser) {
  for (const Format& f : kFormats) {
    parser.addOption(QCommandLineOption(QString::fromLatin1(f.option), QString::fromUtf8(f.help)));
  }
}

void ReadExportOptions(const QCommandLineParser& parser, CommandLine& cl) {
  int given = 0;
  for (const Format& f : kFormats) {
    if (parser.isSet(QString::fromLatin1(f.option))) {
      cl.exportFormat = QString::fromLatin1(f.option);
      ++given;
    }
  }
  if (given == 0 || !cl.error.isEmpty()) return;
  const QString usage = QStringLiteral("--") + cl.exportFormat;
  if (given > 1 || !cl.csvKind.isEmpty() || cl.bmp || !cl.pdfMethod.isEmpty()) {
    cl.error = QStringLiteral(
        "--dxf, --geojson, --gpkg, --world, --csv, --bmp and --pdf cannot be given together.");
  } else if (cl.exportFormat == u"world" && (cl.positional.isEmpty() || cl.positional.size() > 2)) {
    cl.error =
        usage + QStringLiteral(
                    " PROJECT.ini [COPY]: give the project, and where to copy its image if not "
                    "beside the image itself.");
  } else if (cl.exportFormat != u"world" && cl.positional.size() != 2) {
    cl.error = usage + QStringLiteral(" PROJECT.ini OUT: give the project and the output file.");
  }
}

int ExportWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& err) {
  ExportFormat format = ExportFormat::Dxf;
  for (const Format& f : kFormats) {
    if (cl.exportFormat == QString::fromLatin1(f.option)) format = f.format;
  }
  Document doc;
  ReadSettings(SettingsPath(programFolder.toStdString()), doc.settings);
  MeasureSession session;
  const OpenOutcome opened = OpenProject(doc, session, cl.positional[0].toStdString());
  if (const std::optional<ErrorReport> failed = opened.error ? opened.error : opened.warning) {
    err << ErrorLines("mnuFileOpenPrj_Click", *failed) << '\n';
    return 1;
  }
  const QString out =
      cl.positional.size() > 1 ? cl.positional[1] : QString::fromStdString(opened.imagePath);
  const ExportOutcome r = ExportDrawing(doc, format, out, QString::fromStdString(opened.imagePath));
  if (r.error) {
    err << ErrorLines(r.handler, *r.error) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace planimo
