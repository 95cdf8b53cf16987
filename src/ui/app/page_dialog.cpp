#include "app/page_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfDocument>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>

#include "view/image_loader.h"

namespace planimo {

namespace {

constexpr int kThumbnailSide = 96;

}  // namespace

std::optional<int> PageDialog::ChoosePage(const std::vector<DrawingPage>& pages) {
  // The chooser comes only after the probe's checks have passed for page 1,
  // so the document loads; a page it cannot draw simply has no picture.
  QPdfDocument pdf;
  const bool thumbnails = PagedFormat(path_) == "pdf" && pdf.load(path_) == QPdfDocument::Error::None;
  QDialog dialog(parent_);
  dialog.setWindowTitle(QStringLiteral("ページの選択"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("開くページを選んでください。"), &dialog));
  auto* list = new QListWidget(&dialog);
  for (const DrawingPage& p : pages) {
    auto* item = new QListWidgetItem(QString::fromStdString(PageLine(p)), list);
    item->setData(Qt::UserRole, p.number);
    if (thumbnails && p.widthPx > 0 && p.heightPx > 0) {
      const QSize size = QSize(p.widthPx, p.heightPx).scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio);
      QImage page(size, QImage::Format_RGB32);
      page.fill(Qt::white);
      QPainter(&page).drawImage(0, 0, pdf.render(p.number - 1, size));
      item->setIcon(QPixmap::fromImage(page));
    }
  }
  list->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
  // Wide enough for the longest line with its picture: a page's size is
  // what tells the pages apart, and it comes last on its line.
  list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                        list->verticalScrollBar()->sizeHint().width());
  list->setCurrentRow(0);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr) return std::nullopt;
  return list->currentItem()->data(Qt::UserRole).toInt();
}

}  // namespace planimo
