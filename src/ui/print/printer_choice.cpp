#include "print/printer_choice.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace planimo {

namespace {

// The PDF's device pixel: fine enough for print, coarse enough that a one
// pixel line stays visible and the page's image stays small.
constexpr int kPdfDpi = 300;

}  // namespace

PrinterChoice::PrinterChoice() : installed_(QPrinterInfo::availablePrinterNames()) {
  const QString system = QPrinterInfo::defaultPrinterName();
  current_ = installed_.contains(system) ? system : kPdfPrinterName;
}

PrinterChoice::~PrinterChoice() = default;

QStringList PrinterChoice::names() const { return installed_ + QStringList{kPdfPrinterName}; }

bool PrinterChoice::select(const QString& name) {
  if (!names().contains(name)) return false;
  current_ = name;
  return true;
}

QPrinter* PrinterChoice::printer(const QString& name) {
  if (!names().contains(name)) return nullptr;
  std::unique_ptr<QPrinter>& p = printers_[name];
  if (!p) {
    if (isPdf(name)) {
      p = std::make_unique<QPrinter>(QPrinter::HighResolution);
      p->setOutputFormat(QPrinter::PdfFormat);
      p->setResolution(kPdfDpi);
      p->setPageSize(QPageSize(QPageSize::A4));
      p->setPageOrientation(QPageLayout::Portrait);
      p->setColorMode(QPrinter::Color);
    } else {
      p = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    }
  }
  return p.get();
}

}  // namespace planimo
