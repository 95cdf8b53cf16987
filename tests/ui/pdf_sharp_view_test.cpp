#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "view/map_view.h"

namespace planimo {
namespace {

constexpr double kLineDownMm = 10.0;  // a hairline across the page, this far down
constexpr int kColumn = 100;          // a viewport column the line crosses at every zoom tried

// The rows of viewport column kColumn that are visibly inked.
std::vector<int> InkedRows(const QImage& img) {
  std::vector<int> rows;
  for (int y = 0; y < img.height(); ++y)
    if (qGray(img.pixel(kColumn, y)) < 200) rows.push_back(y);
  return rows;
}

// A page with one hairline across it, kLineDownMm down.
void WriteHairline(const QString& path, QPageSize::PageSizeId size) {
  QPdfWriter writer(path);
  writer.setResolution(254);  // one unit is 0.1 mm
  writer.setPageSize(QPageSize(size));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  painter.setPen(QPen(Qt::black, 0));  // the thinnest line the device draws
  painter.drawLine(QPointF(50, kLineDownMm * 10), QPointF(1000, kLineDownMm * 10));
}

struct PdfSharpViewTest : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath(QStringLiteral("hairline.pdf"));
    WriteHairline(path, QPageSize::A5);
    doc.live.lblDefault.Visible = false;
    doc.live.linDefault.Visible = false;
    view.resize(500, 400);
    view.show();
    ASSERT_TRUE(view.openImage(path).ok);
  }

  QImage Grab() { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  void Zoom(float z) {
    doc.view.sngZoom = z;
    ASSERT_TRUE(view.applyZoom().ok());
  }
  // The line's row on the viewport at zoom `z`.
  double LineRow(float z) const {
    return kLineDownMm / 25.4 * 96 * z - view.verticalScrollBar()->value();
  }

  QTemporaryDir dir;
  QString path;
  Document doc;
  MapView view{doc};
};

TEST_F(PdfSharpViewTest, ZoomedPageIsRenderedAgainSharpAndStaleRenderingsAreDropped) {
  QSignalSpy sharp(&view, &MapView::sharpPictureShown);
  Zoom(4.0f);
  // Until the rendering arrives the 96 dpi picture stands in, four times as thick.
  const std::vector<int> scaled = InkedRows(Grab());
  EXPECT_GE(scaled.size(), 3u);
  ASSERT_TRUE(sharp.wait(10000));
  std::vector<int> rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), 2u);
  EXPECT_NEAR(rows.front(), LineRow(4.0f), 1.5);

  // Scrolled: the part now shown is rendered for its own place.
  sharp.clear();
  view.verticalScrollBar()->setValue(60);
  ASSERT_TRUE(sharp.wait(10000));
  rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), 2u);
  EXPECT_NEAR(rows.front(), LineRow(4.0f), 1.5);

  // Away and straight back: the rendering for the place left never lands.
  sharp.clear();
  view.verticalScrollBar()->setValue(300);
  view.verticalScrollBar()->setValue(60);
  EXPECT_FALSE(sharp.wait(300));
  rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), 2u);

  // A zoom step while the 250 % rendering is on its way: only the 150 % one is shown.
  view.verticalScrollBar()->setValue(0);
  sharp.clear();
  Zoom(2.5f);
  Zoom(1.5f);
  ASSERT_TRUE(sharp.wait(10000));
  sharp.wait(300);  // anything still on its way for the earlier zoom would land by now
  EXPECT_EQ(sharp.count(), 1);
  rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), 2u);
  EXPECT_NEAR(rows.front(), LineRow(1.5f), 1.5);
  EXPECT_NEAR(rows.back(), LineRow(1.5f), 1.5);

  // At 100 % the 96 dpi picture is the page itself: nothing to render.
  sharp.clear();
  Zoom(1.0f);
  EXPECT_FALSE(sharp.wait(300));
  rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_NEAR(rows.front(), LineRow(1.0f), 1.5);
}

TEST_F(PdfSharpViewTest, LargePageIsReadInTheBackgroundAndReplacesTheDrawingWhole) {
  const QString large = dir.filePath(QStringLiteral("a1.pdf"));
  WriteHairline(large, QPageSize::A1);
  QCoreApplication::processEvents();  // the small page's own imageReady
  const QSize small = view.image().size();
  QSignalSpy ready(&view, &MapView::imageReady);
  // The visible part is drawn before the whole page, which would hold it back.
  std::vector<char> order;
  QObject::connect(&view, &MapView::sharpPictureShown, &view, [&] { order.push_back('s'); });
  QObject::connect(&view, &MapView::imageReady, &view, [&] { order.push_back('r'); });
  const ImageLoadResult r = view.openImage(large);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.pending);
  EXPECT_TRUE(view.isLoading());
  EXPECT_EQ(view.imagePath(), large);
  ASSERT_TRUE(ready.wait(30000));
  EXPECT_TRUE(ready.front().front().value<ImageLoadResult>().ok);
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), 's');
  EXPECT_FALSE(view.isLoading());
  EXPECT_TRUE(view.isPdfPage());
  const QSizeF points = QPageSize(QPageSize::A1).sizePoints();
  EXPECT_EQ(view.image().size(),
            QSize(qRound(points.width() * 96 / 72), qRound(points.height() * 96 / 72)));
  // The whole page, and on screen at 100 % the picture itself.
  const int row = int(std::lround(LineRow(1.0f)));
  EXPECT_LT(qGray(view.image().pixel(kColumn, row)), 200);
  const std::vector<int> rows = InkedRows(Grab());
  ASSERT_FALSE(rows.empty());
  EXPECT_NEAR(rows.front(), LineRow(1.0f), 1.5);

  // Another drawing asked for at once, before anything of the large page
  // came: the large page is read to its end, then the small one shows.
  ASSERT_TRUE(view.openImage(large).pending);
  ASSERT_TRUE(view.openImage(path).ok);
  EXPECT_EQ(view.imagePath(), path);
  EXPECT_FALSE(view.isLoading());
  EXPECT_EQ(view.image().size(), small);
  // Closed while only its visible part is on its way: nothing of the page
  // comes back afterwards.
  ASSERT_TRUE(view.openImage(large).pending);
  view.clearImage();
  EXPECT_FALSE(view.isLoading());
  QTest::qWait(300);
  EXPECT_FALSE(view.hasImage());
}

}  // namespace
}  // namespace planimo
