#include "app/takeoff_items_dialog.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/takeoff_model.h"
#include "takeoff/takeoff_edit.h"

namespace planimo {

TakeoffItemsDialog::TakeoffItemsDialog(Document& doc, std::function<void(const QString&)> changed, QWidget* parent)
    : QDialog(parent), doc_(doc), changed_(std::move(changed)) {
  setObjectName(QStringLiteral("dlgTakeoffItems"));
  setWindowTitle(QStringLiteral("品目"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("lstItems"));
  auto* buttons = new QVBoxLayout;
  const std::pair<const char*, const char*> entries[] = {
      {"cmdAdd", "追加..."}, {"cmdChange", "変更..."}, {"cmdRemove", "削除"}, {"cmdClose", "閉じる"}};
  for (const auto& [name, caption] : entries) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    buttons->addWidget(b);
    const QString n = QString::fromLatin1(name);
    connect(b, &QPushButton::clicked, this, [this, n] {
      if (n == u"cmdAdd") add();
      if (n == u"cmdChange") change();
      if (n == u"cmdRemove") remove();
      if (n == u"cmdClose") accept();
    });
  }
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { change(); });
  fill();
  resize(360, 260);
}

void TakeoffItemsDialog::fill() {
  const int keep = list_->currentRow();
  list_->clear();
  for (const TakeoffItem& it : doc_.state.takeoffItems) {
    QPixmap swatch(14, 14);
    swatch.fill(ItemColour(it.colour));
    list_->addItem(new QListWidgetItem(QIcon(swatch), QString::fromStdString(it.name)));
  }
  list_->setCurrentRow(std::min(keep, list_->count() - 1));
}

int TakeoffItemsDialog::current() const { return list_->currentRow() + 1; }

void TakeoffItemsDialog::add() {
  bool ok = false;
  const QString name = QInputDialog::getText(this, windowTitle(), QStringLiteral("品目名"), QLineEdit::Normal, {}, &ok);
  if (!ok) return;
  const QColor colour = QColorDialog::getColor(Qt::darkCyan, this, QStringLiteral("品目の色"));
  if (!colour.isValid()) return;
  if (AddItem(doc_, name.toStdString(), FromQColor(colour)) == 0) return;
  fill();
  list_->setCurrentRow(list_->count() - 1);
  changed_(QStringLiteral("品目の追加"));
}

void TakeoffItemsDialog::change() {
  const int n = current();
  if (n < 1 || n > static_cast<int>(doc_.state.takeoffItems.size())) return;
  const TakeoffItem it = doc_.state.takeoffItems[static_cast<std::size_t>(n - 1)];
  bool ok = false;
  const QString name = QInputDialog::getText(this, windowTitle(), QStringLiteral("品目名"), QLineEdit::Normal,
                                             QString::fromStdString(it.name), &ok);
  if (!ok) return;
  const QColor colour = QColorDialog::getColor(ItemColour(it.colour), this, QStringLiteral("品目の色"));
  if (!colour.isValid()) return;
  if (!ChangeItem(doc_, n, name.toStdString(), FromQColor(colour))) return;
  fill();
  changed_(QStringLiteral("品目の変更"));
}

void TakeoffItemsDialog::remove() {
  if (!RemoveItem(doc_, current())) return;
  fill();
  changed_(QStringLiteral("品目の削除"));
}

}  // namespace planimo
