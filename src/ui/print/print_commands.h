#pragma once

// The main window's bitmap export ("ビットマップファイルへ保存") and print
// ("印刷(&P)..." and the toolbar's print button) commands.

#include <QObject>
#include <QString>
#include <functional>

#include "print/printer_choice.h"

namespace planimo {

class MainWindow;
class PrintDialog;
struct Surface;

// A save chooser: title, initial folder, filter and default suffix; the
// chosen path, or empty after a cancel.
using SaveChooser = std::function<QString(const QString& title, const QString& folder, const QString& filter,
                                          const QString& suffix)>;

class PrintCommands : public QObject {
  Q_OBJECT

 public:
  explicit PrintCommands(MainWindow& window);

  PrinterChoice& printers() { return printers_; }

  // Tests answer the choosers and drive the dialog instead of a user.
  void setSaveChooser(SaveChooser chooser) { chooser_ = std::move(chooser); }
  void setDialogRunner(std::function<void(PrintDialog&)> runner) { dialogRunner_ = std::move(runner); }

  // mnuFileSaveAsImg: asks for a file and writes the composed drawing.
  void exportBitmap();
  // mnuFilePrint: shows dlgPrinter, with the printer list read afresh.
  void openPrintDialog();
  // The dialog's "印刷" after its settings are applied: for the PDF entry asks for
  // the file first. False when the user cancelled that chooser.
  bool printNow();

 private:
  Surface surface() const;
  QString choose(const QString& title, const QString& filter, const QString& suffix, bool confirmOverwrite);

  MainWindow& window_;
  PrinterChoice printers_;
  SaveChooser chooser_;
  std::function<void(PrintDialog&)> dialogRunner_;
};

}  // namespace planimo
