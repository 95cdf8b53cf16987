#pragma once

// The bitmap export and the print into PDF without a window, for the
// command line: the drawing of a loaded project as the window shows it at
// 100 %, written as the window's commands write it.

#include <QString>
#include <optional>

#include "model/document.h"

class QTextStream;

namespace planimo {

struct HeadlessPrintOptions {
  int method = 0;                  // 0, 1 or 2 (intPrintMethod)
  std::optional<bool> colour;      // --color / --mono; unset: colour
  bool comments = false;           // --comments: print the comment lines whatever the project says
};

// Each returns the exit status: 0 written, 1 the image, the file or the
// printer failed (the cause, as the window's error box words it, on `err`),
// 2 unusable arguments. `imagePath` is the project's drawing.
int ExportBitmapWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                              const HeadlessPrintOptions& options, QTextStream& err);
int PrintPdfWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                          const HeadlessPrintOptions& options, QTextStream& err);

}  // namespace planimo
