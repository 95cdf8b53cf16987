// A distance measured with the mouse in the real window: the pointer events
// of the map view reach the measurement core, the kept object lands in the
// document, and the view paints it where its records say, also after a zoom.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "drawing_window.h"
#include "measure/abandon.h"
#include "model/value_tag.h"
#include "view/map_view.h"

namespace planimo {
namespace {

constexpr double kMmPerPx = 0.2645;
const QColor kBlue(0, 0, 255);

int ToPx(float mm) { return static_cast<int>(std::floor(mm / kMmPerPx)); }

// A pointer move with no button down, as the mouse sends it over the map.
void MoveTo(QWidget* w, QPoint p) { Send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }

// Whether the colour is at p or at a pixel next to it (a fractional position
// may fall on either side).
bool ColourNear(const QImage& img, QPoint p, QColor c) {
  for (int dy : {0, -1, 1})
    for (int dx : {0, -1, 1})
      if (img.pixelColor(p + QPoint(dx, dy)) == c) return true;
  return false;
}

int Count(const QImage& img, const QRect& r, bool (*pred)(QColor)) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += pred(img.pixelColor(x, y));
  return n;
}

bool IsWhite(QColor c) { return c == QColor(Qt::white); }
bool IsLineBlue(QColor c) { return c == QColor(0, 0, 255); }
// Text in the label's dark blue (0, 0, 192), allowing for smoothed edges.
bool IsDarkBlue(QColor c) { return c.red() < 110 && c.green() < 110 && c.blue() >= 150 && c.blue() <= 235; }

QRect LabelRect(const TextRecord& l) {
  return QRect(QPoint(ToPx(l.Left) + 1, ToPx(l.Top) + 1), QPoint(ToPx(l.Left + l.Width) - 2, ToPx(l.Top + l.Height) - 2));
}

struct MeasureUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    ASSERT_TRUE(sink->boxes.empty());
    ASSERT_TRUE(w.mapView()->hasImage());
    ASSERT_EQ(w.mapView()->scrollOffset(), QPoint(0, 0));
    ASSERT_GE(vp->width(), 800);
    ASSERT_GE(vp->height(), 600);
  }

  QImage Grab() const { return vp->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // Click, move, click: one finished straight-line measurement.
  void Measure(QPoint a, QPoint b) {
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, a);
    MoveTo(vp, b);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, b);
  }
};

TEST_F(MeasureUiTest, HorizontalDistanceIsKeptAndPaintedThroughTheHalfZoom) {
  // 100 pixels to the right at 100 % are 26.45 view mm: 26.45 m with the
  // calibration of a new drawing (1 m per mm).
  const QPoint a(200, 400), b(300, 400);
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, a);
  EXPECT_TRUE(w.session().flags.booMesRunDis);
  MoveTo(vp, b);
  ASSERT_TRUE(w.session().flags.booMesMovedDis) << "the move did not reach the core";
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, b);

  const Collections& o = w.document().objects;
  ASSERT_EQ(UBound(o.lblKyori), 1);
  EXPECT_TRUE(o.lblKyori[0].Visible);
  EXPECT_FALSE(o.lblKyori[1].Visible);
  EXPECT_EQ(o.lblKyori[0].Caption, " 26.45 m ");
  const std::optional<ValueTag> tag = ParseValueTag(o.lblKyori[0].Tag);
  ASSERT_TRUE(tag);
  EXPECT_NEAR(tag->value, 26.45, 1e-4);
  EXPECT_EQ(UBound(o.lineDsSave), 1);
  EXPECT_EQ(UBound(o.lineHojoSave), 2);
  EXPECT_EQ(UBound(o.shpSnpo), 2);
  EXPECT_EQ(w.readout(4)->text(), QStringLiteral(" 26.45 m "));
  EXPECT_FALSE(w.session().flags.Running());

  // Drawn to the right, the dimension stands 15 mm (56.7 px) above.
  const LineRecord& dim = o.lineDsSave[0];
  EXPECT_NEAR(dim.Y1, 400 * kMmPerPx - 15, 1e-3);
  const int y = ToPx(dim.Y1);
  EXPECT_EQ(y, 343);

  QImage img = Grab();
  const QRect label = LabelRect(o.lblKyori[0]);
  ASSERT_GT(label.left(), 210);
  ASSERT_LT(label.right(), 290);
  EXPECT_TRUE(label.contains(250, y));
  // The blue line shows on both sides of the label.
  for (int x : {207, 215, label.left() - 3, label.right() + 3, 285, 293})
    EXPECT_TRUE(ColourNear(img, QPoint(x, y), kBlue)) << x;
  EXPECT_TRUE(IsWhite(img.pixelColor(250, y - 25)));
  // The extension lines run from the measured points up to the markers.
  for (int x : {200, 300}) EXPECT_TRUE(ColourNear(img, QPoint(x, 370), kBlue)) << x;
  // Filled 7 x 7 markers on both ends.
  for (int x : {200, 300}) {
    for (const QPoint d : {QPoint(-2, -2), QPoint(2, -2), QPoint(-2, 2), QPoint(2, 2), QPoint(0, -3)})
      EXPECT_TRUE(ColourNear(img, QPoint(x, y) + d, kBlue)) << x << " " << d.x() << "," << d.y();
    EXPECT_TRUE(IsWhite(img.pixelColor(x, y - 6))) << x;
  }
  // The label: an opaque white box hiding the line, with dark-blue text.
  EXPECT_EQ(Count(img, label, IsLineBlue), 0);
  EXPECT_GT(Count(img, label, IsWhite), label.width() * label.height() / 2);
  EXPECT_GT(Count(img, label, IsDarkBlue), 10);

  // 50 % through the display menu: everything at half its pixel offsets.
  w.command(QStringLiteral("mnuDisp50"))->trigger();
  EXPECT_EQ(w.document().view.sngZoom, 0.5f);
  EXPECT_TRUE(sink->boxes.empty());
  EXPECT_NEAR(o.lineDsSave[0].Y1, (400 * kMmPerPx - 15) / 2, 1e-3);
  EXPECT_NEAR(o.lineDsSave[0].X1, 100 * kMmPerPx, 1e-3);
  EXPECT_NEAR(o.lineDsSave[0].X2, 150 * kMmPerPx, 1e-3);
  const int y50 = ToPx(o.lineDsSave[0].Y1);
  EXPECT_EQ(y50, 171);
  img = Grab();
  const QRect label50 = LabelRect(o.lblKyori[0]);
  EXPECT_LE(label50.top(), y50);
  EXPECT_GE(label50.bottom(), y50);
  EXPECT_LT(label50.width(), label.width());
  EXPECT_GT(Count(img, label50, IsDarkBlue), 3);
  EXPECT_EQ(Count(img, label50, IsLineBlue), 0);
  // The shrunk label keeps its left edge moved by half its shrinkage, so
  // the line shows between the label and the right-hand marker.
  ASSERT_LT(label50.right(), 140);
  EXPECT_TRUE(ColourNear(img, QPoint((label50.right() + 147) / 2, y50), kBlue));
  for (const QPoint d : {QPoint(-2, -2), QPoint(2, -2), QPoint(-2, 2), QPoint(2, 2)})
    EXPECT_TRUE(ColourNear(img, QPoint(150, y50) + d, kBlue)) << d.x() << "," << d.y();
  EXPECT_TRUE(IsWhite(img.pixelColor(150, y50 - 6)));
  // Extension lines, down to the measured points at y 200.
  for (int x : {100, 150}) EXPECT_TRUE(ColourNear(img, QPoint(x, 190), kBlue)) << x;
  EXPECT_TRUE(IsWhite(img.pixelColor(125, 205)));
  // Nothing is left at the old places: neither the kept line nor the live one.
  for (const QPoint p : {QPoint(215, 343), QPoint(285, 343), QPoint(250, 400), QPoint(200, 370)})
    EXPECT_TRUE(IsWhite(img.pixelColor(p))) << p.x() << "," << p.y();

  // Measuring again at 50 %: the same 100 px of drawing, now 50 px on screen.
  Measure(QPoint(100, 500), QPoint(150, 500));
  ASSERT_EQ(UBound(o.lblKyori), 2);
  EXPECT_EQ(o.lblKyori[1].Caption, " 26.45 m ");
}

// The route of a new user: click, move, click fixes one segment; then a zoom,
// a toolbar button, New drawing (cancelled) or a tool command. The next
// click starts a new route at the clicked point, whatever the zoom.
TEST_F(MeasureUiTest, ZoomToolbarAndMenuCommandsAbandonARunningRoute) {
  w.setImageChooser([] { return QString(); });
  w.command(QStringLiteral("popMesRenzoku"))->trigger();
  for (const char* name : {"mnuDisp100", "mnuDisp200", "magnify", "reduce", "modosu", "mnuFileNewPrj", "mnuToolMes"}) {
    Measure(QPoint(200, 400), QPoint(300, 400));
    ASSERT_TRUE(w.session().flags.booPathStarted) << name;
    w.command(QString::fromLatin1(name))->trigger();
    EXPECT_FALSE(MeasurementRunning(w.session())) << name;
    EXPECT_FALSE(w.document().live.lblDistance.Visible) << name;

    const float zoom = w.document().view.sngZoom;
    const int kept = UBound(w.document().objects.lblKyori);
    Measure(QPoint(400, 300), QPoint(400, 200));
    const LineRecord& seg = w.document().live.lineMenseki[0];
    EXPECT_NEAR(seg.X1, 400 * kMmPerPx, 1e-3) << name;
    EXPECT_NEAR(seg.Y1, 300 * kMmPerPx, 1e-3) << name;
    ASSERT_EQ(UBound(w.document().objects.lblKyori), kept + 1) << name;
    const std::optional<ValueTag> tag = ParseValueTag(w.document().objects.lblKyori[kept].Tag);
    ASSERT_TRUE(tag) << name;
    EXPECT_NEAR(tag->value, 26.45 / zoom, 1e-3) << name;
    w.command(QStringLiteral("popMesRenzoku"))->trigger();  // leaves this route
  }
  EXPECT_TRUE(sink->boxes.empty());

  // A drawing dropped on the window (here one that cannot be read) too.
  Measure(QPoint(200, 400), QPoint(300, 400));
  w.openImage(folder.filePath(QStringLiteral("missing.jpg")));
  EXPECT_EQ(sink->boxes.size(), 1u);
  EXPECT_FALSE(MeasurementRunning(w.session()));
}

}  // namespace
}  // namespace planimo
