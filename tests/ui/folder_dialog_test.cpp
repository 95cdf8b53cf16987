#include "app/folder_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "io/settings.h"

namespace planimo {
namespace {

struct FolderDialogTest : ::testing::Test {
  QTemporaryDir dir;
  std::string ini = dir.filePath(QStringLiteral("Init.ini")).toStdString();
  AppSettings settings;
  QStringList prompts;
  QString nextChoice;
  std::unique_ptr<FolderDialog> dlg;

  void SetUp() override {
    settings.MAP_FD = "/maps";
    settings.PRJ_FD = "/drawings";
    dlg = std::make_unique<FolderDialog>(settings, ini, nullptr,
                                         [this](QWidget*, const QString& prompt, const QString&) {
                                           prompts << prompt;
                                           return nextChoice;
                                         });
  }
  QLineEdit* field(const char* name) { return dlg->findChild<QLineEdit*>(QString::fromLatin1(name)); }
  QPushButton* button(const char* name) { return dlg->findChild<QPushButton*>(QString::fromLatin1(name)); }
};

TEST_F(FolderDialogTest, ShowsTheCurrentFolders) {
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("フォルダ設定"));
  EXPECT_EQ(field("txtPict")->text(), QStringLiteral("/maps"));
  EXPECT_EQ(field("txtZumen")->text(), QStringLiteral("/drawings"));
}

TEST_F(FolderDialogTest, BrowseReplacesOnlyItsOwnFieldAndCancelKeepsIt) {
  nextChoice = QStringLiteral("/new/images");
  button("cmdSansyou(0)")->click();
  nextChoice.clear();
  button("cmdSansyou(1)")->click();
  EXPECT_EQ(field("txtPict")->text(), QStringLiteral("/new/images"));
  EXPECT_EQ(field("txtZumen")->text(), QStringLiteral("/drawings"));
  EXPECT_EQ(prompts, (QStringList{"画像ファイル・フォルダを選択してください。", "図面ファイル・フォルダを選択してください。"}));
}

TEST_F(FolderDialogTest, OkStoresFoldersThatTheNextStartReads) {
  field("txtPict")->setText(QStringLiteral("/a/画像"));
  field("txtZumen")->setText(QStringLiteral("/b/図面\\"));
  button("OKButton")->click();
  EXPECT_EQ(settings.MAP_FD, "/a/画像");
  EXPECT_EQ(settings.PRJ_FD, "/b/図面\\");  // used unchanged
  AppSettings reread;
  ReadSettings(ini, reread);
  EXPECT_EQ(reread.MAP_FD, "/a/画像");
  EXPECT_EQ(reread.PRJ_FD, "/b/図面\\");
}

TEST_F(FolderDialogTest, CancelChangesNothing) {
  field("txtPict")->setText(QStringLiteral("/x"));
  button("CancelButton")->click();
  EXPECT_EQ(settings.MAP_FD, "/maps");
  AppSettings reread;
  ReadSettings(ini, reread);
  EXPECT_EQ(reread.MAP_FD, "");
}

}  // namespace
}  // namespace planimo
