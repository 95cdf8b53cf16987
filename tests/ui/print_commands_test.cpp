// The print dialog and the export and print commands in the real window:
// what the dialog shows, what "印刷" applies, the files and error boxes a
// user gets, and that neither command disturbs the drawing or a measurement
// in progress.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "app/options_dialog.h"
#include "drawing_window.h"
#include "model/history.h"
#include "pdf_reader.h"
#include "print/print_commands.h"
#include "print/print_dialog.h"
#include "view/map_view.h"

namespace planimo {
namespace {

template <class W>
W* Child(QWidget& parent, const QString& name) {
  W* w = parent.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name.toStdString();
  return w;
}

void Click(QWidget& dialog, const QString& name) { Child<QAbstractButton>(dialog, name)->click(); }

class PrintCommandsTest : public DrawingWindowTest {
 protected:
  void SetUp() override {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(QColor(40, 140, 220));
    ASSERT_NO_FATAL_FAILURE(ShowDrawing(image, QStringLiteral("plan.bmp"), QSize(1000, 800)));
    ASSERT_TRUE(w.mapView()->hasImage());
    print = w.printing();
    ASSERT_NE(print, nullptr);
    print->printers().setInstalled({});  // this machine's printers stay out of the test
    print->setSaveChooser([this](const QString& title, const QString&, const QString& filter, const QString& suffix) {
      asked.push_back(title + QLatin1Char('|') + filter + QLatin1Char('|') + suffix);
      return answer;
    });
    sink->boxes.clear();
  }

  // Opens dlgPrinter from the menu; `drive` plays the user.
  int RunDialog(const std::function<void(PrintDialog&)>& drive) {
    int result = -1;
    print->setDialogRunner([&](PrintDialog& d) {
      drive(d);
      result = d.result();
    });
    w.command(QStringLiteral("mnuFilePrint"))->trigger();
    return result;
  }

  QString File(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
  QImage Grab() const { return vp->grab().toImage(); }

  PrintCommands* print = nullptr;
  QString answer;
  QStringList asked;
};

TEST_F(PrintCommandsTest, DialogShowsTheCurrentSettingsAndKeepsTheCommentChoiceOnCancel) {
  Document& doc = w.document();
  doc.intPrintMethod = 2;
  const std::uint64_t revision = doc.revision;
  const int result = RunDialog([&](PrintDialog& d) {
    EXPECT_EQ(d.objectName(), "dlgPrinter");
    EXPECT_EQ(d.windowTitle(), "印刷");
    const std::pair<const char*, const char*> captions[] = {
        {"Frame3", "プリンタ"}, {"Frame4", "印刷方法"}, {"Frame5", "カラー・モノクロ"}};
    for (const auto& [name, caption] : captions) {
      EXPECT_EQ(Child<QGroupBox>(d, QString::fromLatin1(name))->title(), QString::fromUtf8(caption));
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdPropaty", "プロパティ"},
        {"optHouhou(0)", "縦横比固定、用紙サイズ内に印刷"},
        {"optHouhou(1)", "縦横比可変、用紙サイズに合わせて印刷"},
        {"optHouhou(2)", "縦横比固定、画像サイズに合わせて印刷"},
        {"optColor(0)", "モノクロ"},
        {"optColor(1)", "カラー"},
        {"chkComent", "コメントを印刷する"},
        {"cmdPrint", "印刷"},
        {"CancelButton", "ｷｬﾝｾﾙ"}};
    for (const auto& [name, caption] : buttons) {
      EXPECT_EQ(Child<QAbstractButton>(d, QString::fromLatin1(name))->text(), QString::fromUtf8(caption));
    }
    EXPECT_TRUE(Child<QPushButton>(d, QStringLiteral("cmdPrint"))->isDefault());
    EXPECT_FALSE(Child<QPushButton>(d, QStringLiteral("cmdPropaty"))->isDefault());
    // No printer installed: the list holds the PDF entry only, chosen.
    QComboBox* list = Child<QComboBox>(d, QStringLiteral("cmbPrinter"));
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentText(), kPdfPrinterName);
    EXPECT_TRUE(Child<QRadioButton>(d, QStringLiteral("optHouhou(2)"))->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(d, QStringLiteral("optColor(1)"))->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(d, QStringLiteral("chkComent"))->isChecked());
    Click(d, QStringLiteral("chkComent"));
    Click(d, QStringLiteral("optHouhou(0)"));
    Click(d, QStringLiteral("CancelButton"));
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(doc.state.GE_booPrtCmt);  // set when toggled, a project value
  EXPECT_NE(doc.revision, revision);
  EXPECT_TRUE(CanUndo(w.history()));  // the toggle is a step of its own
  EXPECT_EQ(doc.intPrintMethod, 2);  // nothing else applied
  EXPECT_TRUE(asked.isEmpty());
}

// Printers come and go while the program runs; a CUPS queue named "PDF" is
// a printer like any other, not the file entry.
TEST_F(PrintCommandsTest, PrinterListIsReadAtEveryOpening) {
  QStringList installed{QStringLiteral("PDF"), QStringLiteral("Office")};
  print->printers().setSource([&] { return installed; });
  const auto listed = [&] {
    QStringList names;
    RunDialog([&](PrintDialog& d) {
      const QComboBox* list = Child<QComboBox>(d, QStringLiteral("cmbPrinter"));
      for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
      d.reject();
    });
    return names;
  };
  EXPECT_EQ(listed(), (QStringList{QStringLiteral("PDF"), QStringLiteral("Office"), kPdfPrinterName}));
  EXPECT_FALSE(print->printers().isPdf(QStringLiteral("PDF")));
  ASSERT_TRUE(print->printers().select(QStringLiteral("Office")));
  installed = {QStringLiteral("PDF"), QStringLiteral("Lab")};
  EXPECT_EQ(listed(), (QStringList{QStringLiteral("PDF"), QStringLiteral("Lab"), kPdfPrinterName}));
  EXPECT_NE(print->printers().current(), QStringLiteral("Office"));
  EXPECT_FALSE(print->printers().select(QStringLiteral("Office")));
}

TEST_F(PrintCommandsTest, PrintAppliesTheChoicesAndWritesThePdfTheUserNamed) {
  answer = File("plan.pdf");
  // A cancelled file chooser prints nothing and leaves the dialog open.
  answer.clear();
  int result = RunDialog([&](PrintDialog& d) { Click(d, QStringLiteral("cmdPrint")); });
  EXPECT_NE(result, QDialog::Accepted);
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], "PDFファイル保存|(*.pdf)|pdf");

  answer = File("plan.pdf");
  result = RunDialog([&](PrintDialog& d) {
    Click(d, QStringLiteral("optHouhou(1)"));
    Click(d, QStringLiteral("optColor(0)"));
    // Properties of the chosen printer; the next print uses what changed.
    d.setPropertiesRunner([](QPrinter& p) {
      p.setPageOrientation(QPageLayout::Landscape);
      return true;
    });
    Click(d, QStringLiteral("cmdPropaty"));
    Click(d, QStringLiteral("cmdPrint"));
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_TRUE(sink->boxes.empty());
  EXPECT_EQ(pdf_reader::Pages(answer), 1);
  EXPECT_EQ(pdf_reader::PageSize(answer).toSize(), QSize(842, 595));
  EXPECT_EQ(w.document().intPrintMethod, 1);
  EXPECT_EQ(print->printers().printer()->colorMode(), QPrinter::GrayScale);

  // The next dialog opens on the last choices.
  RunDialog([&](PrintDialog& d) {
    EXPECT_TRUE(Child<QRadioButton>(d, QStringLiteral("optHouhou(1)"))->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(d, QStringLiteral("optColor(0)"))->isChecked());
    d.reject();
  });
}

TEST_F(PrintCommandsTest, FailuresShowTheErrorBoxWithTheCause) {
  answer = File("missing/plan.pdf");
  RunDialog([&](PrintDialog& d) { Click(d, QStringLiteral("cmdPrint")); });
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_EQ(sink->boxes[0].title, "ｴﾗｰ");
  EXPECT_TRUE(sink->boxes[0].text.startsWith("cmdPrint_Click():ｴﾗｰ番号 76 ｴﾗｰが発生しました。\r")) << sink->boxes[0].text.toStdString();

  answer = File("missing/plan.bmp");
  print->exportBitmap();
  ASSERT_EQ(sink->boxes.size(), 2u);
  EXPECT_TRUE(sink->boxes[1].text.startsWith("mnuFileSaveAsImg_Click():ｴﾗｰ番号 76 ")) << sink->boxes[1].text.toStdString();
  EXPECT_TRUE(w.isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  answer.clear();  // cancelled: silent
  print->exportBitmap();
  EXPECT_EQ(sink->boxes.size(), 2u);
}

TEST_F(PrintCommandsTest, ExportWritesTheZoomedSurfaceAndLeavesTheViewAsItWas) {
  w.document().view.sngZoom = 0.5f;
  w.applyZoom();
  answer = File("plan.bmp");
  const QImage before = Grab();
  const std::uint64_t revision = w.document().revision;
  print->exportBitmap();
  EXPECT_TRUE(sink->boxes.empty());
  EXPECT_EQ(asked.value(0), "ビットマップファイル保存|(*.bmp)|bmp");
  EXPECT_EQ(QImage(answer).size(), QSize(300, 200));
  EXPECT_EQ(Grab(), before);
  EXPECT_EQ(w.document().revision, revision);
}

// Each command in each running state: the file is written, and the drawing,
// the measurement in progress and the dialog stay as they were.
TEST_F(PrintCommandsTest, CommandsLeaveEveryRunningStateAlone) {
  const auto idle = [] {};
  const auto measuring = [this] {
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(220, 310), QPointF(vp->mapToGlobal(QPoint(220, 310))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
  };
  const auto pathOpen = [this, measuring] {
    w.command(QStringLiteral("popMesRenzoku"))->trigger();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    measuring();
  };
  const auto options = [this] { w.openOptions(); };
  const std::pair<const char*, std::function<void()>> states[] = {
      {"idle", idle}, {"measuring", measuring}, {"path open", pathOpen}, {"options open", options}};
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"bitmap", [this] { print->exportBitmap(); }},
      {"print fit", [this] {
         w.document().intPrintMethod = 0;
         print->printNow();
       }},
      {"print tiled", [this] {
         w.document().intPrintMethod = 2;
         print->printNow();
       }},
  };
  int n = 0;
  for (const auto& [state, enter] : states) {
    enter();
    const Document& doc = w.document();
    const std::uint64_t revision = doc.revision;
    const LineRecord live = doc.live.lineDistance;
    const std::size_t segments = doc.live.lineMenseki.size();
    const bool running = w.session().flags.Running();
    for (const auto& [command, run] : commands) {
      answer = File("out") + QString::number(++n);
      run();
      EXPECT_TRUE(QFile::exists(answer)) << state << " / " << command;
      EXPECT_TRUE(sink->boxes.empty()) << state << " / " << command;
      EXPECT_EQ(doc.revision, revision) << state << " / " << command;
      EXPECT_EQ(doc.live.lineDistance, live) << state << " / " << command;
      EXPECT_EQ(doc.live.lineMenseki.size(), segments) << state << " / " << command;
      EXPECT_EQ(w.session().flags.Running(), running) << state << " / " << command;
      EXPECT_TRUE(w.isEnabled()) << state << " / " << command;
    }
    if (w.optionsDialog()) {
      EXPECT_TRUE(w.optionsDialog()->isVisible()) << state;
    }
  }
}

}  // namespace
}  // namespace planimo
