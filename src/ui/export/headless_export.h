#pragma once

// The CAD and GIS outputs without a window, for the command line:
//   planimo --dxf PROJECT.ini OUT.dxf
//   planimo --geojson PROJECT.ini OUT.geojson
//   planimo --gpkg PROJECT.ini OUT.gpkg
//   planimo --world PROJECT.ini [COPY.jpg]
// with the exit status of --csv: 0 written, 1 refused or failed (the cause
// on the error stream, as the window's box words it), 2 unusable arguments.

#include <QString>

class QCommandLineParser;
class QTextStream;

namespace planimo {

struct CommandLine;

void AddExportOptions(QCommandLineParser& parser);
void ReadExportOptions(const QCommandLineParser& parser, CommandLine& cl);

int ExportWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& err);

}  // namespace planimo
