// The list's commands in the window while something else runs: a line
// being measured goes on under them, the list and its totals are the
// drawing's, a vertex drag survives the Z loupe and goes back for a zoom or
// a row chosen in the list, and another project leaves no row chosen.

#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>
#include <QTreeWidget>

#include "app/takeoff_dock.h"
#include "app/takeoff_model.h"
#include "drawing_window.h"
#include "io/project_flow.h"
#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"
#include "takeoff/takeoff_totals.h"
#include "view/loupe.h"

namespace planimo {
namespace {

struct TakeoffMatrixUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    w.activateWindow();
    dock = w.takeoffDock();
    w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
    Click({100, 100});
    Move({200, 100});
    Click({200, 100});
    Click({100, 200});
    Move({400, 200});
    Click({400, 200});
    ASSERT_EQ(AddItem(w.document(), "外壁", Rgb(200, 0, 0)), 1);
    w.checkpoint(QStringLiteral("品目"));
  }
  void TearDown() override {
    if (dock->isVisible()) w.command(QStringLiteral("mnuDispTakeoff"))->trigger();
  }
  void Click(QPoint p) { QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, p); }
  void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) { Send(vp, QEvent::MouseMove, p, Qt::NoButton, held); }
  void Key(QEvent::Type type) {
    QKeyEvent e(type, Qt::Key_Z, Qt::NoModifier);
    QApplication::sendEvent(vp, &e);
  }
  QString UndoText() const { return w.command(QStringLiteral("mnuEditUndo"))->text(); }
  // The list shows what the rows and totals computed afresh say.
  void ExpectListOfTheDrawing() const {
    const std::vector<TakeoffRow> rows = TakeoffRows(w.document());
    const QAbstractItemModel* m = dock->table()->model();
    ASSERT_EQ(m->rowCount(), static_cast<int>(rows.size()));
    for (int r = 0; r < m->rowCount(); ++r) {
      EXPECT_EQ(m->index(r, TakeoffModel::kItem).data().toString().toStdString(),
                ItemName(w.document().state, rows[static_cast<std::size_t>(r)].item));
      EXPECT_EQ(m->index(r, TakeoffModel::kValue).data().toString().toStdString(),
                rows[static_cast<std::size_t>(r)].value);
    }
    int shown = 0, counted = 0;
    for (int i = 0; i < dock->totals()->topLevelItemCount(); ++i) shown += dock->totals()->topLevelItem(i)->text(1).toInt();
    for (const ItemTotal& i : ComputeTotals(w.document()).items) counted += i.count;
    EXPECT_EQ(shown, counted);
  }

  TakeoffDock* dock = nullptr;
};

TEST_F(TakeoffMatrixUiTest, ListCommandsDuringMeasuringDragsZoomAndAnotherProject) {
  // A line being measured goes on under the list's commands.
  Click({100, 300});
  Move({300, 300});
  dock->table()->selectAll();
  dock->putChosenInItem(1);
  EXPECT_TRUE(w.session().flags.Running());
  EXPECT_EQ(UndoText(), QStringLiteral("元に戻す: 品目に入れる"));
  ExpectListOfTheDrawing();
  Click({300, 300});
  ASSERT_EQ(dock->table()->model()->rowCount(), 3);
  EXPECT_EQ(w.document().objects.lblKyori[2].Item, 0);  // measured after: in no item
  ExpectListOfTheDrawing();

  // A drag of the first line's end: the loupe comes and goes under it, a
  // zoom puts the end back, and the release makes no step.
  w.command(QStringLiteral("popMesCancel"))->trigger();
  const Collections kept = w.document().objects;
  const QString undo = UndoText();
  auto* loupe = w.mapView()->findChild<Loupe*>();
  ASSERT_NE(loupe, nullptr);
  QCursor::setPos(vp->mapToGlobal(QPoint(200, 100)));
  Send(vp, QEvent::MouseButtonPress, {200, 100}, Qt::LeftButton, Qt::LeftButton);
  Move({240, 120}, Qt::LeftButton);
  Key(QEvent::KeyPress);
  Move({250, 120}, Qt::LeftButton);
  EXPECT_TRUE(loupe->isVisible());
  Key(QEvent::KeyRelease);
  ASSERT_TRUE(w.session().vertexGrab.held());
  EXPECT_NE(w.document().objects.lineHojoSave[1], kept.lineHojoSave[1]);
  w.command(QStringLiteral("mnuDisp100"))->trigger();
  EXPECT_FALSE(w.session().vertexGrab.held());
  Move({260, 130}, Qt::LeftButton);
  Send(vp, QEvent::MouseButtonRelease, {260, 130}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(w.document().objects.lineHojoSave == kept.lineHojoSave);
  EXPECT_TRUE(w.document().objects.lblKyori == kept.lblKyori);
  EXPECT_EQ(UndoText(), undo);

  // A row chosen in the list while the end is held: it goes back first.
  Send(vp, QEvent::MouseButtonPress, {200, 100}, Qt::LeftButton, Qt::LeftButton);
  Move({240, 120}, Qt::LeftButton);
  ASSERT_TRUE(w.session().vertexGrab.held());
  dock->chooseRow(0);
  EXPECT_FALSE(w.session().vertexGrab.held());
  Send(vp, QEvent::MouseButtonRelease, {240, 120}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(w.document().objects.lineHojoSave == kept.lineHojoSave);
  EXPECT_EQ(UndoText(), undo);

  // Another project with as many rows: nothing of the old one stays chosen.
  const QString ini = folder.filePath(QStringLiteral("other.ini"));
  ASSERT_FALSE(SaveProjectAs(w.document(), w.session(), ini.toStdString()).error);
  dock->table()->selectAll();
  w.openProject(ini);
  EXPECT_EQ(dock->table()->model()->rowCount(), 3);
  EXPECT_FALSE(dock->table()->selectionModel()->hasSelection());
  ExpectListOfTheDrawing();
}

}  // namespace
}  // namespace planimo
