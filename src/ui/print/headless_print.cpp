#include "print/headless_print.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinter>
#include <QTextStream>

#include "app/command_line.h"
#include "io/project_flow.h"
#include "io/settings.h"
#include "measure/tool_state.h"
#include "print/bitmap_export.h"
#include "print/composition.h"
#include "print/page_printer.h"
#include "print/pdf_drawing.h"
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
  // The window's refusals first, before a pixel is allocated: a header
  // that claims more than the file or the memory can hold, a pipe or a
  // device in place of a file.
  const int page = doc.state.fMei_MapPage;
  const ImageProbe probe = ProbeImage(imagePath, false, page);
  QImage image;
  const ImageLoadResult r = probe.result.ok ? ReadImage(imagePath, image, page) : probe.result;
  if (!r.ok) {
    err << QStringLiteral("subMapDraw()\n") << r.description << '\n';
    return false;
  }
  surface.image = std::move(image);
  surface.fullSize = surface.image.size();
  surface.zoom = 1.0f;
  if (r.pdfPage) surface.pdf = PdfDrawing::Open(imagePath, page, surface.fullSize);
  return true;
}

}  // namespace

std::optional<QPageSize::PageSizeId> PaperNamed(const QString& name) {
  const std::pair<const char*, QPageSize::PageSizeId> papers[] = {
      {"A4", QPageSize::A4}, {"A3", QPageSize::A3}, {"A2", QPageSize::A2},
      {"A1", QPageSize::A1}, {"A0", QPageSize::A0}, {"Letter", QPageSize::Letter}};
  for (const auto& [n, id] : papers) {
    if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return id;
  }
  return std::nullopt;
}

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
  printer.setPageSize(QPageSize(options.paper));
  // A drawing wider than it is tall fills more of a sheet turned sideways.
  const bool wide = surface.fullSize.width() > surface.fullSize.height();
  printer.setPageOrientation(options.landscape.value_or(wide) ? QPageLayout::Landscape : QPageLayout::Portrait);
  doc.intPrintMethod = static_cast<std::int16_t>(options.method);
  const PrintOutcome outcome = PrintDrawing(printer, options.method, surface, doc);
  if (outcome.error.number != 0) {
    Report(err, "cmdPrint_Click", outcome.error.number, outcome.error.description);
    return 1;
  }
  return 0;
}

void AddPrintOptions(QCommandLineParser& parser) {
  parser.addOption(QCommandLineOption(QStringLiteral("bmp"),
                                      QStringLiteral("Write the annotated drawing of PROJECT.ini to OUT.bmp (24-bit) "
                                                     "without opening a window.")));
  parser.addOption(QCommandLineOption(QStringLiteral("pdf"),
                                      QStringLiteral("Print PROJECT.ini into OUT.pdf without opening a window by "
                                                     "METHOD 0 (fit, aspect kept), 1 (fill the page) or 2 (screen "
                                                     "size, tiled)."),
                                      QStringLiteral("METHOD")));
  parser.addOption(QCommandLineOption(QStringLiteral("color"), QStringLiteral("--pdf: print in colour (the default).")));
  parser.addOption(QCommandLineOption(QStringLiteral("mono"), QStringLiteral("--pdf: print in monochrome.")));
  parser.addOption(QCommandLineOption(QStringLiteral("paper"),
                                      QStringLiteral("--pdf: the paper, A4 (the default), A3, A2, A1, A0 or Letter."),
                                      QStringLiteral("SIZE")));
  parser.addOption(QCommandLineOption(QStringLiteral("landscape"),
                                      QStringLiteral("--pdf: turn the paper sideways (by default the paper is turned "
                                                     "the way the drawing fits it better).")));
  parser.addOption(QCommandLineOption(QStringLiteral("portrait"), QStringLiteral("--pdf: keep the paper upright.")));
  parser.addOption(QCommandLineOption(QStringLiteral("comments"),
                                      QStringLiteral("--bmp, --pdf: print each label's comment below it.")));
}

void ReadPrintOptions(const QCommandLineParser& parser, CommandLine& cl) {
  cl.bmp = parser.isSet(QStringLiteral("bmp"));
  cl.pdfMethod = parser.value(QStringLiteral("pdf"));
  cl.colour = parser.isSet(QStringLiteral("color"));
  cl.mono = parser.isSet(QStringLiteral("mono"));
  cl.comments = parser.isSet(QStringLiteral("comments"));
  cl.paper = parser.value(QStringLiteral("paper"));
  cl.landscape = parser.isSet(QStringLiteral("landscape"));
  cl.portrait = parser.isSet(QStringLiteral("portrait"));
  if (!cl.error.isEmpty()) return;
  const bool paperGiven = parser.isSet(QStringLiteral("paper")) || cl.landscape || cl.portrait;
  const QString usage = cl.bmp ? QStringLiteral("--bmp PROJECT.ini OUT.bmp")
                               : QStringLiteral("--pdf METHOD PROJECT.ini OUT.pdf");
  if (cl.bmp && parser.isSet(QStringLiteral("pdf"))) {
    cl.error = QStringLiteral("--bmp and --pdf cannot be given together.");
  } else if (!cl.csvKind.isEmpty() && (cl.bmp || parser.isSet(QStringLiteral("pdf")))) {
    cl.error = QStringLiteral("--csv cannot be given with --bmp or --pdf.");
  } else if (parser.isSet(QStringLiteral("pdf")) && cl.pdfMethod != u"0" && cl.pdfMethod != u"1" &&
             cl.pdfMethod != u"2") {
    cl.error = QStringLiteral("--pdf METHOD: METHOD is 0, 1 or 2.");
  } else if (paperGiven && !parser.isSet(QStringLiteral("pdf"))) {
    cl.error = QStringLiteral("--paper, --landscape and --portrait go with --pdf.");
  } else if (parser.isSet(QStringLiteral("paper")) && !PaperNamed(cl.paper)) {
    cl.error = QStringLiteral("--paper SIZE: SIZE is A4, A3, A2, A1, A0 or Letter.");
  } else if (cl.landscape && cl.portrait) {
    cl.error = QStringLiteral("--landscape and --portrait cannot be given together.");
  } else if (cl.colour && cl.mono) {
    cl.error = QStringLiteral("--color and --mono cannot be given together.");
  } else if ((cl.bmp || !cl.pdfMethod.isEmpty()) && cl.positional.size() != 2) {
    cl.error = usage + QStringLiteral(": give the project and the output file.");
  }
}

int PrintWithoutWindow(const CommandLine& cl, const QString& programFolder, QTextStream& err) {
  Document doc;
  ReadSettings(SettingsPath(programFolder.toStdString()), doc.settings);
  MeasureSession session;
  const OpenOutcome opened = OpenProject(doc, session, cl.positional[0].toStdString());
  const std::optional<ErrorReport> failed = opened.error ? opened.error : opened.warning;
  if (failed) {
    Report(err, "mnuFileOpenPrj_Click", failed->number, failed->description);
    return 1;
  }
  if (cl.page > 0) doc.state.fMei_MapPage = cl.page;
  HeadlessPrintOptions options;
  options.method = cl.pdfMethod.toInt();
  if (cl.colour || cl.mono) options.colour = cl.colour;
  options.comments = cl.comments;
  if (!cl.paper.isEmpty()) options.paper = PaperNamed(cl.paper).value_or(QPageSize::A4);
  if (cl.landscape || cl.portrait) options.landscape = cl.landscape;
  const QString image = QString::fromStdString(opened.imagePath);
  return cl.bmp ? ExportBitmapWithoutWindow(doc, image, cl.positional[1], options, err)
                : PrintPdfWithoutWindow(doc, image, cl.positional[1], options, err);
}

}  // namespace planimo
