#include "print/print_commands.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>

#include "app/busy_guard.h"
#include "app/error_box.h"
#include "app/main_window.h"
#include "print/bitmap_export.h"
#include "print/page_layout.h"
#include "print/page_printer.h"
#include "print/print_dialog.h"
#include "view/map_view.h"

namespace planimo {

PrintCommands::PrintCommands(MainWindow& window) : QObject(&window), window_(window) {
  setObjectName(QStringLiteral("printCommands"));
  connect(window.command(QStringLiteral("mnuFileSaveAsImg")), &QAction::triggered, this,
          &PrintCommands::exportBitmap);
  connect(window.command(QStringLiteral("mnuFilePrint")), &QAction::triggered, this,
          &PrintCommands::openPrintDialog);
}

Surface PrintCommands::surface() const {
  const MapView* view = window_.mapView();
  return view ? SurfaceOf(*view, window_.document().view.sngZoom) : Surface{};
}

QString PrintCommands::choose(const QString& title, const QString& filter, const QString& suffix,
                              bool confirmOverwrite) {
  const QString folder = QString::fromStdString(window_.document().settings.MAP_FD);
  if (chooser_) return chooser_(title, folder, filter, suffix);
  QFileDialog dialog(&window_, title, folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void PrintCommands::exportBitmap() {
  // An existing bitmap is replaced without a question.
  const QString path = choose(QStringLiteral("ビットマップファイル保存"), QStringLiteral("(*.bmp)"),
                              QStringLiteral("bmp"), false);
  if (path.isEmpty()) return;  // a cancelled chooser says nothing
  ErrorReport r;
  {
    BusyGuard busy(&window_);
    r = ExportBitmap(path, surface(), window_.document());
  }
  if (r.number != 0) ShowErrorBox(window_.messages(), QStringLiteral("mnuFileSaveAsImg_Click"), r);
}

void PrintCommands::openPrintDialog() {
  printers_.refresh();  // printers come and go while the program runs
  PrintDialog dialog(window_.document(), printers_, window_.messages(), [this] { return printNow(); }, &window_);
  if (dialogRunner_) {
    dialogRunner_(dialog);
  } else {
    dialog.exec();
  }
  window_.reflectSession();
}

bool PrintCommands::printNow() {
  const Document& doc = window_.document();
  const Surface s = surface();
  if (doc.intPrintMethod == kPrintTiled && !s.hasImage()) {
    window_.messages().information(QStringLiteral("印刷"), QStringLiteral("印刷する画像がありません。"));
    return true;
  }
  QPrinter* printer = printers_.printer();
  if (printer == nullptr) return true;
  if (printers_.isPdf(printers_.current())) {
    const QString path =
        choose(QStringLiteral("PDFファイル保存"), QStringLiteral("(*.pdf)"), QStringLiteral("pdf"), true);
    if (path.isEmpty()) return false;
    printer->setOutputFileName(path);
  }
  PrintOutcome outcome;
  {
    BusyGuard busy(&window_);
    outcome = PrintDrawing(*printer, doc.intPrintMethod, s, doc);
  }
  if (outcome.error.number != 0) ShowErrorBox(window_.messages(), QStringLiteral("cmdPrint_Click"), outcome.error);
  return true;
}

}  // namespace planimo
