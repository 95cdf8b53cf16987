// Correcting a measurement in the window: in "選択モード" a drag on a kept
// distance's end moves it, the pointer tells where a vertex can be taken,
// the edit menu names the step, Escape in mid-drag puts the end back; and
// the Z loupe follows the pointer without taking its moves from the map.

#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QKeyEvent>

#include "drawing_window.h"
#include "view/loupe.h"

namespace planimo {
namespace {

constexpr double kMmPerPx = 0.2645;

struct VertexDragUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    w.activateWindow();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {200, 400});
    Send(vp, QEvent::MouseMove, {300, 400}, Qt::NoButton, Qt::NoButton);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {300, 400});
    w.command(QStringLiteral("popMesCancel"))->trigger();
  }
  void Key(QEvent::Type type, Qt::Key key) {
    QKeyEvent e(type, key, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
  }
  float EndX() const { return w.document().objects.lineHojoSave[1].X1; }
};

TEST_F(VertexDragUiTest, DragMovesTheEndAsOneNamedStepAndEscapePutsItBack) {
  Send(vp, QEvent::MouseMove, {301, 400}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(vp->cursor().shape(), Qt::SizeAllCursor);
  Send(vp, QEvent::MouseMove, {330, 420}, Qt::NoButton, Qt::NoButton);
  EXPECT_NE(vp->cursor().shape(), Qt::SizeAllCursor);

  const std::string before = w.document().objects.lblKyori[0].Caption;
  Send(vp, QEvent::MouseButtonPress, {300, 400}, Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i <= 10; ++i)
    Send(vp, QEvent::MouseMove, {300 + 5 * i, 400}, Qt::NoButton, Qt::LeftButton);
  Send(vp, QEvent::MouseButtonRelease, {350, 400}, Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(EndX(), 350 * kMmPerPx, 1e-3);
  EXPECT_NE(w.document().objects.lblKyori[0].Caption, before);
  QAction* undo = w.command(QStringLiteral("mnuEditUndo"));
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 距離の修正"));

  Send(vp, QEvent::MouseButtonPress, {350, 400}, Qt::LeftButton, Qt::LeftButton);
  Send(vp, QEvent::MouseMove, {380, 380}, Qt::NoButton, Qt::LeftButton);
  EXPECT_NEAR(EndX(), 380 * kMmPerPx, 1e-3);
  w.command(QStringLiteral("keyEscape"))->trigger();
  Send(vp, QEvent::MouseMove, {390, 380}, Qt::NoButton, Qt::LeftButton);
  Send(vp, QEvent::MouseButtonRelease, {390, 380}, Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(EndX(), 350 * kMmPerPx, 1e-3);
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 距離の修正"));
  undo->trigger();
  EXPECT_NEAR(EndX(), 300 * kMmPerPx, 1e-3);
  EXPECT_EQ(w.document().objects.lblKyori[0].Caption, before);
}

TEST_F(VertexDragUiTest, ZLoupeFollowsThePointerAndLeavesTheMovesToTheMap) {
  auto* loupe = w.mapView()->findChild<Loupe*>();
  ASSERT_NE(loupe, nullptr);
  EXPECT_FALSE(loupe->isVisible());
  QCursor::setPos(vp->mapToGlobal(QPoint(400, 300)));
  Key(QEvent::KeyPress, Qt::Key_Z);
  ASSERT_TRUE(loupe->isVisible());
  // A line measured under the loupe: the moves still reach the measurement.
  w.command(QStringLiteral("popMesLine"))->trigger();
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {400, 300});
  Send(vp, QEvent::MouseMove, {450, 320}, Qt::NoButton, Qt::NoButton);
  const QPoint centre = vp->mapTo(w.mapView(), QPoint(450, 320));
  EXPECT_EQ(loupe->pos(), centre - QPoint(Loupe::kSide / 2, Loupe::kSide / 2));
  EXPECT_NEAR(w.document().live.lineDistance.X2, 450 * kMmPerPx, 1e-3);
  // The drawing under the pointer, four times larger, with the live line.
  const QImage seen = loupe->grab().toImage();
  ASSERT_EQ(seen.size(), QSize(Loupe::kSide, Loupe::kSide));
  const int mid = Loupe::kSide / 2 + Loupe::kMagnification / 2;
  EXPECT_EQ(QColor(seen.pixel(mid, 10)), QColor(220, 0, 0));  // the crosshair
  EXPECT_EQ(QColor(seen.pixel(10, 10)), QColor(Qt::white));   // the white drawing
  Key(QEvent::KeyRelease, Qt::Key_Z);
  EXPECT_FALSE(loupe->isVisible());
}

}  // namespace
}  // namespace planimo
