#pragma once

// The bitmap export and the print into PDF without a window, for the
// command line: the drawing of a loaded project as the window shows it at
// 100 %, written as the window's commands write it.

#include <QPageSize>
#include <QString>
#include <optional>

#include "model/document.h"

class QCommandLineParser;
class QTextStream;

namespace planimo {

struct CommandLine;

// --bmp, --pdf METHOD, --color, --mono, --comments, --paper SIZE,
// --landscape and --portrait.
void AddPrintOptions(QCommandLineParser& parser);
void ReadPrintOptions(const QCommandLineParser& parser, CommandLine& cl);

// --bmp or --pdf: opens the project PROJECT.ini as the window does and
// writes OUT; the exit status of the functions below.
int PrintWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& err);

struct HeadlessPrintOptions {
  int method = 0;                  // 0, 1 or 2 (intPrintMethod)
  std::optional<bool> colour;      // --color / --mono; unset: colour
  bool comments = false;           // --comments: print the comment lines whatever the project says
  QPageSize::PageSizeId paper = QPageSize::A4;  // --paper
  std::optional<bool> landscape;   // --landscape / --portrait; unset: what fits the drawing better
};

// Each returns the exit status: 0 written, 1 the image, the file or the
// printer failed (the cause, as the window's error box words it, on `err`),
// 2 unusable arguments. `imagePath` is the project's drawing.
int ExportBitmapWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                              const HeadlessPrintOptions& options, QTextStream& err);
// The paper of --paper: A4, A3, A2, A1, A0 or Letter (any case).
std::optional<QPageSize::PageSizeId> PaperNamed(const QString& name);

int PrintPdfWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                          const HeadlessPrintOptions& options, QTextStream& err);

}  // namespace planimo
