#include "print/headless_print.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextStream>

#include "print/bitmap_export.h"
#include "print/composition.h"
#include "print/page_printer.h"
#include "print/printer_choice.h"
#include "view/image_loader.h"
#include "view/qt_text_measurer.h"

namespace planimo {

namespace {

void Report(QTextStream& err, const char* handler, int number, const std::string& description) {
  err << QString::fromStdString(ErrorBoxText(handler, number, description)).replace(QLatin1Char('\r'), QLatin1Char('\n'))
      << '\n';
}

// The project's records at 100 % over its image, measured in the fonts the
// window would use.
bool Prepare(Document& doc, const QString& imagePath, const HeadlessPrintOptions& options, Surface& surface,
             QTextStream& err) {
  doc.measurer = std::make_shared<QtTextMeasurer>();
  if (options.comments) doc.state.GE_booPrtCmt = true;
  QImage image;
  const ImageLoadResult r = ReadImage(imagePath, image);
  if (!r.ok) {
    err << QStringLiteral("subMapDraw()\n") << r.description << '\n';
    return false;
  }
  surface.image = std::move(image);
  surface.fullSize = surface.image.size();
  surface.zoom = 1.0f;
  return true;
}

}  // namespace

int ExportBitmapWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                              const HeadlessPrintOptions& options, QTextStream& err) {
  Surface surface;
  if (!Prepare(doc, imagePath, options, surface, err)) return 1;
  const ErrorReport r = ExportBitmap(out, surface, doc);
  if (r.number != 0) {
    Report(err, "mnuFileSaveAsImg_Click", r.number, r.description);
    return 1;
  }
  return 0;
}

int PrintPdfWithoutWindow(Document& doc, const QString& imagePath, const QString& out,
                          const HeadlessPrintOptions& options, QTextStream& err) {
  if (options.method < 0 || options.method > 2) {
    err << QStringLiteral("--pdf METHOD: METHOD is 0, 1 or 2\n");
    return 2;
  }
  Surface surface;
  if (!Prepare(doc, imagePath, options, surface, err)) return 1;
  PrinterChoice printers;
  QPrinter& printer = *printers.printer(kPdfPrinterName);
  printer.setOutputFileName(QFileInfo(out).absoluteFilePath());
  printer.setColorMode(options.colour.value_or(true) ? QPrinter::Color : QPrinter::GrayScale);
  doc.intPrintMethod = static_cast<std::int16_t>(options.method);
  const PrintOutcome outcome = PrintDrawing(printer, options.method, surface, doc);
  if (outcome.error.number != 0) {
    Report(err, "cmdPrint_Click", outcome.error.number, outcome.error.description);
    return 1;
  }
  return 0;
}

}  // namespace planimo
