// The bitmap and the PDF written without a window, with the exit status and
// the message the command line reports.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include "../core/print/print_scenario.h"
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

}  // namespace
}  // namespace planimo
