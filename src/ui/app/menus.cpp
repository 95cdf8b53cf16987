// The menu bar and the popup menus of the map, with their start-up state.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "measure/edit_marks.h"
#include "model/zoom_steps.h"

namespace planimo {

QAction* MainWindow::addCommand(QMenu* menu, const QString& name, const QString& caption, bool checkable) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setCheckable(checkable);
  return a;
}

QMenu* MainWindow::addSubmenu(QMenu* parent, const QString& name, const QString& caption) {
  QMenu* m = parent->addMenu(caption);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  return m;
}

// Popups belong to the window but never to the menu bar; the map opens them.
QMenu* MainWindow::addPopup(const QString& name, const QString& caption) {
  auto* m = new QMenu(caption, this);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  return m;
}

void MainWindow::buildMenus() {
  buildFileMenu();
  buildDisplayMenu();
  buildToolMenu();
  buildHelpMenu();
  buildEditMenu();
}

void MainWindow::buildFileMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  file->setObjectName(QStringLiteral("mnuFile"));
  addCommand(file, QStringLiteral("mnuFileNewPrj"), QStringLiteral("新しい図面の作成(&N)..."))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  file->addSeparator();
  addCommand(file, QStringLiteral("mnuFileOpenPrj"), QStringLiteral("図面を開く(&O)"))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  addCommand(file, QStringLiteral("mnuFileSavePrj"), QStringLiteral("図面の上書き保存(&S)"))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  addCommand(file, QStringLiteral("mnuFileSaveAsPrj"), QStringLiteral("名前を付けて図面の保存..."));
  addCommand(file, QStringLiteral("mnuFileSaveAsImg"), QStringLiteral("ビットマップファイルへ保存"));
  QMenu* csv = addSubmenu(file, QStringLiteral("mnuFileSaveCsv"), QStringLiteral("CSVﾌｧｲﾙの作成..."));
  addCommand(csv, QStringLiteral("mnuFileSaveCsvSen"), QStringLiteral("距離・寸法"));
  addCommand(csv, QStringLiteral("mnuFileSaveCsvKer"), QStringLiteral("経路"));
  addCommand(csv, QStringLiteral("mnuFileSaveCsvMen"), QStringLiteral("面積"));
  addCommand(csv, QStringLiteral("mnuFileSaveCsvIti"), QStringLiteral("位置情報"));
  buildExportMenu(file);
  file->addSeparator();
  addCommand(file, QStringLiteral("mnuFilePrint"), QStringLiteral("印刷(&P)..."))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  file->addSeparator();
  addCommand(file, QStringLiteral("mnuFileEnd"), QStringLiteral("終了(&X)"))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainWindow::buildDisplayMenu() {
  QMenu* disp = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  disp->setObjectName(QStringLiteral("mnuDisp"));
  addCommand(disp, QStringLiteral("mnuDispAxis"), QStringLiteral("座標データ表示"), true);
  addCommand(disp, QStringLiteral("mnuDispSub"), QStringLiteral("サブ表示"));
  addCommand(disp, QStringLiteral("mnuDspDefault"), QStringLiteral("デフォルト"), true);
  addCommand(disp, QStringLiteral("mnuDispObj"), QStringLiteral("オブジェクト"));
  QMenu* zoom = addSubmenu(disp, QStringLiteral("mnuDispEandR"), QStringLiteral("拡大縮小"));
  addCommand(zoom, QStringLiteral("mnuDispEnlarge"), QStringLiteral("範囲指定"), true);
  addCommand(zoom, QStringLiteral("mnuDisp200"), QStringLiteral("１２５％"), true);
  addCommand(zoom, QStringLiteral("mnuDisp100"), QStringLiteral("１００％"), true);
  addCommand(zoom, QStringLiteral("mnuDisp80"), QStringLiteral("７５％"), true);
  addCommand(zoom, QStringLiteral("mnuDisp50"), QStringLiteral("５０％"), true);
  addCommand(zoom, QStringLiteral("mnuDisp25"), QStringLiteral("２５％"), true);
  addCommand(zoom, QStringLiteral("mnuDispAll"), QStringLiteral("選択範囲を画面フィット"), true);
  addCommand(zoom, QStringLiteral("mnuDispOrg"), QStringLiteral("読み込み時に戻す"));
}

void MainWindow::buildToolMenu() {
  QMenu* tool = menuBar()->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
  tool->setObjectName(QStringLiteral("mnuEditSet"));
  tool->menuAction()->setObjectName(QStringLiteral("mnuEditSet"));
  addCommand(tool, QStringLiteral("mnuToolMes"), QStringLiteral("測定ツール"), true);
  addCommand(tool, QStringLiteral("mnuToolLine"), QStringLiteral("引き出し線"), true);
  addCommand(tool, QStringLiteral("mnuToolCmnt"), QStringLiteral("文字列"), true);
  addCommand(tool, QStringLiteral("mnuToolPinfo"), QStringLiteral("位置情報"), true);
  tool->addSeparator();
  addCommand(tool, QStringLiteral("mnuToolFolda"), QStringLiteral("フォルダ設定"));
  addCommand(tool, QStringLiteral("mnuToolOpt"), QStringLiteral("ｵﾌﾟｼｮﾝ(&T)...."));
}

void MainWindow::buildHelpMenu() {
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  addCommand(help, QStringLiteral("mnuHelpVerInfo"), QStringLiteral("バージョン情報"));
  addCommand(help, QStringLiteral("mnuHelpHlp"), QStringLiteral("ヘルプ"));
}

void MainWindow::buildPopups() {
  buildMeasurePopup();

  QMenu* hosei = addPopup(QStringLiteral("popHosei"), QStringLiteral("p傾き補正"));
  addCommand(hosei, QStringLiteral("popHoseiL"), QStringLiteral("左のポイント設定"), true);
  addCommand(hosei, QStringLiteral("popHoseiR"), QStringLiteral("右のポイント設定"), true);

  QMenu* dis = addPopup(QStringLiteral("popDis"), QStringLiteral("p既知距離入力"));
  addCommand(dis, QStringLiteral("popDisX"), QStringLiteral("水平距離"), true);
  addCommand(dis, QStringLiteral("popDisY"), QStringLiteral("垂直距離"), true);

  QMenu* taiou = addPopup(QStringLiteral("popTaiou"), QStringLiteral("p対応点入力"));
  addCommand(taiou, QStringLiteral("popTaiou1"), QStringLiteral("対応点１座標指定"), true);
  addCommand(taiou, QStringLiteral("popTaiou2"), QStringLiteral("対応点２座標指定"), true);

  buildEditPopup();

  QMenu* hkd = addPopup(QStringLiteral("popHikidashi"), QStringLiteral("p引き出し線"));
  addCommand(hkd, QStringLiteral("popHkdSenNew"), QStringLiteral("新規作成"), true);
  addCommand(hkd, QStringLiteral("popHkdSenSelect"), QStringLiteral("選択モード"), true);
  hkd->addSeparator();
  addCommand(hkd, QStringLiteral("popHkdSenAllClr"), QStringLiteral("引き出し線の全消去"));

  QMenu* moji = addPopup(QStringLiteral("popMoji"), QStringLiteral("p文字列"));
  addCommand(moji, QStringLiteral("popMojiNew"), QStringLiteral("新規作成"), true);
  addCommand(moji, QStringLiteral("popMojiSelect"), QStringLiteral("選択モード"), true);
  moji->addSeparator();
  addCommand(moji, QStringLiteral("popHedda"), QStringLiteral("ヘッダ"));
  addCommand(moji, QStringLiteral("popRenInit"), QStringLiteral("連番初期値"));
  addCommand(moji, QStringLiteral("popFutta"), QStringLiteral("フッタ"));
  moji->addSeparator();
  addCommand(moji, QStringLiteral("popMojiAllClr"), QStringLiteral("文字列の全消去"));
}

void MainWindow::buildMeasurePopup() {
  QMenu* mes = addPopup(QStringLiteral("popMes"), QStringLiteral("p測定"));
  addCommand(mes, QStringLiteral("popMesCancel"), QStringLiteral("選択モード"), true);
  mes->addSeparator();
  addCommand(mes, QStringLiteral("popMesLine"), QStringLiteral("直線距離"), true);
  addCommand(mes, QStringLiteral("popMesRenzoku"), QStringLiteral("連続"), true);
  addCommand(mes, QStringLiteral("popMesCir"), QStringLiteral("半径円内"), true);
  addCommand(mes, QStringLiteral("popMesInput"), QStringLiteral("50m"), true);
  mes->addSeparator();
  addCommand(mes, QStringLiteral("popMesPutSen"), QStringLiteral("距離情報を残す"), true);
  addCommand(mes, QStringLiteral("popMesPutMen"), QStringLiteral("面積情報を残す"), true);
  addCommand(mes, QStringLiteral("popMesPutIti"), QStringLiteral("位置情報を残す"), true);
  mes->addSeparator();
  addCommand(mes, QStringLiteral("popMesMenseki"), QStringLiteral("面積計算"));
  addCommand(mes, QStringLiteral("popMesKeiro"), QStringLiteral("経路距離計算"));
  mes->addSeparator();
  QMenu* hojo = addSubmenu(mes, QStringLiteral("popMesHojo"), QStringLiteral("寸法引き出し線の長さ"));
  const QString lengths[] = {QStringLiteral("　5mm"), QStringLiteral("10mm"), QStringLiteral("15mm"),
                             QStringLiteral("20mm"), QStringLiteral("25mm"), QStringLiteral("30mm")};
  for (int i = 0; i < 6; ++i) {
    addCommand(hojo, QStringLiteral("popMesHj%1").arg((i + 1) * 5, 2, 10, QLatin1Char('0')), lengths[i], true);
  }
  addCommand(mes, QStringLiteral("popMesAllClr"), QStringLiteral("測定データ全消去"), true);
}

void MainWindow::buildEditPopup() {
  QMenu* edit = addPopup(QStringLiteral("popEdit"), QStringLiteral("p編集"));
  addCommand(edit, QStringLiteral("popEditRev"), QStringLiteral("測定線の反対側へ移動"));
  edit->addSeparator();
  QMenu* color = addSubmenu(edit, QStringLiteral("popEditColor"), QStringLiteral("文字"));
  addCommand(color, QStringLiteral("popEditForColor"), QStringLiteral("前景色...."));
  addCommand(color, QStringLiteral("popEditBackColor"), QStringLiteral("背景色...."));
  QMenu* back = addSubmenu(color, QStringLiteral("popBackStyle"), QStringLiteral("背景スタイル"));
  addCommand(back, QStringLiteral("popBackStyle0"), QStringLiteral("透明"));
  addCommand(back, QStringLiteral("popBackStyle1"), QStringLiteral("不透明"));
  QMenu* border = addSubmenu(color, QStringLiteral("popBorderStyle"), QStringLiteral("境界"));
  addCommand(border, QStringLiteral("popBorderStyle0"), QStringLiteral("無し"));
  addCommand(border, QStringLiteral("popBorderStyle1"), QStringLiteral("実線"));
  addCommand(color, QStringLiteral("popEditFont"), QStringLiteral("フォント...."));
  edit->addSeparator();
  QMenu* width = addSubmenu(edit, QStringLiteral("popEditWidthP"), QStringLiteral("線の幅"));
  for (int w : {1, 2, 3, 4, 5, 7, 9}) {
    addCommand(width, QStringLiteral("popEditWidth(%1)").arg(w), QStringLiteral("%1P").arg(w));
  }
  QMenu* style = addSubmenu(edit, QStringLiteral("popEditStyle"), QStringLiteral("線の種類"));
  const QString styles[] = {QStringLiteral("実践"), QStringLiteral("破線"), QStringLiteral("点線"),
                            QStringLiteral("一点鎖線"), QStringLiteral("二点鎖線")};
  for (int i = 0; i < 5; ++i) addCommand(style, QStringLiteral("popEditStyle%1").arg(i + 1), styles[i]);
  addCommand(edit, QStringLiteral("popEditBorderColor"), QStringLiteral("線の色...."));
  edit->addSeparator();
  const UnitTables& units = doc_.settings.units;
  QMenu* unitD = addSubmenu(edit, QStringLiteral("popEditUnitDistance"), QStringLiteral("単位変換（距離・寸法）"));
  for (int i = 0; i < kUnitCount; ++i) {
    addCommand(unitD, QStringLiteral("popEditUnitD(%1)").arg(i),
               QString::fromStdString(units.UnitDistance[static_cast<std::size_t>(i)]), true);
  }
  QMenu* unitS = addSubmenu(edit, QStringLiteral("popEditUnitSquea"), QStringLiteral("単位変換（面積）"));
  for (int i = 0; i < kUnitCount; ++i) {
    addCommand(unitS, QStringLiteral("popEditUnitS(%1)").arg(i),
               QString::fromStdString(units.UnitArea[static_cast<std::size_t>(i)]), true);
  }
  QMenu* decimals = addSubmenu(edit, QStringLiteral("popEditDesiPoint"), QStringLiteral("小数点"));
  for (int d = 0; d <= 8; ++d) {
    addCommand(decimals, QStringLiteral("popEditDPoint(%1)").arg(d), QString::number(d), true)->setVisible(d <= 6);
  }
  edit->addSeparator();
  addCommand(edit, QStringLiteral("popEditDpp"), QStringLiteral("複製"));
  addCommand(edit, QStringLiteral("popEditDel"), QStringLiteral("消去"));
}

// Entries that are never offered; every other state comes from the
// measurement session through reflectSession().
void MainWindow::setInitialMenuState() {
  // Unfinished commands: hidden for good.
  for (const char* name : {"mnuDispEnlarge", "mnuDispAll", "mnuDispSub", "mnuDispOrg", "mnuDispObj", "popMesPutIti"}) {
    command(QString::fromLatin1(name))->setVisible(false);
  }
}

void MainWindow::reflectSession() {
  const MenuState& m = session_.menu;
  const std::pair<const char*, bool> checks[] = {
      {"mnuToolMes", m.mnuToolMes},       {"mnuToolLine", m.mnuToolLine},
      {"mnuToolCmnt", m.mnuToolCmnt},     {"mnuToolPinfo", m.mnuToolPinfo},
      {"popMesCancel", m.popMesCancel},   {"popMesLine", m.popMesLine},
      {"popMesRenzoku", m.popMesRenzoku}, {"popMesCir", m.popMesCir},
      {"popMesInput", m.popMesInput},     {"popMesPutSen", m.popMesPutSen},
      {"popMesPutMen", m.popMesPutMen},   {"popMesAllClr", m.popMesAllClr},
      {"popMesHj05", m.popMesHj[0]},      {"popMesHj10", m.popMesHj[1]},
      {"popMesHj15", m.popMesHj[2]},      {"popMesHj20", m.popMesHj[3]},
      {"popMesHj25", m.popMesHj[4]},      {"popMesHj30", m.popMesHj[5]},
      {"popHoseiL", m.popHoseiL},         {"popHoseiR", m.popHoseiR},
      {"popDisX", m.popDisX},             {"popDisY", m.popDisY},
      {"popTaiou1", m.popTaiou1},         {"popTaiou2", m.popTaiou2},
      {"popHkdSenNew", m.popHkdSenNew},   {"popHkdSenSelect", m.popHkdSenSelect},
      {"popMojiNew", m.popMojiNew},       {"popMojiSelect", m.popMojiSelect},
      {"mnuDispEnlarge", m.mnuDispEnlarge}, {"mnuDispAll", m.mnuDispFit},
      {"mnuDisp200", m.mnuDispZoom[0]},   {"mnuDisp100", m.mnuDispZoom[1]},
      {"mnuDisp80", m.mnuDispZoom[2]},    {"mnuDisp50", m.mnuDispZoom[3]},
      {"mnuDisp25", m.mnuDispZoom[4]},    {"mnuDispAxis", m.mnuDispAxis},
      {"mnuDspDefault", m.mnuDspDefault},
  };
  for (const auto& [name, on] : checks) command(QString::fromLatin1(name))->setChecked(on);
  // The value submenus mark what the selected label shows.
  const ValueMarks marks = SelectedValueMarks(doc_);
  for (int i = 0; i < kUnitCount; ++i) {
    command(QStringLiteral("popEditUnitD(%1)").arg(i))->setChecked(marks.distanceUnit == i);
    command(QStringLiteral("popEditUnitS(%1)").arg(i))->setChecked(marks.areaUnit == i);
  }
  for (int d = 0; d <= 8; ++d) command(QStringLiteral("popEditDPoint(%1)").arg(d))->setChecked(marks.decimals == d);

  const EditMenuEnabled& e = m.popEdit;
  const std::pair<const char*, bool> enabled[] = {
      {"popMesPutMen", m.popMesPutMenEnabled},
      {"mnuFileSavePrj", m.mnuFileSavePrjEnabled},
      {"mnuFileSaveAsPrj", m.mnuFileSaveAsPrjEnabled},
      {"mnuFileSaveAsImg", m.mnuFileSaveAsImgEnabled},
      {"mnuFileSaveCsv", m.mnuFileSaveCsvEnabled},
      {"mnuEditSet", m.mnuEditSetEnabled},
      {"popEditRev", e.popEditRev},
      {"popEditColor", e.popEditColor},
      {"popEditFont", e.popEditFont},
      {"popEditWidthP", e.popEditWidthP},
      {"popEditStyle", e.popEditStyle},
      {"popEditBorderColor", e.popEditBorderColor},
      {"popEditUnitDistance", e.popEditUnitDistance},
      {"popEditUnitSquea", e.popEditUnitSquea},
      {"popEditDesiPoint", e.popEditDesiPoint},
      {"popEditDpp", e.popEditDpp},
      {"popEditDel", e.popEditDel},
  };
  for (const auto& [name, on] : enabled) command(QString::fromLatin1(name))->setEnabled(on);
  reflectExportCommands();
  // A file button is offered exactly when the command it runs is.
  const std::pair<const char*, const char*> buttons[] = {
      {"open", "mnuFileOpenPrj"}, {"save", "mnuFileSavePrj"}, {"print", "mnuFilePrint"}};
  for (const auto& [key, name] : buttons) {
    command(QString::fromLatin1(key))->setEnabled(command(QString::fromLatin1(name))->isEnabled());
  }

  command(QStringLiteral("popMesInput"))->setText(QString::fromStdString(doc_.specifiedDistanceCaption));
  setStatusText(3, QString::fromStdString(session_.panel3));
  setStatusText(4, QString::fromStdString(session_.panel4));
  setStatusText(5, QString::fromStdString(ZoomPercentText(doc_.view.sngZoom)));
  for (std::size_t i = 0; i < readouts_.size(); ++i) {
    readouts_[i]->setText(QString::fromStdString(session_.readout.txtPict[i]));
  }
}

}  // namespace planimo
