// Undo and redo in the real window: a session of measuring, dragging a label,
// a popup command and a zoom, walked back and forth with the edit menu and
// its keys; Escape on a running measurement; the recent drawings list.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "io/project_flow.h"
#include "drawing_window.h"
#include "view/map_view.h"

namespace planimo {
namespace {

constexpr double kMmPerPx = 0.2645;

struct EditHistoryUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    w.activateWindow();
  }
  void Measure(QPoint a, QPoint b) {
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, a);
    Send(vp, QEvent::MouseMove, b, Qt::NoButton, Qt::NoButton);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, b);
  }
  QAction* cmd(const char* name) const { return w.command(QString::fromLatin1(name)); }
  int Kept() const { return UBound(w.document().objects.lblKyori); }
};

TEST_F(EditHistoryUiTest, MenuCaptionsAndKeysWalkBackAndForthOverASession) {
  QAction* undo = cmd("mnuEditUndo");
  QAction* redo = cmd("mnuEditRedo");
  EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(redo->shortcuts(),
            (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U)"));

  Measure({200, 400}, {300, 400});
  ASSERT_EQ(Kept(), 1);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 距離の測定"));
  EXPECT_TRUE(HasUnsavedChanges(w.document()));

  // A label drag of many moves is one step, a key command amid it included.
  const TextRecord& l = w.document().objects.lblKyori[0];
  const float left = l.Left;
  const QPoint grab(static_cast<int>((l.Left + 2) / kMmPerPx), static_cast<int>((l.Top + 2) / kMmPerPx));
  Send(vp, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i <= 10; ++i) {
    Send(vp, QEvent::MouseMove, grab + QPoint(2 * i, 0), Qt::NoButton, Qt::LeftButton);
    if (i != 5) continue;
    cmd("mnuDispAxis")->trigger();  // on and off again
    cmd("mnuDispAxis")->trigger();
  }
  Send(vp, QEvent::MouseButtonRelease, grab + QPoint(20, 0), Qt::LeftButton, Qt::NoButton);
  EXPECT_NEAR(w.document().objects.lblKyori[0].Left, left + 20 * kMmPerPx, 1e-3);
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: ラベルの移動"));

  cmd("popMesHj25")->trigger();  // a command whose step names its submenu
  cmd("popMesAllClr")->trigger();
  EXPECT_EQ(Kept(), 0);
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 測定データ全消去"));
  cmd("mnuDisp50")->trigger();  // a zoom is no step
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: 測定データ全消去"));

  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(Kept(), 1);
  EXPECT_NEAR(w.document().objects.lineDsSave[0].X1, 200 * kMmPerPx / 2, 1e-3);  // at the 50 % view
  EXPECT_EQ(redo->text(), QStringLiteral("やり直し: 測定データ全消去"));
  undo->trigger();
  EXPECT_EQ(undo->text(), QStringLiteral("元に戻す: ラベルの移動"));
  undo->trigger();
  undo->trigger();
  EXPECT_EQ(Kept(), 0);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(HasUnsavedChanges(w.document()));
  QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Kept(), 1);
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(redo->text(), QStringLiteral("やり直し: 寸法引き出し線の長さ 25mm"));
}

TEST_F(EditHistoryUiTest, EscapeDropsTheRunningMeasurementAndANewDrawingEmptiesTheHistory) {
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {200, 200});
  Send(vp, QEvent::MouseMove, {260, 200}, Qt::NoButton, Qt::NoButton);
  ASSERT_TRUE(w.session().flags.Running());
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_FALSE(w.session().flags.Running());
  EXPECT_FALSE(w.document().live.lineDistance.Visible);
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {300, 300});  // starts afresh
  EXPECT_TRUE(w.session().flags.Running());
  EXPECT_EQ(Kept(), 0);

  // Backspace in a continuous path takes back the last vertex and the
  // distance kept for it, as a step of its own.
  w.command(QStringLiteral("popMesRenzoku"))->trigger();
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, {100, 500});
  for (const QPoint p : {QPoint(200, 500), QPoint(200, 400)}) {
    Send(vp, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, p);
  }
  ASSERT_EQ(Kept(), 2);
  QTest::keyClick(&w, Qt::Key_Backspace);
  EXPECT_EQ(Kept(), 1);
  EXPECT_EQ(cmd("mnuEditUndo")->text(), QStringLiteral("元に戻す: 頂点の取り消し"));
  QTest::keyClick(&w, Qt::Key_Escape);
  w.command(QStringLiteral("popMesLine"))->trigger();

  Measure({100, 100}, {150, 100});
  EXPECT_TRUE(cmd("mnuEditUndo")->isEnabled());
  w.openImage(folder.filePath(QStringLiteral("white.bmp")));
  EXPECT_FALSE(cmd("mnuEditUndo")->isEnabled());

  // Opening and closing the options dialog changes nothing; its "設定" does.
  cmd("mnuToolOpt")->trigger();
  ASSERT_NE(w.optionsDialog(), nullptr);
  EXPECT_FALSE(cmd("mnuEditUndo")->isEnabled());
  const std::uint64_t revision = w.document().revision;
  auto* length = w.optionsDialog()->findChild<QLineEdit*>(QStringLiteral("txtXY_5"));
  length->setFocus();
  length->setText(QStringLiteral("250"));
  QTest::keyClick(length, Qt::Key_Tab);
  w.optionsDialog()->findChild<QPushButton*>(QStringLiteral("cmdSettei"))->click();
  EXPECT_DOUBLE_EQ(w.document().state.GE_tpPtoD_r_X, 2.5);
  EXPECT_EQ(cmd("mnuEditUndo")->text(), QStringLiteral("元に戻す: 設定"));
  w.optionsDialog()->close();
  cmd("mnuEditUndo")->trigger();
  EXPECT_DOUBLE_EQ(w.document().state.GE_tpPtoD_r_X, 1.0);
  EXPECT_EQ(w.document().revision, revision);
}

TEST_F(EditHistoryUiTest, RecentDrawingsOfferedOnceProjectsCanBeOpened) {
  QAction* recent = cmd("mnuFileRecent");
  w.setRecentFolder(folder.filePath(QStringLiteral("cfg")));
  EXPECT_TRUE(recent->isVisible());  // the window opens projects by their path
  QStringList opened;
  // Opening notes the drawing again, which rebuilds the menu from inside
  // the chosen entry.
  w.setRecentOpener([&](const QString& p) {
    opened << p;
    w.noteRecentDrawing(p);
  });
  EXPECT_TRUE(recent->isVisible());
  EXPECT_FALSE(recent->isEnabled());

  const QString a = folder.filePath(QStringLiteral("a.ini"));
  QFile(a).open(QIODevice::WriteOnly);
  w.noteRecentDrawing(folder.filePath(QStringLiteral("gone.ini")));
  w.noteRecentDrawing(a);
  ASSERT_TRUE(recent->isEnabled());
  ASSERT_EQ(recent->menu()->actions().size(), 2);
  recent->menu()->actions()[0]->trigger();
  EXPECT_EQ(opened, QStringList{a});
  recent->menu()->actions()[1]->trigger();
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_TRUE(sink->boxes[0].text.contains(QStringLiteral("gone.ini")));
  EXPECT_EQ(recent->menu()->actions().size(), 1);

  // Kept for the next start.
  MainWindow again{sink, folder.path()};
  again.setRecentFolder(folder.filePath(QStringLiteral("cfg")));
  again.setRecentOpener([](const QString&) {});
  EXPECT_EQ(again.command(QStringLiteral("mnuFileRecent"))->menu()->actions().size(), 1);
}

TEST_F(EditHistoryUiTest, UndoingPastTheSaveAsksBeforeOpeningAndRedoingBackDoesNot) {
  w.setRecentFolder(folder.filePath(QStringLiteral("cfg")));
  const QString project = folder.filePath(QStringLiteral("site.ini"));
  w.setFileChooser([&](const FileChooserRequest& r) { return r.save ? project : QString(); });
  Measure({200, 400}, {300, 400});
  Measure({200, 300}, {300, 300});
  cmd("mnuFileSaveAsPrj")->trigger();
  ASSERT_TRUE(sink->boxes.empty());
  EXPECT_FALSE(HasUnsavedChanges(w.document()));
  EXPECT_TRUE(cmd("mnuEditUndo")->isEnabled());  // saving is no step and keeps the history

  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(HasUnsavedChanges(w.document()));
  cmd("mnuFileOpenPrj")->trigger();  // asked, answered いいえ, chooser cancelled
  EXPECT_EQ(sink->questions.size(), 1u);
  QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_FALSE(HasUnsavedChanges(w.document()));

  // Saving over the project puts it at the head of the recent list again;
  // opening it from there asks nothing and starts an empty history.
  w.noteRecentDrawing(folder.filePath(QStringLiteral("other.ini")));
  cmd("mnuFileSavePrj")->trigger();
  QAction* recent = cmd("mnuFileRecent");
  ASSERT_TRUE(recent->isVisible());
  ASSERT_EQ(recent->menu()->actions().size(), 2);
  recent->menu()->actions()[0]->trigger();
  EXPECT_EQ(sink->questions.size(), 1u);
  EXPECT_TRUE(sink->boxes.empty());
  EXPECT_EQ(Kept(), 2);
  EXPECT_FALSE(cmd("mnuEditUndo")->isEnabled());
  EXPECT_FALSE(HasUnsavedChanges(w.document()));
}

}  // namespace
}  // namespace planimo
