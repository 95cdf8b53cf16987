#pragma once

// subPrintH, subPrint and subPrints: one print document on a QPrinter (a
// real printer or a PDF file), laid out by the method.

#include <QString>

#include "model/document.h"
#include "model/error_numbers.h"
#include "print/composition.h"

class QPrinter;

namespace planimo {

struct PrintOutcome {
  int pages = 0;       // pages printed; 0 when nothing was to be printed
  ErrorReport error;   // number 0: printed, or nothing to print
};

// Prints the drawing with method 0, 1 or 2 on `printer` as it is set up
// (paper, orientation, colour mode, output file). Method 2 without an image
// starts no document.
PrintOutcome PrintDrawing(QPrinter& printer, int method, const Surface& surface, const Document& doc);

}  // namespace planimo
