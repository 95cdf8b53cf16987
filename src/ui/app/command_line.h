#pragma once

// The program's command line:
//   planimo [PROJECT.ini | IMAGE] [--page N]
//                                       open a project (or an image) at start,
//                                       on page N of a TIFF or a PDF
//   planimo --csv KIND PROJECT.ini OUT.csv
//                                       write one CSV table without a window
//   planimo --bmp PROJECT.ini OUT.bmp   write the annotated drawing as a bitmap
//   planimo --pdf METHOD [--color | --mono] [--comments] PROJECT.ini OUT.pdf
//                                       print it into a PDF (METHOD 0, 1 or 2)
//                                       [--paper A4|A3|A2|A1|A0|Letter] [--landscape | --portrait]
//   planimo --dxf | --geojson | --gpkg PROJECT.ini OUT
//   planimo --world PROJECT.ini [COPY]  CAD and GIS outputs (export/headless_export.h)
//   planimo --version                   print "Planimo 1.6.0"
//   planimo --help                      list the options
// New options are added to AddOptions and, when they run without a window,
// to RunWithoutWindow.

#include <QString>
#include <QStringList>
#include <optional>

class QCommandLineParser;
class QTextStream;

namespace planimo {

struct CommandLine {
  QString error;      // the arguments did not fit; shown with the usage
  bool help = false;     // --help
  bool version = false;  // --version
  QString helpText;
  QString csvKind;    // --csv KIND
  bool bmp = false;   // --bmp
  QString pdfMethod;  // --pdf METHOD
  bool colour = false, mono = false, comments = false;  // --color, --mono, --comments
  QString paper;      // --paper SIZE; empty: A4
  bool landscape = false, portrait = false;  // neither: what fits the drawing better
  QString exportFormat;  // "dxf", "geojson", "gpkg" or "world"
  int page = 0;       // --page N (from 1); 0: the project's page, or ask
  QStringList positional;

  // What the window opens at start: a project or an image; empty for none.
  QString fileToOpen() const { return positional.isEmpty() ? QString() : positional.first(); }
  // The bitmap and the PDF need fonts and a painter, hence a GUI application.
  bool drawsWithoutWindow() const { return error.isEmpty() && !help && !version && (bmp || !pdfMethod.isEmpty()); }
  bool runsWithoutWindow() const {
    return help || version || !error.isEmpty() || !csvKind.isEmpty() || !exportFormat.isEmpty() ||
           drawsWithoutWindow();
  }
};

// Registers every option of the program on `parser`.
void AddOptions(QCommandLineParser& parser);

// Reads `arguments` (the program name first). Needs no application object.
CommandLine ParseCommandLine(const QStringList& arguments);

// Carries out a command that needs no window; returns the exit status.
// `programFolder` holds Init.ini (units and the drawing folder).
int RunWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& out, QTextStream& err);

}  // namespace planimo
