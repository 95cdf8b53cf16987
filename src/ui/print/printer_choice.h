#pragma once

// The application's printer: the printers CUPS knows plus the PDF entry,
// which prints into a file. Each printer keeps the settings the user gave it
// in its properties for as long as the program runs.

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

class QPrinter;

namespace planimo {

// The entry that prints into a file. A CUPS queue name holds no space, so
// no installed printer can take this name or be taken for it.
inline const QString kPdfPrinterName = QStringLiteral("PDF ファイル");

class PrinterChoice {
 public:
  // Starts on the system's default printer, or on "PDF" without one.
  PrinterChoice();
  ~PrinterChoice();

  // Device names in the order the system lists them, then the PDF entry.
  QStringList names() const;
  QString current() const { return current_; }
  // Makes `name` the application's printer; false (and no change) when no
  // printer of that name is installed.
  bool select(const QString& name);
  bool isPdf(const QString& name) const { return name == kPdfPrinterName; }

  // The printer of that name with its settings (created on first use); the
  // current one without a name. Null for a name that is not installed.
  QPrinter* printer(const QString& name);
  QPrinter* printer() { return printer(current_); }

  // Reads the system's list again: printers added since appear, removed
  // ones go (with their settings); when the current printer went, the
  // system's default (or the PDF entry) takes its place.
  void refresh();

  // Tests stand in for the system's list: `source` is asked from now on
  // (at once, and on every refresh); setInstalled always answers `names`.
  void setSource(std::function<QStringList()> source);
  void setInstalled(const QStringList& names);

 private:
  std::function<QStringList()> source_;
  QStringList installed_;
  QString current_;
  std::map<QString, std::unique_ptr<QPrinter>> printers_;
};

}  // namespace planimo
