#include "app/options_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "geometry/units.h"

namespace planimo {
namespace {

class OptionsDialogUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.settings.units = BuiltinUnitTables();
    dialog = new OptionsDialog(doc);
  }
  void TearDown() override { delete dialog.data(); }

  template <class W>
  W* child(const char* name) const {
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QTabWidget* tabs() const { return child<QTabWidget>("SSTab"); }
  void showActive() {
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  }

  Document doc;
  QPointer<OptionsDialog> dialog;
};

TEST_F(OptionsDialogUiTest, ControlsCarryTheirNamesAndCaptions) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("オプション"));
  const QStringList tabCaptions = {"全般", "傾き補正", "既知の距離設定", "既知の経緯度設定"};
  ASSERT_EQ(tabs()->count(), 4);
  for (int t = 0; t < 4; ++t) EXPECT_EQ(tabs()->tabText(t), tabCaptions[t]);
  EXPECT_EQ(child<QRadioButton>("optMOde_0")->text(), QStringLiteral("既知の距離を基に計測する"));
  EXPECT_EQ(child<QRadioButton>("optMOde_1")->text(), QStringLiteral("既知の経緯度を基に計測する"));
  EXPECT_EQ(child<QRadioButton>("optUnitD_3")->text(), QStringLiteral("km "));
  EXPECT_EQ(child<QRadioButton>("optUnitS_11")->text(), QStringLiteral("坪 "));
  EXPECT_TRUE(child<QRadioButton>("optUnitD_2")->isChecked());
  EXPECT_EQ(child<QPushButton>("cmdSettei")->text(), QStringLiteral("設定"));
  EXPECT_EQ(child<QPushButton>("cmdCnv")->text(), QStringLiteral("設定"));
  EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("OK"));
  EXPECT_EQ(child<QLineEdit>("txtXY_0")->text(), QStringLiteral("50"));
  EXPECT_EQ(child<QLineEdit>("txtHojoLen")->text(), QStringLiteral("15"));
  EXPECT_EQ(child<QLabel>("lblRecio_0")->text(), QStringLiteral("1000.0"));
  EXPECT_EQ(child<QLabel>("lblUnit_1")->text(), QStringLiteral("m "));
  for (const char* name : {"txtHosei_7", "txtPict_mm2_1", "txtKeido1_0", "txtIdo1_3", "txtKeido2_2",
                           "txtIdo2_3", "vscDPointD", "lblDPointS", "chkSnap", "lblPara_7", "lblRecio_2"}) {
    EXPECT_NE(dialog->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
}

TEST_F(OptionsDialogUiTest, UnavailableTabsAreGreyedPerMode) {
  EXPECT_FALSE(tabs()->isTabEnabled(1));
  EXPECT_TRUE(tabs()->isTabEnabled(2));
  EXPECT_FALSE(tabs()->isTabEnabled(3));
  child<QRadioButton>("optMOde_1")->click();
  EXPECT_TRUE(doc.state.GE_booModeKei);
  EXPECT_TRUE(tabs()->isTabEnabled(1));
  EXPECT_FALSE(tabs()->isTabEnabled(2));
  EXPECT_TRUE(tabs()->isTabEnabled(3));
}

TEST_F(OptionsDialogUiTest, EnterMovesAlongTheChainAndRefusesSixtyMinutes) {
  child<QRadioButton>("optMOde_1")->click();
  showActive();
  QSignalSpy tips(dialog.data(), &OptionsDialog::mapToolTipChanged);
  tabs()->setCurrentIndex(3);
  EXPECT_TRUE(doc.state.booPickTaiou);
  ASSERT_FALSE(tips.isEmpty());
  EXPECT_EQ(tips.last().at(0).toString(), QStringLiteral("既知の経緯度入力"));

  auto* deg = child<QLineEdit>("txtKeido1_0");
  auto* min = child<QLineEdit>("txtKeido1_1");
  auto* sec = child<QLineEdit>("txtKeido1_2");
  EXPECT_EQ(QApplication::focusWidget(), deg);
  deg->selectAll();
  QTest::keyClicks(deg, "135");
  QTest::keyClick(deg, Qt::Key_Return);
  EXPECT_EQ(deg->text(), QStringLiteral("135"));
  EXPECT_EQ(QApplication::focusWidget(), min);

  min->selectAll();
  QTest::keyClicks(min, "60");
  QTest::keyClick(min, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), min);
  EXPECT_EQ(min->selectedText(), QStringLiteral("60"));

  QTest::keyClicks(min, "30");  // typing replaces the selected text
  QTest::keyClick(min, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), sec);
  sec->selectAll();
  QTest::keyClicks(sec, "15.5");
  QTest::keyClick(sec, Qt::Key_Enter);
  EXPECT_EQ(child<QLineEdit>("txtKeido1_3")->text(), QStringLiteral("487815.5"));
  EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("txtIdo1_0"));
  EXPECT_TRUE(dialog->isVisible());  // Enter pressed no button
}

TEST_F(OptionsDialogUiTest, ClosingStopsPickingAndSaysSo) {
  child<QRadioButton>("optMOde_1")->click();
  showActive();
  tabs()->setCurrentIndex(1);
  EXPECT_TRUE(doc.state.booPickHosei);
  EXPECT_TRUE(doc.live.lineCheck.Visible);
  QSignalSpy closed(dialog.data(), &OptionsDialog::closed);
  child<QPushButton>("cmdOK")->click();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(doc.state.booPickHosei);
  EXPECT_FALSE(doc.live.lineCheck.Visible);
  EXPECT_EQ(doc.state.intOptionTab, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isNull());
}

TEST_F(OptionsDialogUiTest, MapPicksRefreshTheFields) {
  doc.state.GE_sngHosei[2] = 42;
  doc.state.GE_tpPiccel_2X = 7.5f;
  dialog->refreshFromState();
  EXPECT_EQ(child<QLineEdit>("txtHosei_2")->text(), QStringLiteral("42"));
  EXPECT_EQ(child<QLineEdit>("txtPict_mm2_0")->text(), QStringLiteral("7.5"));
  dialog->reportKnownDistancePick(true, 0, 0, 150, 0, 150);
  EXPECT_EQ(child<QLineEdit>("txtXY_4")->text(), QStringLiteral("150"));
  EXPECT_EQ(child<QLabel>("lblRecio_0")->text(), QStringLiteral("666.67"));
}

}  // namespace
}  // namespace planimo
