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

PrinterChoice::PrinterChoice() : source_([] { return QPrinterInfo::availablePrinterNames(); }) { refresh(); }

void PrinterChoice::setSource(std::function<QStringList()> source) {
  source_ = std::move(source);
  refresh();
}

void PrinterChoice::setInstalled(const QStringList& names) {
  setSource([names] { return names; });
}

void PrinterChoice::refresh() {
  installed_ = source_();
  installed_.removeAll(kPdfPrinterName);
  for (auto it = printers_.begin(); it != printers_.end();) {
    it = names().contains(it->first) ? std::next(it) : printers_.erase(it);
  }
  if (names().contains(current_)) return;
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
