// The bitmap and the PDF written without a window, with the exit status and
// the message the command line reports.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include "../core/print/print_scenario.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "fake_message_sink.h"
#include "measure/line_measure.h"
#include "pdf_reader.h"
#include "print/headless_print.h"

namespace planimo {
namespace {

TEST(HeadlessPrint, WritesTheBitmapAndThePdfAndSaysWhatFailed) {
  QTemporaryDir dir;
  QImage image(500, 400, QImage::Format_RGB32);
  image.fill(QColor(200, 60, 60));
  const QString plan = dir.filePath(QStringLiteral("plan.jpg"));
  ASSERT_TRUE(image.save(plan));
  Document doc;
  print_scenario::Fill(doc);
  QString messages;
  QTextStream err(&messages);

  const QString bmp = dir.filePath(QStringLiteral("plan.bmp"));
  EXPECT_EQ(ExportBitmapWithoutWindow(doc, plan, bmp, {}, err), 0);
  EXPECT_EQ(QImage(bmp).size(), QSize(500, 400));

  HeadlessPrintOptions tiled;
  tiled.method = 2;
  tiled.colour = false;
  tiled.comments = true;
  const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, pdf, tiled, err), 0);
  EXPECT_TRUE(doc.state.GE_booPrtCmt);
  EXPECT_EQ(pdf_reader::Pages(pdf), 1);
  const std::vector<QImage> pages = pdf_reader::Render(pdf, 20, dir.path());
  ASSERT_EQ(pages.size(), 1u);
  const QColor c = pages[0].pixelColor(pages[0].width() / 8, pages[0].height() / 8);
  EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue()) << c.name().toStdString();
  EXPECT_TRUE(messages.isEmpty()) << messages.toStdString();

  EXPECT_EQ(PrintPdfWithoutWindow(doc, dir.filePath(QStringLiteral("gone.jpg")), pdf, {}, err), 1);
  EXPECT_TRUE(messages.startsWith(QStringLiteral("subMapDraw()\n"))) << messages.toStdString();
  messages.clear();
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, dir.filePath(QStringLiteral("no/such/plan.pdf")), {}, err), 1);
  EXPECT_TRUE(messages.startsWith(QStringLiteral("cmdPrint_Click():ｴﾗｰ番号 76 "))) << messages.toStdString();
  HeadlessPrintOptions badMethod;
  badMethod.method = 3;
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, pdf, badMethod, err), 2);
}

// planimo --bmp / --pdf on a project saved by the window.
TEST(HeadlessPrint, CommandLinePrintsASavedProject) {
  QTemporaryDir folder;
  const auto path = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(QColor(60, 180, 60));
  ASSERT_TRUE(image.save(path("plan.bmp")));
  {
    auto sink = std::make_shared<FakeMessageSink>();
    MainWindow w(sink, folder.path());
    w.setImageChooser([&] { return path("plan.bmp"); });
    w.setFileChooser([&](const FileChooserRequest&) { return path("site.ini"); });
    w.command(QStringLiteral("mnuFileNewPrj"))->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(KeepSegmentDistance(w.document(), w.session(), 10, 20, 60, 20, true));
    w.command(QStringLiteral("mnuFileSaveAsPrj"))->trigger();
    ASSERT_TRUE(sink->boxes.empty());
  }
  const struct {
    QStringList args;
    int status;
  } cases[] = {
      {{"planimo", "--bmp", path("site.ini"), path("cli.bmp")}, 0},
      {{"planimo", "--pdf", "1", "--mono", "--comments", path("site.ini"), path("cli.pdf")}, 0},
      {{"planimo", "--pdf", "3", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--pdf", "0", path("site.ini")}, 2},
      {{"planimo", "--pdf", "0", "--bmp", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--pdf", "0", "--color", "--mono", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--bmp", path("none.ini"), path("x.bmp")}, 1},
  };
  QString out, err;
  QTextStream o(&out), e(&err);
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(c.args);
    EXPECT_TRUE(cl.runsWithoutWindow()) << c.args.join(' ').toStdString();
    EXPECT_EQ(RunWithoutWindow(cl, folder.path(), o, e), c.status) << c.args.join(' ').toStdString() << err.toStdString();
  }
  EXPECT_EQ(QImage(path("cli.bmp")).size(), QSize(400, 300));
  EXPECT_EQ(pdf_reader::Pages(path("cli.pdf")), 1);
  EXPECT_FALSE(QFile::exists(path("x.pdf")) || QFile::exists(path("x.bmp")));
  EXPECT_TRUE(err.contains(QStringLiteral("mnuFileOpenPrj_Click():ｴﾗｰ番号 ")));
}

}  // namespace
}  // namespace planimo
