#pragma once

// The application's printer: the printers CUPS knows plus "PDF", which
// prints into a file. Each printer keeps the settings the user gave it in
// its properties for as long as the program runs.

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QPrinter;

namespace planimo {

inline const QString kPdfPrinterName = QStringLiteral("PDF");

class PrinterChoice {
 public:
  // Starts on the system's default printer, or on "PDF" without one.
  PrinterChoice();
  ~PrinterChoice();

  // Device names in the order the system lists them, then "PDF".
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

  // Tests stand in for the system's list.
  void setInstalled(const QStringList& names) { installed_ = names; }

 private:
  QStringList installed_;
  QString current_;
  std::map<QString, std::unique_ptr<QPrinter>> printers_;
};

}  // namespace planimo
