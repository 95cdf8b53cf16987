// The file choosers as the user sees them: each filter's caption once, the
// pattern it matches still behind it.
#include "app/file_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "export/drawing_export.h"
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

// Saving as the user does: a name typed in the field, a filter picked, and
// the button; a question about replacing a file is answered "No".
struct Saved {
  QString file;  // empty: the chooser stayed open
  int questions = 0;
};
Saved Save(const FileChooserRequest& request, const QString& typed, int filter = 0,
           const QString& untouched = QString()) {
  const std::unique_ptr<QFileDialog> d = NewFileDialog(nullptr, request, untouched);
  d->setOption(QFileDialog::DontUseNativeDialog);
  d->selectNameFilter(d->nameFilters().at(filter));
  emit d->filterSelected(d->nameFilters().at(filter));
  if (!typed.isEmpty()) d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
  Saved out;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      ++out.questions;
      box->done(QMessageBox::No);
    }
  });
  answer.start(5);
  QMetaObject::invokeMethod(d.get(), "accept");  // the Save button
  if (d->result() == QDialog::Accepted) out.file = d->selectedFiles().value(0);
  return out;
}

TEST(FileDialogTest, TheFilterGivesTheSuffixAndOnlyAnotherFileIsAskedAbout) {
  const QTemporaryDir dir;
  const QString image = dir.filePath(QStringLiteral("white.bmp"));
  const QString other = dir.filePath(QStringLiteral("other.bmp"));
  for (const QString& f : {image, other}) {
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  Document doc;
  doc.settings.PRJ_FD = dir.path().toStdString();
  const FileChooserRequest gis = ExportChooser(doc, ExportFormat::GeoPackage, QString());
  EXPECT_EQ(Save(gis, QStringLiteral("site"), 1).file, dir.filePath(QStringLiteral("site.geojson")));
  EXPECT_EQ(Save(gis, QStringLiteral("site"), 0).file, dir.filePath(QStringLiteral("site.gpkg")));
  EXPECT_EQ(Save(gis, QStringLiteral("site.json"), 0).file, dir.filePath(QStringLiteral("site.json")));

  const FileChooserRequest world = ExportChooser(doc, ExportFormat::WorldFile, image);
  const Saved itself = Save(world, QString(), 0, image);
  EXPECT_EQ(itself.file, image);
  EXPECT_EQ(itself.questions, 0);
  const Saved copy = Save(world, QStringLiteral("other"), 0, image);
  EXPECT_EQ(copy.questions, 1);
  EXPECT_TRUE(copy.file.isEmpty());
  // Without the image named, the chooser asks about it as about any file.
  EXPECT_EQ(Save(world, QString()).questions, 1);
}

}  // namespace
}  // namespace planimo
