// The bitmap and the PDF written without a window, with the exit status and
// the message the command line reports.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include "../core/print/print_scenario.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "fake_message_sink.h"
#include "measure/line_measure.h"
#include "pdf_reader.h"
#include "print/headless_print.h"
#include "view/image_loader.h"

namespace planimo {
namespace {

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes are cut at `bytes` for as long as it lives, as on a disk that fills
// up: the soft file size limit, its signal ignored so the write fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit tight = saved_;
    tight.rlim_cur = bytes;
    signal_ = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tight);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, signal_);
  }

 private:
  rlimit saved_{};
  void (*signal_)(int) = nullptr;
};

TEST(HeadlessPrint, WritesTheBitmapAndThePdfAndSaysWhatFailed) {
  QTemporaryDir dir;
  QImage image(500, 400, QImage::Format_RGB32);
  image.fill(QColor(200, 60, 60));
  const QString plan = dir.filePath(QStringLiteral("plan.jpg"));
  ASSERT_TRUE(image.save(plan));
  Document doc;
  print_scenario::Fill(doc);
  QString messages;
  QTextStream err(&messages);

  const QString bmp = dir.filePath(QStringLiteral("plan.bmp"));
  EXPECT_EQ(ExportBitmapWithoutWindow(doc, plan, bmp, {}, err), 0);
  EXPECT_EQ(QImage(bmp).size(), QSize(500, 400));

  HeadlessPrintOptions tiled;
  tiled.method = 2;
  tiled.colour = false;
  tiled.comments = true;
  const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, pdf, tiled, err), 0);
  EXPECT_TRUE(doc.state.GE_booPrtCmt);
  EXPECT_EQ(pdf_reader::Pages(pdf), 1);
  const std::vector<QImage> pages = pdf_reader::Render(pdf, 20, dir.path());
  ASSERT_EQ(pages.size(), 1u);
  const QColor c = pages[0].pixelColor(pages[0].width() / 8, pages[0].height() / 8);
  EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue()) << c.name().toStdString();
  EXPECT_TRUE(messages.isEmpty()) << messages.toStdString();

  EXPECT_EQ(PrintPdfWithoutWindow(doc, dir.filePath(QStringLiteral("gone.jpg")), pdf, {}, err), 1);
  EXPECT_TRUE(messages.startsWith(QStringLiteral("subMapDraw()\n"))) << messages.toStdString();
  messages.clear();
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, dir.filePath(QStringLiteral("no/such/plan.pdf")), {}, err), 1);
  EXPECT_TRUE(messages.startsWith(QStringLiteral("cmdPrint_Click():ｴﾗｰ番号 76 "))) << messages.toStdString();
  HeadlessPrintOptions badMethod;
  badMethod.method = 3;
  EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, pdf, badMethod, err), 2);

  // The window's image rules, before anything is allocated: a header that
  // claims 60000 × 60000 pixels, a pipe, an icon under a JPEG name are
  // refused; a bitmap stored top row first opens, and so does a PNG under a
  // JPEG name: the content says what a file is, never its name.
  const auto write = [&](const char* name, const QByteArray& bytes) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
  };
  QByteArray huge = FileBytes(plan);
  const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
  huge[sof + 5] = huge[sof + 7] = char(60000 >> 8);
  huge[sof + 6] = huge[sof + 8] = char(60000 & 0xFF);
  ASSERT_TRUE(write("huge.jpg", huge));
  ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("png.jpg")), "png"));
  ASSERT_TRUE(image.scaled(64, 64).save(dir.filePath(QStringLiteral("ico.jpg")), "ico"));
  ASSERT_EQ(::mkfifo(dir.filePath(QStringLiteral("pipe.jpg")).toLocal8Bit().constData(), 0600), 0);
  // One colour throughout, so its rows read top first are the same picture.
  ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("topdown.bmp"))));
  QByteArray topDown = FileBytes(dir.filePath(QStringLiteral("topdown.bmp")));
  for (int i = 0; i < 4; ++i) topDown[22 + i] = char(quint32(-400) >> (8 * i));
  ASSERT_TRUE(write("topdown.bmp", topDown));
  const struct {
    const char* image;
    int status;
  } images[] = {{"huge.jpg", 1}, {"pipe.jpg", 1}, {"ico.jpg", 1}, {"png.jpg", 0}, {"topdown.bmp", 0}};
  for (const auto& c : images) {
    messages.clear();
    const QString in = dir.filePath(QString::fromLatin1(c.image));
    EXPECT_EQ(ExportBitmapWithoutWindow(doc, in, bmp, {}, err), c.status) << c.image << messages.toStdString();
    EXPECT_EQ(PrintPdfWithoutWindow(doc, in, pdf, {}, err), c.status) << c.image << messages.toStdString();
    // Refused by the window's own gate, in its words, before any decoding.
    const ImageProbe gate = ProbeImage(in, false);
    EXPECT_EQ(gate.result.ok, c.status == 0) << c.image;
    if (c.status != 0) {
      EXPECT_EQ(messages.count(gate.result.description), 2) << c.image << messages.toStdString();
    }
    EXPECT_EQ(messages.isEmpty(), c.status == 0) << c.image;
  }

  // A full disk: the cause, a non-zero status, and the older files whole
  // with nothing left beside them.
  const QByteArray olderBmp = FileBytes(bmp), olderPdf = FileBytes(pdf);
  const int files = int(QDir(dir.path()).entryList(QDir::Files | QDir::System).size());
  messages.clear();
  {
    const FileSizeLimit full(4096);
    EXPECT_EQ(ExportBitmapWithoutWindow(doc, plan, bmp, {}, err), 1);
    EXPECT_EQ(PrintPdfWithoutWindow(doc, plan, pdf, {}, err), 1);
  }
  EXPECT_EQ(messages.count(QStringLiteral("File too large")), 2) << messages.toStdString();
  EXPECT_EQ(messages.count(pdf), 1) << messages.toStdString();
  EXPECT_EQ(FileBytes(bmp), olderBmp);
  EXPECT_EQ(FileBytes(pdf), olderPdf);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), files);
}

// planimo --bmp / --pdf on a project saved by the window.
TEST(HeadlessPrint, CommandLinePrintsASavedProject) {
  QTemporaryDir folder;
  const auto path = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(QColor(60, 180, 60));
  ASSERT_TRUE(image.save(path("plan.bmp")));
  {
    auto sink = std::make_shared<FakeMessageSink>();
    MainWindow w(sink, folder.path());
    w.setImageChooser([&] { return path("plan.bmp"); });
    w.setFileChooser([&](const FileChooserRequest&) { return path("site.ini"); });
    w.command(QStringLiteral("mnuFileNewPrj"))->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(KeepSegmentDistance(w.document(), w.session(), 10, 20, 60, 20, true));
    w.command(QStringLiteral("mnuFileSaveAsPrj"))->trigger();
    ASSERT_TRUE(sink->boxes.empty());
  }
  const struct {
    QStringList args;
    int status;
  } cases[] = {
      {{"planimo", "--bmp", path("site.ini"), path("cli.bmp")}, 0},
      {{"planimo", "--pdf", "1", "--mono", "--comments", path("site.ini"), path("cli.pdf")}, 0},
      {{"planimo", "--pdf", "3", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--pdf", "0", path("site.ini")}, 2},
      {{"planimo", "--pdf", "0", "--bmp", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--pdf", "0", "--color", "--mono", path("site.ini"), path("x.pdf")}, 2},
      {{"planimo", "--bmp", path("none.ini"), path("x.bmp")}, 1},
      // Outputs that are not regular files are refused and stay what they were.
      {{"planimo", "--bmp", path("site.ini"), path("pipe")}, 1},
      {{"planimo", "--pdf", "0", path("site.ini"), path("pipe")}, 1},
      {{"planimo", "--pdf", "2", path("site.ini"), folder.path()}, 1},
      {{"planimo", "--bmp", path("site.ini"), path("full")}, 1},
      {{"planimo", "--pdf", "1", path("site.ini"), path("full")}, 1},
  };
  ASSERT_EQ(::mkfifo(path("pipe").toLocal8Bit().constData(), 0600), 0);
  const bool root = ::geteuid() == 0;  // a private node with /dev/full's numbers
  ASSERT_TRUE(!root || ::mknod(path("full").toLocal8Bit().constData(), S_IFCHR | 0600, makedev(1, 7)) == 0);
  QString out, err;
  QTextStream o(&out), e(&err);
  for (const auto& c : cases) {
    if (!root && c.args.last() == path("full")) continue;
    const CommandLine cl = ParseCommandLine(c.args);
    EXPECT_TRUE(cl.runsWithoutWindow()) << c.args.join(' ').toStdString();
    EXPECT_EQ(RunWithoutWindow(cl, folder.path(), o, e), c.status) << c.args.join(' ').toStdString() << err.toStdString();
  }
  EXPECT_EQ(QImage(path("cli.bmp")).size(), QSize(400, 300));
  EXPECT_EQ(pdf_reader::Pages(path("cli.pdf")), 1);
  EXPECT_FALSE(QFile::exists(path("x.pdf")) || QFile::exists(path("x.bmp")));
  EXPECT_TRUE(err.contains(QStringLiteral("mnuFileOpenPrj_Click():ｴﾗｰ番号 ")));
  struct stat st {};
  EXPECT_TRUE(::stat(path("pipe").toLocal8Bit().constData(), &st) == 0 && S_ISFIFO(st.st_mode));
  EXPECT_TRUE(!root || (::stat(path("full").toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode)));
  EXPECT_TRUE(err.contains(QStringLiteral("cmdPrint_Click():ｴﾗｰ番号 75 ")));
  EXPECT_TRUE(err.contains(QStringLiteral("mnuFileSaveAsImg_Click():ｴﾗｰ番号 75 ")));
  EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.tmp-*")}).isEmpty());
}

}  // namespace
}  // namespace planimo
