#include "app/page_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace planimo {

std::optional<int> PageDialog::ChoosePage(const std::vector<DrawingPage>& pages) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(QStringLiteral("ページの選択"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("開くページを選んでください。"), &dialog));
  auto* list = new QListWidget(&dialog);
  for (const DrawingPage& p : pages) {
    auto* item = new QListWidgetItem(QString::fromStdString(PageLine(p)), list);
    item->setData(Qt::UserRole, p.number);
  }
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
