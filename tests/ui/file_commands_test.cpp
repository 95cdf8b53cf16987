// The File menu's project commands in the running window: Save As, Open,
// Save, the CSV tables, the question before unsaved work is thrown away,
// and the command line.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <memory>

#include "app/command_line.h"
#include "app/main_window.h"
#include "fake_message_sink.h"
#include "io/project_flow.h"
#include "measure/line_measure.h"
#include "print/print_commands.h"
#include "print/print_dialog.h"
#include "view/map_view.h"

namespace planimo {
namespace {

struct FileCommandsTest : ::testing::Test {
  FileCommandsTest() {
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.save(path("plan.bmp"));
    w->setRecentFolder(folder.path());
    w->setImageChooser([this] { return path("plan.bmp"); });
    w->setFileChooser([this](const FileChooserRequest& r) {
      asked.push_back(r.title);
      return r.title == kMissingImageTitle ? imageAnswer : answer;
    });
    w->command(QStringLiteral("mnuFileNewPrj"))->trigger();
    QApplication::processEvents();
  }
  QString path(const QString& name) const { return folder.filePath(name); }
  // One kept distance, as the measuring tool keeps it.
  void KeepOneDistance() {
    ASSERT_TRUE(KeepSegmentDistance(w->document(), w->session(), 10, 20, 60, 20, true));
    MarkChanged(w->document());
  }
  void Trigger(const char* name) { w->command(QString::fromLatin1(name))->trigger(); }
  int Questions() const {
    int n = 0;
    for (const ShownBox& b : sink->questions) n += b.text == QStringLiteral("図面が変更されています。保存しますか？");
    return n;
  }

  QTemporaryDir folder;
  std::shared_ptr<FakeMessageSink> sink = std::make_shared<FakeMessageSink>();
  std::unique_ptr<MainWindow> w = std::make_unique<MainWindow>(sink, folder.path());
  QString answer;
  QString imageAnswer;  // where a project's missing image is; empty cancels
  std::vector<std::string> asked;
};

TEST_F(FileCommandsTest, SaveAsOpenAndSaveKeepTheDrawing) {
  KeepOneDistance();
  answer = path("site.ini");
  Trigger("mnuFileSaveAsPrj");
  ASSERT_TRUE(sink->boxes.empty()) << sink->boxes[0].text.toStdString();
  EXPECT_EQ(asked.back(), "名前を付けて図面保存");
  for (const char* f : {"site.ini", "site_Text.Bin", "site_Line.Bin", "site_Shape.Bin"}) {
    EXPECT_TRUE(QFile::exists(path(QString::fromLatin1(f)))) << f;
  }
  EXPECT_EQ(w->statusPanel(1)->text(), QStringLiteral("site.ini"));
  EXPECT_TRUE(w->command(QStringLiteral("mnuFileSavePrj"))->isEnabled());
  EXPECT_FALSE(HasUnsavedChanges(w->document()));

  // A new drawing throws the distance away without asking: it is saved.
  Trigger("mnuFileNewPrj");
  QApplication::processEvents();
  EXPECT_EQ(Questions(), 0);
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 0);
  EXPECT_EQ(w->statusPanel(1)->text(), QString());

  Trigger("mnuFileOpenPrj");
  QApplication::processEvents();
  EXPECT_EQ(asked.back(), "図面を開きます");
  ASSERT_EQ(UBound(w->document().objects.lblKyori), 1);
  EXPECT_EQ(w->statusPanel(1)->text(), QStringLiteral("site.ini"));
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("plan.bmp"));  // found beside the project
  EXPECT_TRUE(w->command(QStringLiteral("mnuFileSaveCsv"))->isEnabled());

  // Save writes under the remembered name, without a chooser.
  const std::size_t choosers = asked.size();
  KeepOneDistance();
  Trigger("mnuFileSavePrj");
  EXPECT_EQ(asked.size(), choosers);
  EXPECT_FALSE(HasUnsavedChanges(w->document()));
  EXPECT_TRUE(QFile::exists(path("site_Text.Bin.bak")));
  EXPECT_TRUE(sink->boxes.empty());

  // A comment Shift-JIS has no form for goes out as UTF-8, and the save says so.
  TextRecord comment = w->document().objects.lblMoji.front();
  comment.Visible = true;
  comment.Caption = "𠮷野家";
  w->document().objects.lblMoji.push_back(comment);
  Trigger("mnuFileSavePrj");
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_FALSE(sink->boxes[0].isError);
  EXPECT_EQ(sink->boxes[0].text, QStringLiteral("この図面は Shift-JIS で表せない文字を含むため UTF-8 で保存しました。"));
}

// Every command that would throw unsaved work away asks first; Cancel keeps
// everything, No goes on, Yes saves first.
TEST_F(FileCommandsTest, UnsavedWorkIsNeverLostSilently) {
  KeepOneDistance();
  sink->answer = MessageButton::Cancel;
  Trigger("mnuFileNewPrj");
  Trigger("mnuFileOpenPrj");
  w->show();
  EXPECT_FALSE(w->close());
  EXPECT_EQ(Questions(), 3);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);

  // Yes with a cancelled Save As chooser goes no further either.
  sink->answer = MessageButton::Yes;
  Trigger("mnuFileNewPrj");
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);

  answer = path("kept.ini");
  Trigger("mnuFileNewPrj");
  QApplication::processEvents();
  EXPECT_TRUE(QFile::exists(path("kept_Text.Bin")));
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 0);

  KeepOneDistance();
  sink->answer = MessageButton::No;
  EXPECT_TRUE(w->close());
}

TEST_F(FileCommandsTest, FailuresAreReportedAndChangeNothing) {
  KeepOneDistance();
  QFile bad(path("bad.ini"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("[\x91\x53\x94\xca]\r\nGE_booModeDis=maybe\r\n");  // [全般] in CP932
  bad.close();
  sink->answer = MessageButton::No;
  answer = path("bad.ini");
  Trigger("mnuFileOpenPrj");
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_EQ(sink->boxes[0].title, QStringLiteral("ｴﾗｰ"));
  EXPECT_TRUE(sink->boxes[0].text.startsWith(QStringLiteral("mnuFileOpenPrj_Click():ｴﾗｰ番号 13 ")));
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);
  EXPECT_TRUE(HasUnsavedChanges(w->document()));

  answer = path("missing/site.ini");
  Trigger("mnuFileSaveAsPrj");
  EXPECT_TRUE(sink->boxes.back().text.startsWith(QStringLiteral("mnuFileSaveAsPrj_Click():ｴﾗｰ番号 76 ")));
  EXPECT_FALSE(w->command(QStringLiteral("mnuFileSavePrj"))->isEnabled());

  answer = path("missing/d.csv");
  Trigger("mnuFileSaveCsvSen");
  EXPECT_TRUE(sink->boxes.back().text.startsWith(QStringLiteral("mnuFileSaveCsvSen_Click():ｴﾗｰ番号 76 ")));
  EXPECT_TRUE(w->isEnabled());
}

TEST_F(FileCommandsTest, CsvCommandsAndTheCommandLineWriteTheSameTable) {
  KeepOneDistance();
  answer = path("d.csv");
  Trigger("mnuFileSaveCsvSen");
  EXPECT_EQ(asked.back(), "ＣＳＶファイル保存");
  answer = path("site.ini");
  Trigger("mnuFileSaveAsPrj");

  const CommandLine cl = ParseCommandLine(
      {QStringLiteral("planimo"), QStringLiteral("--csv"), QStringLiteral("distances"), path("site.ini"),
       path("cli.csv")});
  ASSERT_TRUE(cl.runsWithoutWindow());
  QString out, err;
  QTextStream o(&out), e(&err);
  EXPECT_EQ(RunWithoutWindow(cl, folder.path(), o, e), 0) << err.toStdString();
  QFile a(path("d.csv")), b(path("cli.csv"));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  const QByteArray table = a.readAll();
  EXPECT_EQ(table, b.readAll());
  EXPECT_EQ(table.count("\r\n"), 2);

  const struct {
    QStringList args;
    int status;
  } cases[] = {
      {{"planimo", "--csv", "lengths", path("site.ini"), path("x.csv")}, 2},
      {{"planimo", "--csv", "areas", path("none.ini"), path("x.csv")}, 1},
      {{"planimo", "--csv", "areas", path("site.ini")}, 2},
      {{"planimo", "--bogus"}, 2},
      {{"planimo", "--help"}, 0},
  };
  for (const auto& c : cases) {
    out.clear();
    err.clear();
    EXPECT_EQ(RunWithoutWindow(ParseCommandLine(c.args), folder.path(), o, e), c.status) << c.args.join(' ').toStdString();
  }
  EXPECT_TRUE(out.contains(QStringLiteral("--csv <KIND>")));
  EXPECT_FALSE(QFile::exists(path("x.csv")));
  const CommandLine open = ParseCommandLine({QStringLiteral("planimo"), path("site.ini")});
  EXPECT_FALSE(open.runsWithoutWindow());
  EXPECT_EQ(open.fileToOpen(), path("site.ini"));
}

// An image large enough to be read in the background locks the window until
// it is in; what it was opened for happens only then: a new drawing starts
// empty, an opened project keeps the objects it brought.
TEST_F(FileCommandsTest, ImagesReadInTheBackgroundFinishWhatOpenedThem) {
  QImage large(5000, 4000, QImage::Format_Grayscale8);
  large.fill(Qt::lightGray);
  ASSERT_TRUE(large.save(path("large.jpg"), "JPEG"));
  const auto loaded = [this] {
    for (int i = 0; i < 400 && !w->isEnabled(); ++i) QTest::qWait(50);
    return w->isEnabled();
  };
  w->setImageChooser([this] { return path("large.jpg"); });
  KeepOneDistance();
  sink->answer = MessageButton::No;
  Trigger("mnuFileNewPrj");
  EXPECT_FALSE(w->isEnabled());
  ASSERT_TRUE(loaded());
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 0);
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("large.jpg"));

  KeepOneDistance();
  answer = path("site.ini");
  Trigger("mnuFileSaveAsPrj");
  Trigger("mnuFileOpenPrj");
  EXPECT_FALSE(w->isEnabled());
  ASSERT_TRUE(loaded());
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);
  EXPECT_EQ(w->statusPanel(1)->text(), QStringLiteral("site.ini"));
  EXPECT_TRUE(w->command(QStringLiteral("mnuFileSavePrj"))->isEnabled());
  EXPECT_FALSE(HasUnsavedChanges(w->document()));
  EXPECT_TRUE(sink->boxes.empty());
}

// A project whose image cannot be read never shows its objects over the
// drawing that was on screen before: the view goes empty and says why, and
// zoom, bitmap export and printing cope with a drawing without an image.
TEST_F(FileCommandsTest, AProjectWithoutItsImageDropsThePreviousOne) {
  KeepOneDistance();
  answer = path("site.ini");
  Trigger("mnuFileSaveAsPrj");
  ASSERT_TRUE(QFile::remove(path("plan.bmp")));
  QImage other(200, 100, QImage::Format_RGB32);
  other.fill(Qt::red);
  other.save(path("other.bmp"));
  w->setImageChooser([this] { return path("other.bmp"); });
  Trigger("mnuFileNewPrj");
  ASSERT_TRUE(w->mapView()->hasImage());

  Trigger("mnuFileOpenPrj");
  QApplication::processEvents();
  // The chooser asking for the image said why; its cancel is not an error.
  EXPECT_EQ(asked.back(), kMissingImageTitle);
  EXPECT_TRUE(sink->boxes.empty());
  EXPECT_FALSE(w->mapView()->hasImage());
  EXPECT_TRUE(w->mapView()->surfaceSize().isEmpty());
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);
  EXPECT_EQ(w->statusPanel(1)->text(), QStringLiteral("site.ini"));
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("plan.bmp"));
  EXPECT_FALSE(HasUnsavedChanges(w->document()));

  Trigger("mnuDisp50");
  EXPECT_EQ(sink->boxes.back().title, QStringLiteral("拡大縮小時エラー"));
  PrintCommands* print = w->printing();
  print->printers().setInstalled({});
  print->setSaveChooser([this](const QString&, const QString&, const QString&, const QString& suffix) {
    return path("out." + suffix);
  });
  Trigger("mnuFileSaveAsImg");
  EXPECT_TRUE(sink->boxes.back().text.startsWith(QStringLiteral("mnuFileSaveAsImg_Click():")));
  EXPECT_FALSE(QFile::exists(path("out.bmp")));
  for (const char* method : {"optHouhou(1)", "optHouhou(2)"}) {
    print->setDialogRunner([method](PrintDialog& d) {
      d.findChild<QAbstractButton*>(QString::fromLatin1(method))->click();
      d.findChild<QAbstractButton*>(QStringLiteral("cmdPrint"))->click();
    });
    Trigger("mnuFilePrint");
  }
  EXPECT_TRUE(QFile::exists(path("out.pdf")));
  EXPECT_EQ(sink->boxes.back().text, QStringLiteral("印刷する画像がありません。"));
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);
}

// The drawing opened from the command line by a relative name, measured and
// saved into another folder, opens with its image again; once the image has
// moved, the chooser asks for it and the answer shows.
TEST_F(FileCommandsTest, AProjectSavedAwayFromItsImageOpensWithIt) {
  ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("samples")) && QDir(folder.path()).mkpath(QStringLiteral("work")));
  QImage site(200, 150, QImage::Format_RGB32);
  site.fill(Qt::green);
  ASSERT_TRUE(site.save(path("samples/site_plan.jpg"), "JPEG"));
  w->openFile(QDir::current().relativeFilePath(path("samples/site_plan.jpg")));
  QApplication::processEvents();
  KeepOneDistance();
  answer = path("work/site.ini");
  Trigger("mnuFileSaveAsPrj");
  Trigger("mnuFileNewPrj");  // another drawing before the project is opened again
  QApplication::processEvents();

  w->openProject(path("work/site.ini"));
  QApplication::processEvents();
  EXPECT_TRUE(w->mapView()->hasImage());
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("site_plan.jpg"));
  EXPECT_EQ(w->statusPanel(6)->text(), QDir::toNativeSeparators(path("samples/")));
  EXPECT_EQ(UBound(w->document().objects.lblKyori), 1);
  EXPECT_NE(asked.back(), kMissingImageTitle);

  ASSERT_TRUE(QFile::rename(path("samples/site_plan.jpg"), path("moved.jpg")));
  imageAnswer = path("moved.jpg");
  w->openProject(path("work/site.ini"));
  QApplication::processEvents();
  EXPECT_EQ(asked.back(), kMissingImageTitle);
  EXPECT_TRUE(w->mapView()->hasImage());
  EXPECT_EQ(w->statusPanel(2)->text(), QStringLiteral("moved.jpg"));
  EXPECT_TRUE(w->isEnabled());
  EXPECT_TRUE(HasUnsavedChanges(w->document()));
  EXPECT_TRUE(sink->boxes.empty());
}

}  // namespace
}  // namespace planimo
