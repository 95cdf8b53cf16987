#include "app/program_places.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "app/main_window.h"
#include "fake_message_sink.h"
#include "io/ini_file.h"
#include "io/settings.h"

namespace planimo {
namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An installation under a temporary prefix: the program in bin, its shared
// files read-only in share/planimo, and a user whose settings folder is empty.
struct InstalledLayout : ::testing::Test {
  QTemporaryDir root;
  QString bin = root.filePath(QStringLiteral("usr/bin"));
  QString shared = root.filePath(QStringLiteral("usr/share/planimo"));
  QString user = root.filePath(QStringLiteral("config/planimo"));
  QString sharedIni = shared + QStringLiteral("/Init.ini");
  QString userIni = user + QStringLiteral("/Init.ini");
  std::shared_ptr<FakeMessageSink> sink = std::make_shared<FakeMessageSink>();

  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_TRUE(PutIni("フォルダPath", "MAP_FD", "/shipped/maps", sharedIni.toStdString()));
    ASSERT_TRUE(PutIni("距離単位", "UnitDistance(0)", "ｍｍ", sharedIni.toStdString()));
    QFile::setPermissions(sharedIni, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  }
  InstallFolders folders() const { return {bin.toStdString(), shared.toStdString(), user.toStdString()}; }

  // Answers the folder dialog the window opens with a new drawing folder.
  void chooseDrawingFolder(MainWindow& w, const QString& folder) {
    QTimer::singleShot(0, [folder] {
      QWidget* d = QApplication::activeModalWidget();
      ASSERT_NE(d, nullptr);
      d->findChild<QLineEdit*>(QStringLiteral("txtZumen"))->setText(folder);
      d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
    w.command(QStringLiteral("mnuToolFolda"))->trigger();
  }
};

TEST_F(InstalledLayout, FirstStartCopiesTheSettingsAndFolderChoicesStayWithTheUser) {
  const QByteArray shipped = Bytes(sharedIni);
  {
    MainWindow w(sink, LocateProgramPlaces(folders()));
    EXPECT_EQ(w.settingsPath(), userIni);
    EXPECT_EQ(Bytes(userIni), shipped);
    EXPECT_TRUE(QFile::permissions(userIni) & QFileDevice::WriteOwner);
    EXPECT_EQ(w.document().settings.MAP_FD, "/shipped/maps");
    EXPECT_EQ(w.document().settings.units.UnitDistance[0], "ｍｍ ");

    QString opened;
    w.setUrlOpener([&opened](const QUrl& url) {
      opened = url.toLocalFile();
      return true;
    });
    w.findChild<QAction*>(QStringLiteral("keyHelp"))->trigger();
    EXPECT_EQ(opened, shared + QStringLiteral("/help/index.html"));

    chooseDrawingFolder(w, QStringLiteral("/my/drawings"));
    EXPECT_EQ(w.document().settings.PRJ_FD, "/my/drawings");
  }
  EXPECT_EQ(Bytes(sharedIni), shipped);  // the installation is never written
  EXPECT_EQ(GetIni("フォルダPath", "PRJ_FD", userIni.toStdString()), "/my/drawings");

  // The next start keeps the user's copy and its folders.
  MainWindow again(sink, LocateProgramPlaces(folders()));
  EXPECT_EQ(again.document().settings.PRJ_FD, "/my/drawings");
  EXPECT_EQ(again.document().settings.MAP_FD, "/shipped/maps");
}

TEST_F(InstalledLayout, AWritableCopyBesideTheProgramIsUsedInPlace) {
  const QString portable = bin + QStringLiteral("/Init.ini");
  ASSERT_TRUE(PutIni("フォルダPath", "MAP_FD", "/portable/maps", portable.toStdString()));
  const ProgramPlaces places = LocateProgramPlaces(folders());
  EXPECT_EQ(places.shippedFolder, bin);
  EXPECT_EQ(places.settingsFile, portable);
  EXPECT_EQ(places.settingsWriteFile, portable);

  MainWindow w(sink, places);
  chooseDrawingFolder(w, QStringLiteral("/portable/drawings"));
  EXPECT_EQ(GetIni("フォルダPath", "PRJ_FD", portable.toStdString()), "/portable/drawings");
  EXPECT_FALSE(QFileInfo::exists(user));
}

}  // namespace
}  // namespace planimo
