#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "app/app_info.h"
#include "export/headless_export.h"
#include "io/csv_export.h"
#include "io/project_file.h"
#include "io/settings.h"
#include "model/document.h"
#include "print/headless_print.h"

namespace planimo {

namespace {

const QString kCsvOption = QStringLiteral("csv");
const QString kPageOption = QStringLiteral("page");

QString FromReport(std::string_view handler, const ErrorReport& r) {
  return QString::fromStdString(ErrorBoxText(handler, r.number, r.description)).replace(QLatin1Char('\r'),
                                                                                       QLatin1Char('\n'));
}

int WriteCsvTable(const CommandLine& cl, const QString& programFolder, QTextStream& err) {
  const std::optional<CsvKind> kind = CsvKindNamed(cl.csvKind.toStdString());
  if (!kind || cl.positional.size() != 2) {
    err << QStringLiteral("--csv KIND PROJECT.ini OUT.csv: KIND is distances, routes, areas, positions or items\n");
    return 2;
  }
  Document doc;
  ReadSettings(SettingsPath(programFolder.toStdString()), doc.settings);
  const LoadReport loaded = LoadProject(doc, cl.positional[0].toStdString());
  if (loaded.error || loaded.warning) {
    err << FromReport("mnuFileOpenPrj_Click", loaded.error ? *loaded.error : *loaded.warning) << '\n';
    return 1;
  }
  if (const std::optional<ErrorReport> e = WriteCsv(doc, *kind, cl.positional[1].toStdString())) {
    err << FromReport(CsvHandlerName(*kind), *e) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

void AddOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("距離・寸法測定　管理ソフト"));
  parser.addHelpOption();
  parser.addOption(QCommandLineOption(QStringLiteral("version"), QStringLiteral("Print the program's name and version.")));
  parser.addOption(QCommandLineOption(kCsvOption,
                                     QStringLiteral("Write the CSV table KIND (distances, routes, areas, positions, items) "
                                                    "of PROJECT.ini to OUT.csv without opening a window."),
                                     QStringLiteral("KIND")));
  parser.addOption(QCommandLineOption(kPageOption,
                                     QStringLiteral("Open page N (from 1) of a TIFF or PDF drawing without asking; "
                                                    "with a project, show page N instead of the stored one."),
                                     QStringLiteral("N")));
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A project (.ini) or an image to open."),
                               QStringLiteral("[PROJECT.ini | IMAGE] [OUT.csv | OUT.bmp | OUT.pdf | OUT.dxf | OUT.geojson | OUT.gpkg]"));
  AddPrintOptions(parser);
  AddExportOptions(parser);
}

CommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  AddOptions(parser);
  CommandLine cl;
  cl.helpText = parser.helpText();
  if (!parser.parse(arguments)) {
    cl.error = parser.errorText();
    return cl;
  }
  cl.help = parser.isSet(QStringLiteral("help"));
  cl.version = parser.isSet(QStringLiteral("version"));
  cl.csvKind = parser.value(kCsvOption);
  if (parser.isSet(kCsvOption) && cl.csvKind.isEmpty()) cl.error = QStringLiteral("--csv needs a KIND");
  cl.positional = parser.positionalArguments();
  if (parser.isSet(kPageOption)) {
    bool number = false;
    cl.page = parser.value(kPageOption).toInt(&number);
    if (!number || cl.page < 1) cl.error = QStringLiteral("--page N: N is a page number from 1.");
  }
  ReadPrintOptions(parser, cl);
  ReadExportOptions(parser, cl);
  if (cl.error.isEmpty() && cl.csvKind.isEmpty() && !cl.bmp && cl.pdfMethod.isEmpty() &&
      cl.exportFormat.isEmpty() && cl.positional.size() > 1) {
    cl.error = QStringLiteral("Only one file can be opened.");
  }
  return cl;
}

int RunWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& out, QTextStream& err) {
  if (!cl.error.isEmpty()) {
    err << cl.error << '\n' << cl.helpText;
    return 2;
  }
  if (cl.help) {
    out << cl.helpText;
    return 0;
  }
  if (cl.version) {
    out << VersionLine() << '\n';
    return 0;
  }
  if (!cl.csvKind.isEmpty()) return WriteCsvTable(cl, programFolder, err);
  if (!cl.exportFormat.isEmpty()) return ExportWithoutWindow(cl, programFolder, err);
  if (cl.drawsWithoutWindow()) return PrintWithoutWindow(cl, programFolder, err);
  return 0;
}

}  // namespace planimo
