// Annotating and editing in the real window: leader lines drawn with the
// mouse, the edit popup opened on a line and its "消去", every entry of the
// edit, text and leader-line popups doing something, and hover texts.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>

#include "app/annotation_commands.h"
#include "app/main_window.h"
#include "drawing_window.h"
#include "measure/dispatcher.h"
#include "view/map_view.h"

namespace planimo {
namespace {

constexpr float kMmPerPx = 0.2645f;

QPoint Px(float xmm, float ymm) { return QPoint(qRound(xmm / kMmPerPx), qRound(ymm / kMmPerPx)); }

struct AnnotationUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());
    w.annotations()->setColourDialog([](const QColor&) { return QColor(10, 20, 30); });
    w.annotations()->setFontDialog([](const QFont&) {
      QFont f(QStringLiteral("Serif"));
      f.setPointSizeF(12);
      return f;
    });
    w.setInputRunner([](const InputRequest&) { return InputAnswer{"7", "7", false}; });
  }

  void Drag(QPoint from, QPoint to) {
    Send(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Send(vp, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    Send(vp, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Send(vp, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  // A distance measured with the core's own mouse handling.
  void MeasureDistance(float x1, float y1, float x2, float y2) {
    Document& d = w.document();
    MeasureSession& s = w.session();
    OnMapMouseDown(d, s, {1, x1, y1});
    OnMapMouseUp(d, s, {1, x1, y1});
    OnMapMouseMove(d, s, {0, x2, y2});
    OnMapMouseDown(d, s, {1, x2, y2});
    OnMapMouseUp(d, s, {1, x2, y2});
  }
  QAction* cmd(const char* name) const { return w.command(QString::fromLatin1(name)); }

};

TEST_F(AnnotationUiTest, LeaderLineDrawnThenDeletedFromItsEditPopup) {
  cmd("mnuToolLine")->trigger();
  Drag(Px(20, 20), Px(60, 20));
  const auto& lines = w.document().objects.lineHikidashi;
  ASSERT_EQ(UBound(lines), 1);
  EXPECT_NEAR(lines[0].X2, 60, 0.2);

  cmd("popHkdSenSelect")->trigger();
  EXPECT_EQ(w.statusPanel(4)->text(), QStringLiteral("選択モード"));
  QString opened;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    opened = menu->objectName();
    menu->close();
    cmd("popEditDel")->trigger();
  });
  Send(vp, QEvent::MouseButtonPress, Px(40, 20), Qt::RightButton, Qt::RightButton);
  Send(vp, QEvent::MouseButtonRelease, Px(40, 20), Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(opened, QStringLiteral("popEdit"));
  EXPECT_EQ(UBound(lines), 0);
  EXPECT_FALSE(lines[0].Visible);
}

TEST_F(AnnotationUiTest, EveryPopupEntryChangesSomething) {
  Document& d = w.document();
  MeasureDistance(20, 40, 60, 40);
  cmd("mnuToolCmnt")->trigger();
  EXPECT_EQ(cmd("popMojiAllClr")->text(), QStringLiteral("文字列の全消去"));
  Send(vp, QEvent::MouseButtonPress, Px(100, 10), Qt::LeftButton, Qt::LeftButton);
  Send(vp, QEvent::MouseButtonRelease, Px(100, 10), Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(UBound(d.objects.lblMoji), 1);
  d.objects.lineHikidashi[0] = {true, "", 10, 80, 60, 80, 0, 1, 1, 13};
  AppendSpare(d.objects.lineHikidashi);

  struct Row {
    const char* entry;
    const char* kind;
  };
  std::vector<Row> rows = {{"popEditRev", "lblkyori"},        {"popEditForColor", "lblkyori"},
                           {"popEditBackColor", "lblMoji"},   {"popBackStyle0", "lblMoji"},
                           {"popBackStyle1", "lblkyori"},     {"popBorderStyle0", "lblkyori"},
                           {"popBorderStyle1", "lblMoji"},    {"popEditFont", "lblkyori"},
                           {"popEditBorderColor", "lineHikidashi"}, {"popEditDpp", "lblMoji"},
                           {"popEditDpp", "lineHikidashi"}};
  const char* widths[] = {"popEditWidth(1)", "popEditWidth(2)", "popEditWidth(3)", "popEditWidth(4)",
                          "popEditWidth(5)", "popEditWidth(7)", "popEditWidth(9)"};
  for (const char* e : widths) rows.push_back({e, "lineHikidashi"});
  const char* styles[] = {"popEditStyle1", "popEditStyle2", "popEditStyle3", "popEditStyle4", "popEditStyle5"};
  for (const char* e : styles) rows.push_back({e, "lblkyori"});
  static const QByteArray units[] = {"popEditUnitD(0)", "popEditUnitD(13)"};
  for (const QByteArray& e : units) rows.push_back({e.constData(), "lblkyori"});
  const char* decimals[] = {"popEditDPoint(0)", "popEditDPoint(3)", "popEditDPoint(6)"};
  for (const char* e : decimals) rows.push_back({e, "lblkyori"});
  rows.push_back({"popEditDel", "lblkyori"});
  for (const Row& row : rows) {
    // The tool under which the object's popup offers the entry.
    const std::string kind = row.kind;
    cmd(kind == "lblMoji" ? "mnuToolCmnt" : kind == "lineHikidashi" ? "mnuToolLine" : "mnuToolMes")->trigger();
    d.selected = {row.kind, static_cast<std::int16_t>(kind == "lblMoji" ? 1 : 0)};
    const auto rev = d.revision;
    QAction* entry = cmd(row.entry);
    ASSERT_NE(entry, nullptr) << row.entry;
    const auto* parent = qobject_cast<QMenu*>(entry->parent());
    const bool offered = entry->isEnabled() && (parent == nullptr || parent->menuAction()->isEnabled());
    EXPECT_TRUE(offered) << row.entry << " on " << row.kind;
    entry->trigger();
    EXPECT_NE(d.revision, rev) << row.entry << " on " << row.kind;
    if (parent != nullptr && (parent->objectName() == u"popEditUnitDistance" || parent->objectName() == u"popEditDesiPoint")) {
      // The submenu now marks the label's new unit or decimals, and only that.
      int marked = 0;
      for (const QAction* a : parent->actions()) marked += a->isChecked();
      EXPECT_TRUE(entry->isChecked() && marked == 1) << row.entry;
    }
  }
  EXPECT_EQ(UBound(d.objects.lblKyori), 0);
  EXPECT_EQ(d.live.lblDefault.FontName, "Serif");
  EXPECT_EQ(d.objects.lineHikidashi[0].BorderColor, Rgb(10, 20, 30));

  // The text popup: numbering through the input dialog, then clear all.
  cmd("mnuToolCmnt")->trigger();
  for (const char* entry : {"popHedda", "popFutta", "popRenInit"}) cmd(entry)->trigger();
  EXPECT_EQ(d.numbering.textPrefix, "7");
  EXPECT_EQ(d.numbering.textSuffix, "7");
  EXPECT_EQ(d.numbering.textNumber, 7);
  cmd("popMojiSelect")->trigger();
  EXPECT_TRUE(cmd("popMojiSelect")->isChecked());
  EXPECT_FALSE(cmd("popMojiNew")->isChecked());
  cmd("popMojiAllClr")->trigger();
  EXPECT_EQ(UBound(d.objects.lblMoji), 0);
  cmd("mnuToolPinfo")->trigger();
  EXPECT_EQ(cmd("popMojiAllClr")->text(), QStringLiteral("位置情報の全消去"));
  EXPECT_TRUE(cmd("popMojiNew")->isChecked());
  cmd("popHkdSenAllClr")->trigger();
  EXPECT_EQ(UBound(d.objects.lineHikidashi), 0);
}

TEST_F(AnnotationUiTest, PopupCommandDropsARunningMeasurement) {
  MeasureDistance(20, 40, 60, 40);
  Document& d = w.document();
  OnMapMouseDown(d, w.session(), {1, 100, 100});
  OnMapMouseUp(d, w.session(), {1, 100, 100});
  OnMapMouseMove(d, w.session(), {0, 130, 100});
  ASSERT_TRUE(w.session().flags.Running());
  d.selected = {"lblkyori", 0};
  cmd("popEditDel")->trigger();
  EXPECT_FALSE(w.session().flags.Running());
  EXPECT_FALSE(d.live.lineDistance.Visible);
  EXPECT_EQ(UBound(d.objects.lblKyori), 0);
  // The next click starts afresh where it lands.
  MeasureDistance(20, 60, 50, 60);
  EXPECT_EQ(d.objects.lblKyori[0].Caption, " 30.00 m ");
}

TEST_F(AnnotationUiTest, HoverShowsTheLabelsText) {
  MeasureDistance(20, 40, 60, 40);
  const TextRecord& label = w.document().objects.lblKyori[0];
  ASSERT_FALSE(label.ToolTipText.empty());
  const QPoint at = Px(label.Left + 1, label.Top + 1);
  QHelpEvent e(QEvent::ToolTip, at, vp->mapToGlobal(at));
  QApplication::sendEvent(vp, &e);
  EXPECT_EQ(QToolTip::text(), QString::fromStdString(label.ToolTipText));
  QToolTip::hideText();
}

}  // namespace
}  // namespace planimo
