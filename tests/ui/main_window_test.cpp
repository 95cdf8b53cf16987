#include "app/main_window.h"
#include "app/qt_language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QDragEnterEvent>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/busy_guard.h"
#include "app/error_box.h"
#include "app/window_placement.h"
#include "fake_message_sink.h"
#include "print/print_commands.h"
#include "print/print_dialog.h"
#include "io/project_flow.h"

namespace planimo {
namespace {

struct Fixture : ::testing::Test {
  QTemporaryDir folder;
  std::shared_ptr<FakeMessageSink> sink = std::make_shared<FakeMessageSink>();
  std::unique_ptr<MainWindow> w = std::make_unique<MainWindow>(sink, folder.path());
};

using MainWindowTest = Fixture;

TEST_F(MainWindowTest, CaptionNamesProductAndVersion) {
  EXPECT_EQ(w->windowTitle(), QStringLiteral("距離・寸法測定　管理ソフト『Planimo』 Ver 1.6.0"));
  EXPECT_EQ(w->objectName(), QStringLiteral("frmMain"));
  EXPECT_EQ(w->minimumSize(), QSize(320, 240));
  w->resize(100, 100);
  EXPECT_EQ(w->size(), QSize(320, 240));
  ASSERT_NE(w->centralWidget(), nullptr);
  EXPECT_EQ(w->centralWidget()->objectName(), QStringLiteral("pictWindow"));
}

TEST_F(MainWindowTest, VersionBoxHasTitleWithBlankAndProductLine) {
  w->command(QStringLiteral("mnuHelpVerInfo"))->trigger();
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_FALSE(sink->boxes[0].isError);
  EXPECT_EQ(sink->boxes[0].title, QStringLiteral("バージョン情報 "));
  EXPECT_EQ(sink->boxes[0].text,
            QStringLiteral("距離・寸法測定　管理ソフト\nProductName  Planimo Ver 1.6.0\n"));
}

TEST_F(MainWindowTest, HelpCommandAndHelpButtonOnlyPointToF1) {
  w->command(QStringLiteral("mnuHelpHlp"))->trigger();
  w->command(QStringLiteral("help"))->trigger();
  ASSERT_EQ(sink->boxes.size(), 2u);
  for (const ShownBox& b : sink->boxes) {
    EXPECT_EQ(b.title, QStringLiteral("m(_ _)m"));
    EXPECT_EQ(b.text, QStringLiteral("Ｆ１キーを押してください。"));
  }
}

TEST_F(MainWindowTest, F1FallsBackToHtmlHelpWhenTheChmIsMissingOrCannotOpen) {
  std::vector<QString> opened;
  bool chmOpens = false;
  w->setUrlOpener([&](const QUrl& url) {
    opened.push_back(url.toLocalFile());
    return url.toLocalFile().endsWith(QStringLiteral(".chm")) ? chmOpens : true;
  });
  QAction* f1 = w->findChild<QAction*>(QStringLiteral("keyHelp"));
  ASSERT_NE(f1, nullptr);
  EXPECT_EQ(f1->shortcut(), QKeySequence(Qt::Key_F1));

  f1->trigger();  // no help.chm yet
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], folder.filePath(QStringLiteral("help/index.html")));

  QFile chm(folder.filePath(QStringLiteral("help.chm")));
  ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
  chm.close();
  opened.clear();
  f1->trigger();  // present, but nothing on this desktop opens it
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], w->helpFilePath());
  EXPECT_EQ(opened[1], folder.filePath(QStringLiteral("help/index.html")));

  chmOpens = true;
  opened.clear();
  f1->trigger();
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(MainWindowTest, StatusBarPanelsStartWithTheirTextsAndWidths) {
  struct Panel {
    QString text, tip;
    int minimum;
  };
  const Panel panels[] = {
      {"", "図面名", 166},         {"", "画像ファイル名", 166},  {"測定ツール", "ツール", 96},
      {"直線の測定", "モード", 96}, {"100%", "拡大縮小率", 66}, {"", "画像ファイルパス名", 96},
  };
  for (int i = 1; i <= 6; ++i) {
    QLabel* p = w->statusPanel(i);
    ASSERT_NE(p, nullptr) << i;
    EXPECT_EQ(p->objectName(), QStringLiteral("stsPanel%1").arg(i));
    EXPECT_EQ(p->text(), panels[i - 1].text) << i;
    EXPECT_EQ(p->toolTip(), panels[i - 1].tip) << i;
    EXPECT_EQ(p->minimumWidth(), panels[i - 1].minimum) << i;
  }
  EXPECT_EQ(w->statusPanel(1)->maximumWidth(), 166);
  EXPECT_EQ(w->statusPanel(5)->maximumWidth(), 66);
  EXPECT_GT(w->statusPanel(6)->maximumWidth(), 120);  // the path panel stretches
}

TEST_F(MainWindowTest, ReadoutBoxesStartEmptyAndHidden) {
  const char* tips[] = {"経度", "緯度", "速度", "経過距離", "時刻", "標高", "経過秒"};
  for (int i = 0; i < 7; ++i) {
    QLineEdit* box = w->readout(i);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QStringLiteral("txtPict(%1)").arg(i));
    EXPECT_EQ(box->toolTip(), QString::fromUtf8(tips[i]));
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(box->isHidden());
  }
  EXPECT_EQ(w->readout(7), nullptr);
}

TEST_F(MainWindowTest, ToolbarZoomStepsAreCappedAndShownInPanelFive) {
  std::vector<float> hooked;
  w->setZoomHook([&](float z) { hooked.push_back(z); });
  QAction* magnify = w->command(QStringLiteral("magnify"));
  QAction* reduce = w->command(QStringLiteral("reduce"));
  QAction* modosu = w->command(QStringLiteral("modosu"));
  ASSERT_TRUE(magnify && reduce && modosu);

  for (int i = 0; i < 15; ++i) magnify->trigger();
  EXPECT_EQ(w->document().view.sngZoom, 2.0f);
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("200%"));
  EXPECT_EQ(hooked.size(), 15u);
  EXPECT_EQ(hooked.back(), 2.0f);

  modosu->trigger();
  EXPECT_EQ(w->document().view.sngZoom, 1.0f);
  reduce->trigger();
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("90%"));
  for (int i = 0; i < 15; ++i) reduce->trigger();
  EXPECT_EQ(w->document().view.sngZoom, 0.1f);
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("10%"));
}

TEST_F(MainWindowTest, ToolbarButtonClearsFixedZoomMark) {
  w->command(QStringLiteral("mnuDisp50"))->trigger();
  EXPECT_TRUE(w->command(QStringLiteral("mnuDisp50"))->isChecked());
  EXPECT_EQ(w->document().view.sngZoom, 0.5f);
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("50%"));
  w->command(QStringLiteral("mnuDisp200"))->trigger();
  EXPECT_FALSE(w->command(QStringLiteral("mnuDisp50"))->isChecked());
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("125%"));
  w->command(QStringLiteral("magnify"))->trigger();
  EXPECT_FALSE(w->command(QStringLiteral("mnuDisp200"))->isChecked());
  EXPECT_EQ(w->statusPanel(5)->text(), QStringLiteral("135%"));
}

// Each file button does what its command does: the open and save choosers
// are asked (and cancelled), the print dialog shows; the save button is
// greyed and does nothing while its command is disabled.
TEST_F(MainWindowTest, ToolbarFileButtonsRunOnlyEnabledCommands) {
  std::vector<std::string> asked;
  w->setFileChooser([&](const FileChooserRequest& r) {
    asked.push_back(r.title);
    return QString();  // cancelled
  });
  int dialogs = 0;
  w->printing()->setDialogRunner([&](PrintDialog& d) {
    ++dialogs;
    d.reject();
  });
  EXPECT_FALSE(w->command(QStringLiteral("save"))->isEnabled());  // as its command, at start
  w->command(QStringLiteral("save"))->trigger();
  EXPECT_TRUE(asked.empty());
  w->command(QStringLiteral("open"))->trigger();
  EXPECT_EQ(asked, (std::vector<std::string>{"図面を開きます"}));
  w->command(QStringLiteral("print"))->trigger();
  EXPECT_EQ(dialogs, 1);
  w->session().menu.mnuFileSavePrjEnabled = true;
  w->reflectSession();
  EXPECT_TRUE(w->command(QStringLiteral("save"))->isEnabled());
  w->command(QStringLiteral("save"))->trigger();  // no project file yet: Save As asks for one
  EXPECT_EQ(asked, (std::vector<std::string>{"図面を開きます", "名前を付けて図面保存"}));
  EXPECT_TRUE(sink->boxes.empty());
}

TEST_F(MainWindowTest, ToolbarButtonsHaveKeysAndTooltips) {
  const std::pair<const char*, const char*> buttons[] = {
      {"open", "図面を開く"}, {"save", "図面の上書き保存"}, {"print", "印刷..."}, {"magnify", "拡大"},
      {"modosu", "読み込み時のサイズに戻す"}, {"reduce", "縮小"}, {"help", "ヘルプ"}};
  for (const auto& [key, tip] : buttons) {
    QAction* a = w->command(QString::fromLatin1(key));
    ASSERT_NE(a, nullptr) << key;
    EXPECT_EQ(a->toolTip(), QString::fromUtf8(tip));
  }
}

// A file that cannot be shown is reported and the drawing keeps its objects;
// a good one starts an empty drawing at 100 % and names itself in the panels.
TEST_F(MainWindowTest, NewDrawingClearsObjectsOnlyWhenTheImageShows) {
  Document& doc = w->document();
  doc.objects.lineHikidashi[0].Visible = true;
  AppendSpare(doc.objects.lineHikidashi);

  w->setImageChooser([this] { return folder.filePath(QStringLiteral("missing.jpg")); });
  w->command(QStringLiteral("mnuFileNewPrj"))->trigger();
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_EQ(sink->boxes[0].title, QStringLiteral("画像表示時エラー"));
  EXPECT_TRUE(sink->boxes[0].text.startsWith(QStringLiteral("subMapDraw()\r")));
  EXPECT_TRUE(doc.objects.lineHikidashi[0].Visible);
  EXPECT_TRUE(w->isEnabled());

  const QString good = folder.filePath(QStringLiteral("plan.bmp"));
  QImage img(40, 30, QImage::Format_RGB32);
  img.fill(Qt::white);
  ASSERT_TRUE(img.save(good));
  w->setImageChooser([good] { return good; });
  w->command(QStringLiteral("mnuFileNewPrj"))->trigger();
  QApplication::processEvents();
  EXPECT_EQ(sink->boxes.size(), 1u);
  EXPECT_FALSE(doc.objects.lineHikidashi[0].Visible);
  EXPECT_EQ(doc.state.fMei_MapImage, "plan.bmp");
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("plan.bmp"));
  EXPECT_TRUE(w->command(QStringLiteral("mnuFileSaveAsPrj"))->isEnabled());
  EXPECT_FALSE(w->command(QStringLiteral("mnuFileSavePrj"))->isEnabled());
  EXPECT_TRUE(w->isEnabled());

  w->setImageChooser([] { return QString(); });  // cancel: nothing happens
  w->command(QStringLiteral("mnuFileNewPrj"))->trigger();
  EXPECT_EQ(sink->boxes.size(), 1u);

  // A JPEG whose scan was cut (the end marker put back) decodes without an
  // error of the reader; its warnings refuse it and the drawing stays.
  const QString cut = folder.filePath(QStringLiteral("cut.jpg"));
  QImage scan(400, 300, QImage::Format_RGB32);
  scan.fill(Qt::white);
  ASSERT_TRUE(scan.save(cut, "JPEG"));
  QFile file(cut);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  bytes = bytes.left(bytes.size() * 3 / 4) + QByteArray("\xFF\xD9", 2);
  ASSERT_TRUE(file.resize(0) && file.write(bytes) == bytes.size());
  file.close();
  w->setImageChooser([cut] { return cut; });
  w->command(QStringLiteral("mnuFileNewPrj"))->trigger();
  QApplication::processEvents();
  ASSERT_EQ(sink->boxes.size(), 2u);
  EXPECT_EQ(sink->boxes[1].title, QStringLiteral("画像表示時エラー"));
  EXPECT_TRUE(sink->boxes[1].text.contains(QStringLiteral("画像のデータが壊れています。")));
  EXPECT_EQ(doc.state.fMei_MapImage, "plan.bmp");
  EXPECT_TRUE(w->isEnabled());
}

TEST_F(MainWindowTest, DroppedImageOpensAndOtherFilesAreRefused) {
  const QString image = folder.filePath(QStringLiteral("drop.gif"));
  QImage img(20, 10, QImage::Format_Indexed8);
  img.setColorCount(1);
  img.setColor(0, qRgb(255, 255, 255));
  img.fill(0);
  ASSERT_TRUE(img.save(image, "BMP"));  // a BMP named .gif: the reader goes by content
  const auto drop = [this](const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    const bool accepted = enter.isAccepted();
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (accepted) QApplication::sendEvent(w.get(), &dropped);
    return accepted;
  };
  EXPECT_FALSE(drop(folder.filePath(QStringLiteral("notes.txt"))));
  EXPECT_TRUE(drop(image));
  QApplication::processEvents();
  EXPECT_EQ(w->document().state.fMei_MapImage, "drop.gif");
}

TEST(ErrorBox, ShowsNumberedTextAndHidesCancellation) {
  FakeMessageSink sink;
  EXPECT_TRUE(ShowErrorBox(sink, QStringLiteral("mnuFileOpenPrj"), {53, "ファイルが見つかりません。"}));
  EXPECT_FALSE(ShowErrorBox(sink, QStringLiteral("mnuFileOpenPrj"), {32755, "キャンセル"}));
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_TRUE(sink.boxes[0].isError);
  EXPECT_EQ(sink.boxes[0].title, QStringLiteral("ｴﾗｰ"));
  EXPECT_EQ(sink.boxes[0].text,
            QStringLiteral("mnuFileOpenPrj():ｴﾗｰ番号 53 ｴﾗｰが発生しました。\rファイルが見つかりません。"));
}

TEST(BusyGuard, RestoresWindowAndCursorAlsoAfterAnError) {
  QWidget window;
  {
    BusyGuard busy(&window);
    EXPECT_FALSE(window.isEnabled());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  try {
    BusyGuard busy(&window);
    throw std::runtime_error("unreadable image");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  window.setEnabled(false);  // a window that was locked already stays locked
  { BusyGuard busy(&window); }
  EXPECT_FALSE(window.isEnabled());
}

// The frame, not the inner area, takes the screen's width and its height less
// 500 twips, inside the area the desktop's panels leave free.
TEST_F(MainWindowTest, FrameFillsTheScreenLessTheTaskbarAllowance) {
  const struct {
    QRect screen, available;
    qreal dpi;
    QRect frame;
  } cases[] = {
      {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 96, {0, 0, 1920, 1047}},
      {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, {0, 0, 1920, 1040}},  // taskbar below
      {{0, 0, 1920, 1080}, {0, 27, 1920, 1053}, 96, {0, 27, 1920, 1020}},  // panel above
      {{0, 0, 2880, 1800}, {0, 0, 2880, 1800}, 144, {0, 0, 2880, 1750}},
      {{1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}, 96, {1920, 0, 1280, 991}},
      {{0, 0, 300, 200}, {0, 0, 300, 200}, 96, {0, 0, 320, 240}},  // never below the minimum
  };
  for (const auto& c : cases) EXPECT_EQ(MainFrameRect(c.screen, c.available, c.dpi), c.frame) << c.dpi;

  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  const QScreen* screen = w->screen();
  EXPECT_EQ(w->frameGeometry(),
            MainFrameRect(screen->geometry(), screen->availableGeometry(), screen->logicalDotsPerInchY()));
}

// F1 opens the help also while a modal dialog blocks the main window.
TEST_F(MainWindowTest, F1OpensHelpFromAModalDialog) {
  int opened = 0;
  w->setUrlOpener([&](const QUrl&) {
    ++opened;
    return true;
  });
  w->show();
  bool modal = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    modal = dialog != nullptr;
    if (!dialog) return;
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, Qt::Key_F1);
    QTest::keyClick(target, Qt::Key_Escape);
  });
  w->askInput({QStringLiteral("距離入力"), QStringLiteral("距離を入力してください"), QStringLiteral("m "),
               QStringLiteral("50")});
  EXPECT_TRUE(modal);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(w->propLetDlgCancel());
}

}  // namespace
}  // namespace planimo

namespace planimo {
namespace {

// Qt's own buttons and dialogs follow the program's language, and taking
// the translation away again gives Qt's English back.
TEST(QtDialogLanguage, QtsOwnButtonsSpeakJapanese) {
  QTranslator* translator = TranslateQtDialogs(*QCoreApplication::instance());
  ASSERT_NE(translator, nullptr) << "qtbase_ja.qm is missing from Qt's translations";
  QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("開く"));
  QCoreApplication::removeTranslator(translator);
  delete translator;
  EXPECT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
            QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace planimo
