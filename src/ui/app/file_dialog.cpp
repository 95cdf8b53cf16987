#include "app/file_dialog.h"

#include <QDir>
#include <QFileDialog>

#include "io/project_flow.h"

namespace planimo {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

std::unique_ptr<QFileDialog> NewFileDialog(QWidget* owner, const FileChooserRequest& r) {
  // The chooser matches what follows the description in parentheses; with
  // the details hidden it shows only the description.
  QStringList filters;
  for (const auto& [description, pattern] : r.filters) filters << Q(description) + " (" + Q(pattern) + ")";
  auto dialog = std::make_unique<QFileDialog>(owner, Q(r.title), Q(r.folder));
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setNameFilters(filters);
  dialog->setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setDefaultSuffix(Q(r.defaultSuffix));
  if (!r.fileName.empty()) dialog->selectFile(QDir(Q(r.folder)).filePath(Q(r.fileName)));
  return dialog;
}

}  // namespace planimo
