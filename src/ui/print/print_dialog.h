#pragma once

// dlgPrinter, "印刷": the printer, its properties, the scaling method,
// colour or monochrome and whether comments print. "印刷" applies the
// choices to the application's printer and hands over to the caller's
// print function.

#include <QDialog>
#include <array>
#include <functional>

#include "model/document.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace planimo {

class PrinterChoice;
class MessageSink;

class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  // `print` runs the page layout on the application's printer once the
  // settings are applied; it returns false when the user cancelled on the
  // way (the dialog then stays open).
  PrintDialog(Document& doc, PrinterChoice& printers, MessageSink& sink, std::function<bool()> print,
              QWidget* parent = nullptr);

  // What "プロパティ" shows for a printer; true when the user accepted.
  // Tests replace Qt's page set-up dialog.
  void setPropertiesRunner(std::function<bool(QPrinter&)> runner) { properties_ = std::move(runner); }

  // The printer name the list shows.
  QString chosenPrinter() const;

 private slots:
  void choosePrinter(int index);
  void toggleComments(bool on);
  void openProperties();
  void printNow();

 private:
  void build();
  void load();

  Document& doc_;
  PrinterChoice& printers_;
  MessageSink& sink_;
  std::function<bool()> print_;
  std::function<bool(QPrinter&)> properties_;
  QComboBox* cmbPrinter_ = nullptr;
  QGroupBox* frame5_ = nullptr;
  std::array<QRadioButton*, 3> optHouhou_{};
  std::array<QRadioButton*, 2> optColor_{};
  QCheckBox* chkComent_ = nullptr;
};

}  // namespace planimo
