// Calibrating through the options dialog by dragging along known lengths on
// the map, then measuring: the picks reach the dialog's boxes, "設定" turns
// them into ratios, and a measurement afterwards reads in real units.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "drawing_window.h"
#include "geometry/number_format.h"
#include "geometry/scale_calibration.h"
#include "measure/abandon.h"
#include "measure/line_measure.h"
#include "view/map_view.h"

namespace planimo {
namespace {

// Click, move, click: the way every line is drawn on the map.
void DrawLine(QWidget* w, QPoint from, QPoint to) {
  Send(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  Send(w, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
  Send(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::NoButton);
  Send(w, QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
  Send(w, QEvent::MouseButtonPress, to, Qt::LeftButton, Qt::LeftButton);
  Send(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// Types a value into a dialog box the way a user leaves it: focus, text, Tab.
void Type(QLineEdit* box, const QString& text) {
  box->setFocus();
  box->setText(text);
  QTest::keyClick(box, Qt::Key_Tab);
}

using CalibrateUi = DrawingWindowTest;

TEST_F(CalibrateUi, PickedReferencesAndTypedLengthsGiveRealDistances) {
  QWidget* map = vp;

  w.command(QStringLiteral("mnuToolOpt"))->trigger();
  OptionsDialog* dialog = w.optionsDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(w.command(QStringLiteral("mnuEditSet"))->isEnabled());
  dialog->findChild<QTabWidget*>(QStringLiteral("SSTab"))->setCurrentIndex(2);
  QApplication::processEvents();
  ASSERT_TRUE(w.document().state.booPickDis);

  // 400 pixels across and down are 105.8 mm of drawing; both are 10 m.
  DrawLine(map, QPoint(100, 100), QPoint(500, 100));
  auto box = [dialog](int i) { return dialog->findChild<QLineEdit*>(QStringLiteral("txtXY_%1").arg(i)); };
  EXPECT_EQ(box(4)->text(), QStringLiteral("105.8"));
  w.command(QStringLiteral("popDisY"))->trigger();
  DrawLine(map, QPoint(100, 100), QPoint(100, 500));
  EXPECT_EQ(box(10)->text(), QStringLiteral("105.8"));
  EXPECT_EQ(w.document().objects.lblKyori.size(), 1u) << "a picking line is not a kept distance";

  Type(box(5), QStringLiteral("10"));
  Type(box(11), QStringLiteral("10"));
  dialog->findChild<QPushButton*>(QStringLiteral("cmdSettei"))->click();
  EXPECT_DOUBLE_EQ(w.document().state.GE_tpPtoD_r_X, 10.0 / static_cast<double>(105.8f));
  EXPECT_DOUBLE_EQ(w.document().state.GE_tpPtoD_r_Y, w.document().state.GE_tpPtoD_r_X);

  // A picking line still following the pointer goes with the dialog: the
  // next click measures and sets no calibration.
  Send(map, QEvent::MouseButtonPress, QPoint(600, 100), Qt::LeftButton, Qt::LeftButton);
  Send(map, QEvent::MouseButtonRelease, QPoint(600, 100), Qt::LeftButton, Qt::NoButton);
  Send(map, QEvent::MouseMove, QPoint(650, 120), Qt::NoButton, Qt::NoButton);
  dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
  QApplication::processEvents();
  EXPECT_FALSE(MeasurementRunning(w.session()));
  EXPECT_FALSE(w.document().live.lineDistance.Visible);
  EXPECT_TRUE(w.command(QStringLiteral("mnuEditSet"))->isEnabled());
  EXPECT_TRUE(w.command(QStringLiteral("mnuToolMes"))->isChecked());
  EXPECT_FALSE(w.document().state.booPickDis);

  // Half the reference: 200 pixels are 5 m.
  DrawLine(map, QPoint(150, 300), QPoint(350, 300));
  const auto& labels = w.document().objects.lblKyori;
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].Caption, " 5.00 m ");
  EXPECT_TRUE(sink->boxes.empty());
}

// The drawing's scale and the resolution its file states stand in for a
// reference line; a drawing that states none leaves the resolution to the
// user.
TEST_F(CalibrateUi, ScaleAndStatedResolutionCalibrate) {
  auto box = [this](const char* name) {
    return w.optionsDialog()->findChild<QLineEdit*>(QString::fromLatin1(name));
  };
  w.command(QStringLiteral("mnuToolOpt"))->trigger();
  ASSERT_NE(w.optionsDialog(), nullptr);
  EXPECT_EQ(box("txtScaleDpi")->text(), QString()) << "white.bmp states no resolution";

  QImage scan(800, 600, QImage::Format_RGB32);
  scan.fill(Qt::white);
  scan.setDotsPerMeterX(11811);  // 300 dpi
  scan.setDotsPerMeterY(11811);
  const QString path = folder.filePath(QStringLiteral("scan.jpg"));
  ASSERT_TRUE(scan.save(path));
  w.openImage(path);  // a new drawing closes the dialog
  QApplication::processEvents();
  w.command(QStringLiteral("mnuToolOpt"))->trigger();
  OptionsDialog* dialog = w.optionsDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QTabWidget*>(QStringLiteral("SSTab"))->setCurrentIndex(2);
  QLineEdit* n = box("txtScaleN");
  EXPECT_EQ(box("txtScaleDpi")->text(), QStringLiteral("300"));

  Type(n, QStringLiteral("100"));
  dialog->findChild<QPushButton*>(QStringLiteral("cmdScale"))->click();
  const auto refs = ScaleReferences(100, 300, 300, 2, w.document().settings.units);
  ASSERT_TRUE(refs);
  const ProjectState& s = w.document().state;
  EXPECT_EQ(s.GE_tpPtoD_r_X, static_cast<double>((*refs)[0].trueLength) / 100);
  EXPECT_EQ(s.GE_tpPtoD_r_Y, s.GE_tpPtoD_r_X);
  EXPECT_EQ(w.command(QStringLiteral("mnuEditUndo"))->text(), QStringLiteral("元に戻す: 設定"));
  EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("txtXY_5"))->text().toStdString(),
            SingleText((*refs)[0].trueLength));
  // 300 pixels of the scan are an inch of paper: 2.54 m at 1:100.
  const auto inch = MeasureLengthDis(w.document(), {0, 0}, {300 * 0.2645f, 0});
  ASSERT_TRUE(inch);
  EXPECT_NEAR(inch->value, 2.54, 1e-5);

  // A PDF page is drawn at 96 dpi, which its picture cannot tell apart
  // from a picture that states nothing: the dialog says it all the same.
  const QString pdf = folder.filePath(QStringLiteral("plan.pdf"));
  {
    QPdfWriter writer(pdf);
    QPainter(&writer).drawLine(0, 0, 100, 100);
  }
  w.openImage(pdf);
  QApplication::processEvents();
  w.command(QStringLiteral("mnuToolOpt"))->trigger();
  ASSERT_NE(w.optionsDialog(), nullptr);
  EXPECT_EQ(box("txtScaleDpi")->text(), QStringLiteral("96"));
}

}  // namespace
}  // namespace planimo
