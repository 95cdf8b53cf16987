#include "app/folder_dialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "io/settings.h"

namespace planimo {

QString BrowseForFolder(QWidget* owner, const QString& prompt, const QString& start) {
  return QFileDialog::getExistingDirectory(owner, prompt, start, QFileDialog::ShowDirsOnly);
}

FolderDialog::FolderDialog(AppSettings& settings, std::string iniPath, QWidget* parent,
                           FolderBrowser browser)
    : QDialog(parent), settings_(settings), iniPath_(std::move(iniPath)), browse_(std::move(browser)) {
  setObjectName(QStringLiteral("dlgFolda"));
  setWindowTitle(QStringLiteral("フォルダ設定"));
  setModal(true);

  txtPict_ = new QLineEdit(QString::fromStdString(settings_.MAP_FD), this);
  txtPict_->setObjectName(QStringLiteral("txtPict"));
  txtZumen_ = new QLineEdit(QString::fromStdString(settings_.PRJ_FD), this);
  txtZumen_->setObjectName(QStringLiteral("txtZumen"));
  txtPict_->setMinimumWidth(5400 / 15);

  auto* grid = new QGridLayout;
  QLineEdit* const fields[] = {txtPict_, txtZumen_};
  const QString labels[] = {QStringLiteral("画像ファイル・フォルダ"), QStringLiteral("図面ファイル・フォルダ")};
  for (int i = 0; i < 2; ++i) {
    auto* button = new QPushButton(QStringLiteral("参照"), this);
    button->setObjectName(QStringLiteral("cmdSansyou(%1)").arg(i));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { browse(i); });
    grid->addWidget(new QLabel(labels[i], this), i, 0);
    grid->addWidget(fields[i], i, 1);
    grid->addWidget(button, i, 2);
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(ok, &QPushButton::clicked, this, &FolderDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &FolderDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addLayout(buttons);
}

void FolderDialog::browse(int index) {
  QLineEdit* field = index == 0 ? txtPict_ : txtZumen_;
  const QString prompt = index == 0 ? QStringLiteral("画像ファイル・フォルダを選択してください。")
                                    : QStringLiteral("図面ファイル・フォルダを選択してください。");
  const QString chosen = browse_(this, prompt, field->text());
  if (!chosen.isEmpty()) field->setText(chosen);
}

// The folders take effect at once, even when Init.ini cannot be written.
void FolderDialog::accept() {
  settings_.MAP_FD = txtPict_->text().toStdString();
  settings_.PRJ_FD = txtZumen_->text().toStdString();
  WriteFolders(iniPath_, settings_);
  QDialog::accept();
}

}  // namespace planimo
