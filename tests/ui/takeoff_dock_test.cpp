// "測定一覧" in the real window: the rows follow measuring, a delete chosen
// from the sorted list and its undo; a row click selects as a right-click
// does, also while a measurement runs.

#include <gtest/gtest.h>

#include <QAction>
#include <QPaintEvent>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>

#include "app/takeoff_dock.h"
#include "app/takeoff_model.h"
#include "drawing_window.h"
#include "model/hit_test.h"
#include "takeoff/takeoff_edit.h"
#include "view/view_units.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {
namespace {

struct TakeoffDockTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    w.setRecentFolder(folder.filePath(QStringLiteral("cfg")));
    dock = w.takeoffDock();
    ASSERT_NE(dock, nullptr);
  }
  void TearDown() override {
    if (dock->isVisible()) w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
  }
  void Measure(QPoint a, QPoint b) {
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, a);
    Send(vp, QEvent::MouseMove, b, Qt::NoButton, Qt::NoButton);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, b);
  }
  int Rows() const { return dock->table()->model()->rowCount(); }
  QString Cell(int r, int c) const { return dock->table()->model()->index(r, c).data().toString(); }

  TakeoffDock* dock = nullptr;
};

TEST_F(TakeoffDockTest, FollowsMeasuringADeleteFromTheSortedListAndItsUndo) {
  QAction* toggle = w.command(QStringLiteral("mnuDispTakeoff"));
  ASSERT_NE(toggle, nullptr);
  EXPECT_TRUE(toggle->isCheckable());
  EXPECT_FALSE(dock->isVisible());
  toggle->trigger();
  EXPECT_TRUE(dock->isVisible());

  Measure({100, 100}, {200, 100});  // three lengths, 100, 300 and 200 pixels
  Measure({100, 200}, {400, 200});
  ASSERT_EQ(Rows(), 2);
  // A row click while the next measurement runs selects as a right-click
  // does, and the measurement goes on.
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {100, 300});
  Send(vp, QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);
  dock->chooseRow(1);
  EXPECT_EQ(w.document().selected.strKind, kKindKyori);
  EXPECT_EQ(w.document().selected.intIndex, 1);
  EXPECT_TRUE(w.session().flags.Running());
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {300, 300});
  ASSERT_EQ(Rows(), 3);

  ASSERT_EQ(AddItem(w.document(), "外壁", Rgb(200, 0, 0)), 1);
  w.checkpoint(QStringLiteral("品目の追加"));
  auto* put = dock->findChild<QPushButton*>(QStringLiteral("cmdTakeoffPut"));
  auto* deduction = dock->findChild<QPushButton*>(QStringLiteral("cmdTakeoffDeduction"));
  ASSERT_TRUE(put && deduction);
  dock->table()->clearSelection();
  EXPECT_FALSE(put->isEnabled());
  dock->table()->selectAll();
  EXPECT_TRUE(put->isEnabled());
  EXPECT_FALSE(deduction->isEnabled());  // distances only
  dock->putChosenInItem(1);
  EXPECT_EQ(Cell(0, TakeoffModel::kItem), QStringLiteral("外壁"));
  ASSERT_EQ(dock->totals()->topLevelItemCount(), 1);
  EXPECT_EQ(dock->totals()->topLevelItem(0)->text(1), QStringLiteral("3"));

  // Sorted by value, longest first, the first row is the 300-pixel line (index 1).
  dock->table()->sortByColumn(TakeoffModel::kValue, Qt::DescendingOrder);
  const std::optional<SelectedObject> longest = dock->objectAt(0);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->intIndex, 1);
  dock->table()->clearSelection();
  dock->chooseRow(0);
  w.command(QStringLiteral("popEditDel"))->trigger();
  ASSERT_EQ(Rows(), 2);
  for (int r = 0; r < Rows(); ++r) EXPECT_EQ(Cell(r, TakeoffModel::kItem), QStringLiteral("外壁"));
  EXPECT_EQ(dock->totals()->topLevelItem(0)->text(1), QStringLiteral("2"));

  w.command(QStringLiteral("mnuEditUndo"))->trigger();
  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(dock->objectAt(0)->intIndex, 1);
  EXPECT_EQ(dock->totals()->topLevelItem(0)->text(1), QStringLiteral("3"));
  w.command(QStringLiteral("mnuEditUndo"))->trigger();  // out of the item again
  EXPECT_EQ(Cell(0, TakeoffModel::kItem), QString());
}

// The frame around the chosen row's object covers that object alone and
// follows it through a zoom; with the list shown a zoom step still paints
// the map once, not once more beneath a layer over all of it.
TEST_F(TakeoffDockTest, TheChosenObjectsFrameFollowsItAndTheMapPaintsOnce) {
  w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
  Measure({100, 100}, {200, 100});
  dock->chooseRow(0);
  QCoreApplication::processEvents();
  auto* frame = vp->findChild<QWidget*>(QStringLiteral("takeoffHighlight"));
  ASSERT_NE(frame, nullptr);
  struct Paints : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) whole += static_cast<QPaintEvent*>(e)->rect() == viewport;
      return false;
    }
    QRect viewport;
    int whole = 0;
  } paints;
  paints.viewport = vp->rect();
  vp->installEventFilter(&paints);
  for (const float zoom : {1.0f, 2.0f}) {
    SCOPED_TRACE(zoom);
    w.document().view.sngZoom = zoom;
    w.applyZoom();
    paints.whole = 0;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    if (zoom != 1.0f) {
      EXPECT_EQ(paints.whole, 1);
    }
    const QPoint offset = w.mapView()->scrollOffset();
    EXPECT_TRUE(frame->isVisible());
    const std::optional<ObjectBox> b = ObjectBounds(w.document(), w.document().selected);
    ASSERT_TRUE(b.has_value());
    const QRectF box = QRectF(QPointF(MmToPx(b->left), MmToPx(b->top)), QPointF(MmToPx(b->right), MmToPx(b->bottom)))
                           .translated(-QPointF(offset));
    EXPECT_TRUE(QRectF(frame->geometry()).contains(box));
    EXPECT_LT(frame->width() * frame->height(), 4 * box.width() * box.height());
  }
  w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame->isVisible());
}

}  // namespace
}  // namespace planimo
