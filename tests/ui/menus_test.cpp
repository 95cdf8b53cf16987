#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "app/main_window.h"
#include "fake_message_sink.h"

namespace planimo {
namespace {

struct MenusTest : ::testing::Test {
  QTemporaryDir folder;
  std::shared_ptr<FakeMessageSink> sink = std::make_shared<FakeMessageSink>();
  std::unique_ptr<MainWindow> w;

  void SetUp() override { w = std::make_unique<MainWindow>(sink, folder.path()); }

  // Object names of a menu's entries in order; "-" for a separator.
  static QStringList Names(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
  }
  QAction* cmd(const char* name) const { return w->command(QString::fromLatin1(name)); }
};

TEST_F(MenusTest, MenuBarHoldsTheFiveMenusInOrder) {
  QStringList titles;
  for (const QAction* a : w->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾂｰﾙ(&T)", "ヘルプ(&H)"}));
  EXPECT_EQ(w->menuBar()->actions()[3]->menu()->objectName(), QStringLiteral("mnuEditSet"));
}

TEST_F(MenusTest, FileMenuEntriesCaptionsAndShortcuts) {
  const QMenu* file = w->menuBar()->actions()[0]->menu();
  EXPECT_EQ(Names(file), (QStringList{"mnuFileNewPrj", "-", "mnuFileOpenPrj", "mnuFileSavePrj", "mnuFileSaveAsPrj",
                                      "mnuFileSaveAsImg", "mnuFileSaveCsv", "mnuFileExport", "-", "mnuFilePrint", "-", "mnuFileRecent",
                                      "-", "mnuFileEnd"}));
  struct Row {
    const char* name;
    const char* caption;
    QKeySequence key;
    bool enabled;
  };
  const Row rows[] = {
      {"mnuFileNewPrj", "新しい図面の作成(&N)...", QKeySequence(Qt::CTRL | Qt::Key_N), true},
      {"mnuFileOpenPrj", "図面を開く(&O)", QKeySequence(Qt::CTRL | Qt::Key_O), true},
      {"mnuFileSavePrj", "図面の上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S), false},
      {"mnuFileSaveAsPrj", "名前を付けて図面の保存...", QKeySequence(), false},
      {"mnuFileSaveAsImg", "ビットマップファイルへ保存", QKeySequence(), false},
      {"mnuFileSaveCsv", "CSVﾌｧｲﾙの作成...", QKeySequence(), false},
      {"mnuFileExport", "書き出し", QKeySequence(), false},
      {"mnuFilePrint", "印刷(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P), true},
      {"mnuFileEnd", "終了(&X)", QKeySequence(Qt::CTRL | Qt::Key_Q), true},
  };
  for (const Row& r : rows) {
    QAction* a = cmd(r.name);
    ASSERT_NE(a, nullptr) << r.name;
    EXPECT_EQ(a->text(), QString::fromUtf8(r.caption)) << r.name;
    EXPECT_EQ(a->shortcut(), r.key) << r.name;
    EXPECT_EQ(a->isEnabled(), r.enabled) << r.name;
  }
  EXPECT_EQ(Names(cmd("mnuFileSaveCsv")->menu()),
            (QStringList{"mnuFileSaveCsvSen", "mnuFileSaveCsvKer", "mnuFileSaveCsvMen", "mnuFileSaveCsvIti"}));
  EXPECT_EQ(cmd("mnuFileSaveCsvIti")->text(), QStringLiteral("位置情報"));
  EXPECT_EQ(Names(cmd("mnuFileExport")->menu()),
            (QStringList{"mnuFileExportDxf", "mnuFileExportGeo", "mnuFileExportWorld"}));
  EXPECT_EQ(cmd("mnuFileExportGeo")->text(), QStringLiteral("GeoJSON / GeoPackage..."));
  EXPECT_EQ(cmd("mnuFileExportWorld")->text(), QStringLiteral("ワールドファイル..."));
}

TEST_F(MenusTest, DisplayAndToolMenusWithStartMarks) {
  const QMenu* disp = w->menuBar()->actions()[2]->menu();
  EXPECT_EQ(Names(disp), (QStringList{"mnuDispAxis", "mnuDispSub", "mnuDspDefault", "mnuDispObj", "mnuDispEandR", "-",
                                      "mnuDispTakeoff"}));
  EXPECT_TRUE(cmd("mnuDispTakeoff")->isCheckable());
  EXPECT_FALSE(cmd("mnuDispTakeoff")->isChecked());
  EXPECT_EQ(Names(cmd("mnuDispEandR")->menu()), (QStringList{"mnuDispEnlarge", "mnuDisp200", "mnuDisp100", "mnuDisp80",
                                                             "mnuDisp50", "mnuDisp25", "mnuDispAll", "mnuDispOrg"}));
  EXPECT_EQ(cmd("mnuDisp200")->text(), QStringLiteral("１２５％"));
  EXPECT_EQ(cmd("mnuDisp80")->text(), QStringLiteral("７５％"));
  EXPECT_TRUE(cmd("mnuDspDefault")->isChecked());
  EXPECT_FALSE(cmd("mnuDispAxis")->isChecked());

  const QMenu* tool = w->menuBar()->actions()[3]->menu();
  EXPECT_EQ(Names(tool), (QStringList{"mnuToolMes", "mnuToolLine", "mnuToolCmnt", "mnuToolPinfo", "-",
                                      "mnuToolFolda", "mnuToolOpt"}));
  EXPECT_EQ(cmd("mnuToolOpt")->text(), QStringLiteral("ｵﾌﾟｼｮﾝ(&T)...."));
  EXPECT_TRUE(cmd("mnuToolMes")->isChecked());
  EXPECT_FALSE(cmd("mnuToolLine")->isChecked());
  EXPECT_EQ(Names(w->menuBar()->actions()[4]->menu()), (QStringList{"mnuHelpVerInfo", "mnuHelpHlp"}));
}

TEST_F(MenusTest, UnreachableEntriesStayHidden) {
  for (const char* name : {"mnuDispEnlarge", "mnuDispAll", "mnuDispSub", "mnuDispOrg", "mnuDispObj", "popMesPutIti",
                           "popEditDPoint(7)", "popEditDPoint(8)"}) {
    EXPECT_FALSE(cmd(name)->isVisible()) << name;
  }
  EXPECT_TRUE(cmd("popEditDPoint(6)")->isVisible());
  EXPECT_EQ(cmd("popMesPutIti")->text(), QStringLiteral("位置情報を残す"));
}

TEST_F(MenusTest, PopupsAreOffTheMenuBar) {
  const std::pair<const char*, const char*> popups[] = {
      {"popMes", "p測定"},           {"popHosei", "p傾き補正"}, {"popDis", "p既知距離入力"},
      {"popTaiou", "p対応点入力"},   {"popEdit", "p編集"},       {"popHikidashi", "p引き出し線"},
      {"popMoji", "p文字列"}};
  for (const auto& [name, title] : popups) {
    QMenu* m = w->popup(QString::fromLatin1(name));
    ASSERT_NE(m, nullptr) << name;
    EXPECT_EQ(m->title(), QString::fromUtf8(title));
    EXPECT_FALSE(w->menuBar()->actions().contains(m->menuAction())) << name;
  }
}

TEST_F(MenusTest, MeasurePopupStartState) {
  EXPECT_EQ(Names(w->popup(QStringLiteral("popMes"))),
            (QStringList{"popMesCancel", "-", "popMesLine", "popMesRenzoku", "popMesCir", "popMesInput", "-",
                         "popMesPutSen", "popMesPutMen", "popMesPutIti", "-", "popMesMenseki", "popMesKeiro", "-",
                         "popMesHojo", "popMesAllClr"}));
  EXPECT_TRUE(cmd("popMesLine")->isChecked());
  EXPECT_FALSE(cmd("popMesCancel")->isChecked());
  EXPECT_TRUE(cmd("popMesPutSen")->isChecked());
  EXPECT_FALSE(cmd("popMesPutMen")->isEnabled());
  EXPECT_EQ(cmd("popMesInput")->text(), QStringLiteral("50 m "));  // specified distance and unit
  EXPECT_EQ(cmd("popMesHj05")->text(), QStringLiteral("　5mm"));
  for (const char* name : {"popMesHj05", "popMesHj10", "popMesHj20", "popMesHj25", "popMesHj30"}) {
    EXPECT_FALSE(cmd(name)->isChecked()) << name;
  }
  EXPECT_TRUE(cmd("popMesHj15")->isChecked());
}

TEST_F(MenusTest, CalibrationAndTextPopupsStartState) {
  EXPECT_TRUE(cmd("popDisX")->isChecked());
  EXPECT_FALSE(cmd("popDisY")->isChecked());
  EXPECT_FALSE(cmd("popHoseiL")->isChecked());
  EXPECT_FALSE(cmd("popTaiou2")->isChecked());
  EXPECT_TRUE(cmd("popHkdSenNew")->isChecked());
  EXPECT_TRUE(cmd("popMojiNew")->isChecked());
  EXPECT_FALSE(cmd("popMojiSelect")->isChecked());
  EXPECT_EQ(Names(w->popup(QStringLiteral("popMoji"))),
            (QStringList{"popMojiNew", "popMojiSelect", "-", "popHedda", "popRenInit", "popFutta", "-",
                         "popMojiAllClr"}));
}

TEST_F(MenusTest, EditPopupStartState) {
  EXPECT_EQ(Names(w->popup(QStringLiteral("popEdit"))),
            (QStringList{"popEditRev", "-", "popEditColor", "-", "popEditWidthP", "popEditStyle",
                         "popEditBorderColor", "-", "popEditUnitDistance", "popEditUnitSquea", "popEditDesiPoint", "-",
                         "popEditDpp", "popEditDel"}));
  EXPECT_FALSE(cmd("popEditDpp")->isEnabled());
  EXPECT_TRUE(cmd("popEditDel")->isEnabled());
  EXPECT_EQ(cmd("popEditUnitDistance")->menu()->actions().size(), 14);
  EXPECT_EQ(cmd("popEditUnitSquea")->menu()->actions().size(), 14);
  EXPECT_EQ(cmd("popEditWidth(9)")->text(), QStringLiteral("9P"));
  EXPECT_EQ(cmd("popEditStyle1")->text(), QStringLiteral("実践"));
  EXPECT_EQ(Names(cmd("popEditColor")->menu()),
            (QStringList{"popEditForColor", "popEditBackColor", "popBackStyle", "popBorderStyle", "popEditFont"}));
}

TEST_F(MenusTest, ToolCommandGoesThroughTheCoreAndBackToTheMenus) {
  cmd("mnuToolLine")->trigger();
  EXPECT_TRUE(cmd("mnuToolLine")->isChecked());
  EXPECT_FALSE(cmd("mnuToolMes")->isChecked());
  EXPECT_FALSE(cmd("popEditRev")->isEnabled());
  EXPECT_TRUE(cmd("popEditDpp")->isEnabled());
  EXPECT_EQ(w->statusPanel(3)->text(), QStringLiteral("引き出し線"));
  EXPECT_EQ(w->statusPanel(4)->text(), QStringLiteral("新規作成"));
  cmd("mnuToolOpt")->trigger();
  for (const char* name : {"mnuToolMes", "mnuToolLine", "mnuToolCmnt", "mnuToolPinfo"}) {
    EXPECT_FALSE(cmd(name)->isChecked()) << name;
  }
}

TEST_F(MenusTest, CancelledDistanceInputKeepsTheCaption) {
  w->setInputRunner([](const InputRequest& r) {
    EXPECT_EQ(r.title, QStringLiteral("距離入力"));
    EXPECT_EQ(r.initial, QStringLiteral("50"));
    return InputAnswer{};  // cancelled
  });
  cmd("popMesInput")->trigger();
  EXPECT_EQ(cmd("popMesInput")->text(), QStringLiteral("50 m "));
  EXPECT_TRUE(cmd("popMesInput")->isChecked());
  EXPECT_FALSE(cmd("popMesLine")->isChecked());

  w->setInputRunner([](const InputRequest&) { return InputAnswer{"12.5", "12.5", false}; });
  cmd("popMesInput")->trigger();
  EXPECT_EQ(cmd("popMesInput")->text(), QStringLiteral("12.5 m "));
  EXPECT_EQ(w->statusPanel(4)->text(), QStringLiteral("規定の距離 入力"));
}

TEST(MenusUnits, UnitSubmenusTakeTheirCaptionsFromInitIni) {
  QTemporaryDir folder;
  QFile ini(folder.filePath(QStringLiteral("Init.ini")));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[\xe8\xb7\x9d\xe9\x9b\xa2\xe5\x8d\x98\xe4\xbd\x8d]\r\nUnitDistance(0)=mm\r\nUnitDistance(13)=\xe9\x87\x8c\r\n");
  ini.close();
  MainWindow w(std::make_shared<FakeMessageSink>(), folder.path());
  EXPECT_EQ(w.command(QStringLiteral("popEditUnitD(0)"))->text(), QStringLiteral("mm "));
  EXPECT_EQ(w.command(QStringLiteral("popEditUnitD(13)"))->text(), QStringLiteral("里 "));
  EXPECT_EQ(QString::fromStdString(w.document().settings.units.UnitDistance[0]), QStringLiteral("mm "));
}

}  // namespace
}  // namespace planimo
