// Kept labels in the real window: a drag with the mouse moves a distance
// label and never reaches the measurement, a press beside the label still
// starts one, and a double-click asks for the label's comment.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/main_window.h"
#include "drawing_window.h"
#include "model/platform.h"
#include "view/map_view.h"

namespace planimo {
namespace {

constexpr float kMmPerPx = 0.2645f;

struct LabelEventsUiTest : DrawingWindowTest {
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(DrawingWindowTest::SetUp());

    // One kept distance label at (50 mm, 40 mm), the spare after it.
    Document& doc = w.document();
    TextRecord& l = doc.objects.lblKyori[0];
    l = doc.live.lblDefault;
    l.Caption = " 12.00 m ";
    l.ToolTipText = "0.0000゜";
    AutoSize(l, *doc.measurer);
    l.Left = 50;
    l.Top = 40;
    l.Visible = true;
    ASSERT_TRUE(AppendSpare(doc.objects.lblKyori));
    w.mapView()->refresh();
  }

  const TextRecord& Label() const { return w.document().objects.lblKyori[0]; }
  // A point inside the label, 4 px from its top-left corner.
  QPoint Inside() const {
    return QPoint(static_cast<int>(Label().Left / kMmPerPx) + 4, static_cast<int>(Label().Top / kMmPerPx) + 4);
  }
};

TEST_F(LabelEventsUiTest, DragMovesTheLabelAndMeasuresNothing) {
  const QPoint start = Inside();
  Send(vp, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(w.session().flags.Running()) << "the press reached the map";
  Send(vp, QEvent::MouseMove, start + QPoint(20, 10), Qt::NoButton, Qt::LeftButton);
  Send(vp, QEvent::MouseMove, start + QPoint(40, -20), Qt::NoButton, Qt::LeftButton);
  Send(vp, QEvent::MouseButtonRelease, start + QPoint(40, -20), Qt::LeftButton, Qt::NoButton);

  EXPECT_NEAR(Label().Left, 50 + 40 * kMmPerPx, 1e-3);
  EXPECT_NEAR(Label().Top, 40 - 20 * kMmPerPx, 1e-3);
  EXPECT_FALSE(w.session().flags.Running());
  EXPECT_EQ(UBound(w.document().objects.lblKyori), 1);
  EXPECT_FALSE(w.session().labelGrab.held);

  // Moves after the release belong to the map again and leave the label.
  Send(vp, QEvent::MouseMove, start + QPoint(80, 80), Qt::NoButton, Qt::NoButton);
  EXPECT_NEAR(Label().Left, 50 + 40 * kMmPerPx, 1e-3);
}

TEST_F(LabelEventsUiTest, PressBesideTheLabelStartsAMeasurement) {
  const QPoint beside(static_cast<int>((Label().Left + Label().Width) / kMmPerPx) + 10, Inside().y());
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, beside);
  EXPECT_TRUE(w.session().flags.booMesRunDis);
  EXPECT_EQ(Label().Left, 50);
}

// Also while "文字列" or "位置情報" creates new texts: the double-click
// edits the label clicked and leaves no new text under it.
TEST_F(LabelEventsUiTest, DoubleClickAsksForTheComment) {
  for (Tool tool : {Tool::Measure, Tool::Comment, Tool::Position}) {
    SelectTool(w.session(), tool);
    QString title, shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      shown = box->textValue();
      box->setTextValue(QStringLiteral("north wall"));
      box->accept();
    });
    w.document().objects.lblKyori[0].ToolTipText = "0.0000゜";
    const QPoint p = Inside();
    Send(vp, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Send(vp, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    Send(vp, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Send(vp, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    const int t = static_cast<int>(tool);
    EXPECT_EQ(title, QStringLiteral(" 12.00 m ")) << t;
    EXPECT_EQ(shown, QStringLiteral("0.0000゜")) << t;
    EXPECT_EQ(Label().ToolTipText, "north wall") << t;
    EXPECT_FALSE(w.session().flags.Running()) << "a release of the double-click reached the map";
    EXPECT_EQ(UBound(w.document().objects.lblMoji) + UBound(w.document().objects.lblKeiIdoS), 0) << t;
  }
}

}  // namespace
}  // namespace planimo
