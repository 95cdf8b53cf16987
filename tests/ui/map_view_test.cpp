#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "model/collections.h"
#include "model/error_numbers.h"
#include "view/map_view.h"
#include "view/view_units.h"

namespace planimo {
namespace {

constexpr QSize kViewSize(500, 400);

class MapViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    view.resize(kViewSize);
    view.show();
    doc.live.lblDefault.Visible = false;  // keep the sample out of the pixels under test
    doc.live.linDefault.Visible = false;
  }

  QString Save(const QString& name, QSize size, QImage::Format format = QImage::Format_RGB32,
               QColor fill = Qt::white) {
    QImage image(size, format);
    image.fill(fill);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
  }

  QImage Grab() { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QTemporaryDir dir;
  Document doc;
  MapView view{doc};
};

QScrollBar* Bar(MapView& v, const char* name) { return v.findChild<QScrollBar*>(QString::fromLatin1(name)); }

TEST_F(MapViewTest, NamesItsPartsAsTheWindowDoes) {
  EXPECT_EQ(view.objectName(), "pictWindow");
  EXPECT_EQ(view.viewport()->objectName(), "pictMap");
  EXPECT_EQ(view.horizontalScrollBar()->objectName(), "hscX");
  EXPECT_EQ(view.verticalScrollBar()->objectName(), "vscY");
}

TEST_F(MapViewTest, ScrollBarsShowExactlyWhenTheSurfaceExceedsTheViewport) {
  const QSize area = view.viewportArea();
  struct Case {
    const char* name;
    QSize size;
    bool horizontal, vertical;
  } cases[] = {
      {"small.bmp", QSize(100, 80), false, false},
      {"fits.bmp", area, false, false},
      {"wide.jpg", QSize(area.width() + 1, 50), true, false},
      {"tall.bmp", QSize(60, area.height() + 300), false, true},
      {"both.jpg", QSize(2000, 1500), true, true},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(view.openImage(Save(c.name, c.size)).ok) << c.name;
    EXPECT_EQ(Bar(view, "hscX")->isVisible(), c.horizontal) << c.name;
    EXPECT_EQ(Bar(view, "vscY")->isVisible(), c.vertical) << c.name;
    EXPECT_EQ(view.viewport()->size(), area) << c.name;  // a bar appearing never shrinks the viewport
    if (c.horizontal) {
      EXPECT_EQ(Bar(view, "hscX")->maximum(), c.size.width() - area.width() + 4) << c.name;
    }
    if (c.vertical) {
      EXPECT_EQ(Bar(view, "vscY")->maximum(), c.size.height() - area.height() + 4) << c.name;
    }
    EXPECT_EQ(Bar(view, "hscX")->singleStep(), 10);
    EXPECT_EQ(Bar(view, "hscX")->pageStep(), 50);
  }
  // Zooming the 2000 x 1500 picture to 25 % brings it inside the viewport.
  doc.view.sngZoom = 0.25f;
  EXPECT_TRUE(view.applyZoom().ok());
  EXPECT_EQ(view.surfaceSize(), QSize(500, 375));
  EXPECT_EQ(Bar(view, "vscY")->isVisible(), 375 > area.height());
}

TEST_F(MapViewTest, BadFilesAreReportedAndTheViewStaysAsItWas) {
  const QString good = Save("good.bmp", QSize(120, 90));
  ASSERT_TRUE(view.openImage(good).ok);

  // A JPEG cut in half: Qt would decode it into a half-grey picture without complaint.
  const QString cut = Save("cut.jpg", QSize(400, 300), QImage::Format_RGB32, Qt::darkGreen);
  QFile file(cut);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.resize(file.size() / 2));
  file.close();
  const QString text = dir.filePath("text.jpg");
  QFile textFile(text);
  ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
  textFile.write("this is not a picture");
  textFile.close();

  const QString pipe = dir.filePath("pipe.jpg");
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);

  struct Case {
    QString path;
    int number;
    const char* cause;
  } cases[] = {
      {dir.filePath("missing.jpg"), kErrFileNotFound, "ファイルが見つかりません。"},
      {dir.path(), kErrPathFileAccess, "ファイルを読み取れません。"},  // a folder cannot be read as a file
      {pipe, kErrPathFileAccess, "通常のファイルではありません。"},  // refused, not waited on
      {cut, kErrInvalidPicture, "ファイルが途中で切れています。"},
      {text, kErrInvalidPicture, "JPEG、GIF、BMP"},
  };
  for (const Case& c : cases) {
    const ImageLoadResult r = view.openImage(c.path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorNumber, c.number) << c.path.toStdString();
    EXPECT_TRUE(r.description.contains(QString::fromUtf8(c.cause))) << r.description.toStdString();
    EXPECT_TRUE(r.description.contains(QDir::toNativeSeparators(c.path))) << r.description.toStdString();
    EXPECT_EQ(view.imagePath(), good);
    EXPECT_EQ(view.imageSize(), QSize(120, 90));
  }
}

TEST_F(MapViewTest, ReadsGif) {
  // A 1 x 1 GIF (Qt writes no GIF, so its bytes are spelt out).
  static const char kGif[] =
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00"
      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;";
  const QString path = dir.filePath("dot.gif");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kGif, sizeof kGif - 1);
  file.close();
  ASSERT_TRUE(view.openImage(path).ok);
  EXPECT_EQ(view.imageSize(), QSize(1, 1));
}

TEST_F(MapViewTest, GreyScansStayEightBit) {
  ASSERT_TRUE(view.openImage(Save("grey.jpg", QSize(64, 48), QImage::Format_Grayscale8, Qt::gray)).ok);
  EXPECT_EQ(view.image().format(), QImage::Format_Grayscale8);
}

// Scrolled into a picture and zoomed, each kind of scan keeps its paper
// white and its ink where the surface says: a black cross at odd pixels.
TEST_F(MapViewTest, ScansStayInRegisterWhenScrolledAndZoomed) {
  constexpr int kInkX = 1013, kInkY = 907;
  // A 16-bit PNG scan is read as 64-bit colour.
  for (const QImage::Format format :
       {QImage::Format_RGB32, QImage::Format_Grayscale8, QImage::Format_Mono, QImage::Format_RGBX64}) {
    QImage image(1400, 1100, format);
    if (format == QImage::Format_Mono) image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(Qt::white);
    const auto ink = [&image](int x, int y) {
      if (image.format() == QImage::Format_Mono)
        image.setPixel(x, y, 1);
      else
        image.setPixelColor(x, y, Qt::black);
    };
    for (int i = 0; i < 1400; ++i) {
      if (i < 1100) ink(kInkX, i);
      ink(i, kInkY);
    }
    const QString path = dir.filePath(QStringLiteral("cross%1.png").arg(int(format)));
    ASSERT_TRUE(image.save(path));
    ASSERT_TRUE(view.openImage(path).ok);
    ASSERT_EQ(view.image().format(), format);
    for (const float zoom : {2.0f, 1.5f, 0.75f}) {
      SCOPED_TRACE(testing::Message() << format << " at " << zoom);
      doc.view.sngZoom = zoom;
      ASSERT_TRUE(view.applyZoom().ok());
      Bar(view, "hscX")->setValue(int(kInkX * zoom) - 200);
      Bar(view, "vscY")->setValue(int(kInkY * zoom) - 150);
      const QImage img = Grab();
      const double x = (kInkX + 0.5) * zoom - Bar(view, "hscX")->value();
      const double y = (kInkY + 0.5) * zoom - Bar(view, "vscY")->value();
      // Below 100 % a line of one pixel is smoothed into its neighbours.
      EXPECT_LT(qGray(img.pixel(int(x), 20)), 140);
      EXPECT_LT(qGray(img.pixel(20, int(y))), 140);
      for (const QPoint paper : {QPoint(int(x) - 4, 20), QPoint(int(x) + 4, 20), QPoint(20, int(y) + 4), QPoint(5, 5)})
        EXPECT_EQ(qGray(img.pixel(paper)), 255) << paper.x() << "," << paper.y();
    }
  }
}

TEST_F(MapViewTest, LargeJpegDecodesInTheBackgroundLaidOutAtFullSize) {
  const QString path = Save("large.jpg", QSize(5000, 4000), QImage::Format_Grayscale8, Qt::lightGray);
  QSignalSpy ready(&view, &MapView::imageReady);
  const ImageLoadResult r = view.openImage(path);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.pending);
  EXPECT_TRUE(view.isLoading());
  EXPECT_EQ(view.imageSize(), QSize(5000, 4000));
  EXPECT_EQ(view.surfaceSize(), QSize(5000, 4000));  // laid out at full size already
  ASSERT_TRUE(ready.wait(20000));
  EXPECT_TRUE(ready.at(0).at(0).value<ImageLoadResult>().ok);
  EXPECT_FALSE(view.isLoading());
  EXPECT_EQ(view.image().size(), QSize(5000, 4000));
}

TEST_F(MapViewTest, MousePositionsAreSurfaceMillimetresWithModifiers) {
  ASSERT_TRUE(view.openImage(Save("big.bmp", QSize(2000, 1500))).ok);
  view.horizontalScrollBar()->setValue(30);
  view.verticalScrollBar()->setValue(20);
  QSignalSpy pressed(&view, &MapView::mapMousePressed);
  QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(100, 50));
  ASSERT_EQ(pressed.count(), 1);
  const MapMouseEvent e = pressed.at(0).at(0).value<MapMouseEvent>();
  EXPECT_NEAR(e.x, 130 * 0.2645, 1e-3);
  EXPECT_NEAR(e.y, 70 * 0.2645, 1e-3);
  EXPECT_EQ(e.button, Qt::LeftButton);
  EXPECT_TRUE(e.ctrl);
  EXPECT_FALSE(e.shift);
}

TEST_F(MapViewTest, DefaultSampleFollowsTheScrolling) {
  ASSERT_TRUE(view.openImage(Save("big.bmp", QSize(2000, 1500))).ok);
  doc.live.lblDefault.Width = 20;
  view.horizontalScrollBar()->setValue(100);
  view.verticalScrollBar()->setValue(40);
  EXPECT_NEAR(doc.live.lblDefault.Left, 100 * 0.2645 + 10, 1e-4);
  EXPECT_NEAR(doc.live.linDefault.X1, doc.live.lblDefault.Left, 1e-4);
  EXPECT_NEAR(doc.live.linDefault.X2, doc.live.lblDefault.Left + 20, 1e-4);
  EXPECT_NEAR(doc.live.lblDefault.Top, 40 * 0.2645 + 10, 1e-4);
  EXPECT_NEAR(doc.live.linDefault.Y1, doc.live.lblDefault.Top + 4, 1e-4);
  EXPECT_NEAR(doc.live.linDefault.Y2, doc.live.lblDefault.Top + 4, 1e-4);
}

// A kept distance: dimension line, two end markers and its value label.
void KeepDistance(Document& doc, float x1, float x2, float y) {
  Collections& o = doc.objects;
  LineRecord& line = o.lineDsSave[0];
  line = LineRecord{true, "", x1, y, x2, y, Rgb(255, 0, 0), 1, kStyleSolid};
  ASSERT_TRUE(AppendSpare(o.lineDsSave));
  for (int i = 0; i < 2; ++i) {
    if (i == 1) {
      ASSERT_TRUE(AppendSpare(o.shpSnpo));
    }
    ShapeRecord& m = o.shpSnpo[i];
    m.Visible = true;
    m.BorderColor = m.FillColor = Rgb(0, 0, 255);
    m.Left = (i == 0 ? x1 : x2) - m.Width / 2;
    m.Top = y - m.Height / 2;
  }
  ASSERT_TRUE(AppendSpare(o.shpSnpo));
  TextRecord& label = o.lblKyori[0];
  label.Visible = true;
  label.Caption = "12.34m ";
  label.BackColor = Rgb(255, 255, 0);
  label.ForeColor = Rgb(0, 0, 0);
  AutoSize(label, *doc.measurer);
  label.Left = (x1 + x2) / 2 - label.Width / 2;
  label.Top = y + 5;  // below the line, so line and label pixels stay apart
  ASSERT_TRUE(AppendSpare(o.lblKyori));
}

QPoint Px(double xMm, double yMm) { return QPoint(int(std::floor(MmToPx(xMm))), int(std::floor(MmToPx(yMm)))); }

bool NearColour(const QImage& img, QPoint p, QColor c, int radius = 1) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (img.valid(p + QPoint(dx, dy)) && img.pixelColor(p + QPoint(dx, dy)) == c) return true;
  return false;
}

double Share(const QImage& img, const QRect& r, QColor c) {
  int hits = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) hits += img.pixelColor(x, y) == c;
  return double(hits) / (r.width() * r.height());
}

TEST_F(MapViewTest, PaintedRecordsFollowTheirDataThroughZooms) {
  ASSERT_TRUE(view.openImage(Save("white.bmp", QSize(1200, 1000))).ok);
  const float x1 = 20, x2 = 80, y = 30;
  KeepDistance(doc, x1, x2, y);
  const TextRecord label100 = doc.objects.lblKyori[0];

  for (const float zoom : {1.0f, 0.5f, 1.25f}) {
    SCOPED_TRACE(zoom);
    doc.view.sngZoom = zoom;
    ASSERT_TRUE(view.applyZoom().ok());
    const QImage img = Grab();
    // Dimension line: red along its length, white just above and below it.
    const double quarter = (x1 + (x2 - x1) / 4) * zoom;
    EXPECT_TRUE(NearColour(img, Px(quarter, y * zoom), Qt::red));
    EXPECT_EQ(img.pixelColor(Px(quarter, y * zoom) - QPoint(0, 4)), Qt::white);
    // Markers: 7 x 7 blue at both ends, whatever the zoom.
    for (const float x : {x1, x2}) {
      const QPoint c = Px(x * zoom, y * zoom);
      for (const QPoint d : {QPoint(0, 0), QPoint(0, 3), QPoint(0, -3), QPoint(3, 0), QPoint(-3, 0)}) {
        EXPECT_EQ(img.pixelColor(c + d), Qt::blue);
      }
      EXPECT_EQ(img.pixelColor(c + QPoint(0, 5)), Qt::white);
      EXPECT_EQ(img.pixelColor(c - QPoint(0, 5)), Qt::white);
    }
    // Label: a yellow box where its record says, nothing yellow beside it.
    // At 50 % the glyphs of the window's Japanese font (once a main window
    // has set it up in this process) cover well over half of the small box.
    const TextRecord& l = doc.objects.lblKyori[0];
    const QRect box = QRectF(MmToPx(l.Left), MmToPx(l.Top), MmToPx(l.Width), MmToPx(l.Height)).toRect().adjusted(1, 1, -1, -1);
    EXPECT_GT(Share(img, box, Qt::yellow), 0.25);
    EXPECT_EQ(Share(img, box.translated(box.width() + 4, 0), Qt::yellow), 0.0);
    EXPECT_NEAR(l.FontSize, label100.FontSize * zoom, 1e-3);
  }
}

TEST_F(MapViewTest, HiddenAndTransparentRecordsAreNotDrawn) {
  ASSERT_TRUE(view.openImage(Save("white.bmp", QSize(600, 500))).ok);
  LineRecord& hidden = doc.objects.lineHikidashi[0];
  hidden = LineRecord{false, "", 10, 10, 60, 10, Rgb(255, 0, 0), 3, kStyleSolid};
  LineRecord& clear = doc.objects.linePS[0];
  clear = LineRecord{true, "", 10, 20, 60, 20, Rgb(255, 0, 0), 3, kStyleTransparent};
  view.refresh();
  const QImage img = Grab();
  EXPECT_EQ(Share(img, QRect(Px(10, 8), Px(60, 22)), Qt::white), 1.0);
}

}  // namespace
}  // namespace planimo
