// The file choosers as the user sees them: each filter's caption once, the
// pattern it matches still behind it.
#include "app/file_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QTemporaryDir>

#include "io/project_flow.h"

namespace planimo {
namespace {

TEST(FileDialogTest, EveryChooserShowsEachFilterCaptionOnce) {
  const QTemporaryDir maps;
  Document doc;
  doc.settings.MAP_FD = maps.path().toStdString();
  doc.state.fMei_MapImage = "site_plan.jpg";
  const QStringList images = {QStringLiteral("JPEG(*.jpg)"), QStringLiteral("GIF(*.gif)"), QStringLiteral("BMP(*.bmp)"),
                              QStringLiteral("PNG(*.png)"),  QStringLiteral("TIFF(*.tif)"),
                              QStringLiteral("PDF(*.pdf)"),
                              QStringLiteral("図面(*.jpg *.gif *.bmp *.png *.tif *.pdf)")};
  const struct {
    FileChooserRequest request;
    QStringList shown;
  } cases[] = {
      {NewDrawingChooser(doc), images},
      {MissingImageChooser(doc), images},
      {OpenProjectChooser(doc), {QStringLiteral("Init(*.ini)")}},
      {SaveProjectChooser(doc), {QStringLiteral("(*.ini)")}},
      {CsvChooser(doc), {QStringLiteral("(*.csv)")}},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<QFileDialog> d = NewFileDialog(nullptr, c.request);
    d->setOption(QFileDialog::DontUseNativeDialog);
    const QComboBox* combo = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(combo, nullptr);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
    EXPECT_EQ(shown.join(u'|').toStdString(), c.shown.join(u'|').toStdString()) << c.request.title;
    EXPECT_EQ(d->windowTitle().toStdString(), c.request.title);
  }
  // The JPEG filter matches both spellings of the extension; the missing
  // image's name is offered where it was looked for.
  const std::unique_ptr<QFileDialog> d = NewFileDialog(nullptr, MissingImageChooser(doc));
  EXPECT_TRUE(d->nameFilters().first().endsWith(QStringLiteral("(*.jpg *.jpeg)")));
  EXPECT_EQ(d->selectedFiles(), QStringList{maps.filePath(QStringLiteral("site_plan.jpg"))});
}

}  // namespace
}  // namespace planimo
