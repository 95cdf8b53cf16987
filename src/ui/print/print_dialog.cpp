#include "print/print_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "app/busy_guard.h"
#include "app/error_box.h"
#include "print/printer_choice.h"

namespace planimo {

namespace {

// The dialog was laid out in twips (15 to a pixel at 96 dpi); a control
// whose caption needs more room than that gets it.
void Place(QWidget* w, int left, int top, int width, int height) {
  const QSize hint = w->sizeHint();
  w->setGeometry(left / 15, top / 15, std::max(width / 15, hint.width()), std::max(height / 15, hint.height()));
}

constexpr int kClientWidth = 7455;
constexpr int kClientHeight = 3030;

}  // namespace

PrintDialog::PrintDialog(Document& doc, PrinterChoice& printers, MessageSink& sink, std::function<bool()> print,
                         QWidget* parent)
    : QDialog(parent), doc_(doc), printers_(printers), sink_(sink), print_(std::move(print)) {
  setObjectName(QStringLiteral("dlgPrinter"));
  setWindowTitle(QStringLiteral("印刷"));
  setModal(true);
  properties_ = [this](QPrinter& printer) {
    QPageSetupDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
  build();
  load();
}

void PrintDialog::build() {
  setFixedSize(kClientWidth / 15, kClientHeight / 15);

  auto* frame3 = new QGroupBox(QStringLiteral("プリンタ"), this);
  frame3->setObjectName(QStringLiteral("Frame3"));
  frame3->setGeometry(240 / 15, 120 / 15, 6975 / 15, 1335 / 15);
  auto* label3 = new QLabel(QStringLiteral("プリンタ名"), frame3);
  label3->setObjectName(QStringLiteral("Label3"));
  Place(label3, 120, 300, 855, 255);
  cmbPrinter_ = new QComboBox(frame3);
  cmbPrinter_->setObjectName(QStringLiteral("cmbPrinter"));
  Place(cmbPrinter_, 1200, 300, 3615, 300);
  cmbPrinter_->setFixedWidth(3615 / 15);
  auto* properties = new QPushButton(QStringLiteral("プロパティ"), frame3);
  properties->setObjectName(QStringLiteral("cmdPropaty"));
  Place(properties, 5040, 300, 1695, 375);

  auto* frame4 = new QGroupBox(QStringLiteral("印刷方法"), this);
  frame4->setObjectName(QStringLiteral("Frame4"));
  frame4->setGeometry(240 / 15, 1560 / 15, 4455 / 15, 1095 / 15);
  const char* methods[3] = {"縦横比固定、用紙サイズ内に印刷", "縦横比可変、用紙サイズに合わせて印刷",
                            "縦横比固定、画像サイズに合わせて印刷"};
  for (int i = 0; i < 3; ++i) {
    optHouhou_[i] = new QRadioButton(QString::fromUtf8(methods[i]), frame4);
    optHouhou_[i]->setObjectName(QStringLiteral("optHouhou(%1)").arg(i));
    Place(optHouhou_[i], 120, 300 + 240 * i, 4200, 240);
  }

  frame5_ = new QGroupBox(QStringLiteral("カラー・モノクロ"), this);
  frame5_->setObjectName(QStringLiteral("Frame5"));
  frame5_->setGeometry(5040 / 15, 1560 / 15, 2175 / 15, 855 / 15);
  const char* colours[2] = {"モノクロ", "カラー"};
  for (int i = 0; i < 2; ++i) {
    optColor_[i] = new QRadioButton(QString::fromUtf8(colours[i]), frame5_);
    optColor_[i]->setObjectName(QStringLiteral("optColor(%1)").arg(i));
    Place(optColor_[i], 120, 300 + 240 * i, 1900, 240);
  }

  chkComent_ = new QCheckBox(QStringLiteral("コメントを印刷する"), this);
  chkComent_->setObjectName(QStringLiteral("chkComent"));
  Place(chkComent_, 2040, 2700, 1815, 180);
  auto* printButton = new QPushButton(QStringLiteral("印刷"), this);
  printButton->setObjectName(QStringLiteral("cmdPrint"));
  printButton->setDefault(true);  // Enter prints, rather than opening the first button's settings
  Place(printButton, 4920, 2580, 1095, 375);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  Place(cancel, 6120, 2580, 1095, 375);

  connect(cmbPrinter_, &QComboBox::activated, this, &PrintDialog::choosePrinter);
  connect(chkComent_, &QCheckBox::toggled, this, &PrintDialog::toggleComments);
  connect(properties, &QPushButton::clicked, this, &PrintDialog::openProperties);
  connect(printButton, &QPushButton::clicked, this, &PrintDialog::printNow);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintDialog::load() {
  BusyGuard busy(this);
  cmbPrinter_->addItems(printers_.names());
  chkComent_->setChecked(doc_.state.GE_booPrtCmt);
  cmbPrinter_->setCurrentText(printers_.current());
  frame5_->setEnabled(true);
  const QPrinter* printer = printers_.printer();
  const bool colour = printer != nullptr && printer->colorMode() == QPrinter::Color;
  optColor_[colour ? 1 : 0]->setChecked(true);
  const int method = doc_.intPrintMethod >= 0 && doc_.intPrintMethod <= 2 ? doc_.intPrintMethod : 0;
  optHouhou_[static_cast<std::size_t>(method)]->setChecked(true);
}

QString PrintDialog::chosenPrinter() const { return cmbPrinter_->currentText(); }

void PrintDialog::choosePrinter(int) { frame5_->setEnabled(true); }

void PrintDialog::toggleComments(bool on) {
  if (doc_.state.GE_booPrtCmt == on) return;
  doc_.state.GE_booPrtCmt = on;  // a project value: kept even when the dialog is cancelled
  MarkChanged(doc_);
}

void PrintDialog::openProperties() {
  QPrinter* printer = printers_.printer(chosenPrinter());
  if (printer == nullptr || !printer->isValid()) {
    ShowErrorBox(sink_, QStringLiteral("cmdPropaty_Click"),
                 ErrorReport{482, "プリンタの設定を開けません。(" + chosenPrinter().toStdString() + ")"});
    return;
  }
  // The printer object keeps what the user changed; the next print uses it.
  properties_(*printer);
}

void PrintDialog::printNow() {
  {
    BusyGuard busy(this);
    printers_.select(chosenPrinter());
    if (QPrinter* printer = printers_.printer()) {
      printer->setColorMode(optColor_[0]->isChecked() ? QPrinter::GrayScale : QPrinter::Color);
    }
    for (int i = 0; i < 3; ++i) {
      if (optHouhou_[static_cast<std::size_t>(i)]->isChecked()) doc_.intPrintMethod = static_cast<std::int16_t>(i);
    }
  }
  if (print_ && !print_()) return;
  accept();
}

}  // namespace planimo
