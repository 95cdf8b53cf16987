#include "app/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>
#include <vector>

#include "io/project_flow.h"

namespace planimo {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

struct Filter {
  QString description;
  QString shown;   // as the chooser lists it, pattern included
  QString suffix;  // of a filter matching a single extension; else empty
};

// The chooser the core asks for. A name typed without a suffix gets the
// chosen filter's (GeoJSON or GeoPackage, say); the request's default
// stands for filters of several extensions. The file the command leaves
// untouched is taken without the question about replacing it.
class RequestedDialog : public QFileDialog {
 public:
  RequestedDialog(QWidget* owner, const FileChooserRequest& r, QString untouched)
      : QFileDialog(owner, Q(r.title), Q(r.folder)),
        fallbackSuffix_(Q(r.defaultSuffix)),
        untouched_(std::move(untouched)) {
    QStringList shown;
    for (const auto& [description, pattern] : r.filters) {
      // The chooser matches what follows the description in parentheses;
      // with the details hidden it shows only the description.
      Filter f{Q(description), Q(description) + " (" + Q(pattern) + ")", {}};
      const QString p = Q(pattern);
      if (p.startsWith(QStringLiteral("*.")) && p.count(u'*') == 1 && !p.contains(u' ') &&
          !p.contains(u';')) {
        f.suffix = p.mid(2);
      }
      shown << f.shown;
      filters_.push_back(std::move(f));
    }
    setOption(QFileDialog::HideNameFilterDetails);
    setNameFilters(shown);
    setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The platform's own chooser asks about replacing before it returns,
    // whatever the file: only this one can leave the untouched file out.
    if (!untouched_.isEmpty()) setOption(QFileDialog::DontUseNativeDialog);
    useSuffixOf(selectedNameFilter());
    connect(this, &QFileDialog::filterSelected, this, [this](const QString& f) { useSuffixOf(f); });
    if (!r.fileName.empty()) selectFile(QDir(Q(r.folder)).filePath(Q(r.fileName)));
  }

  void accept() override {
    useSuffixOf(selectedNameFilter());
    const QStringList files = selectedFiles();
    setOption(QFileDialog::DontConfirmOverwrite, files.size() == 1 && IsUntouched(files.first()));
    QFileDialog::accept();
  }

 private:
  // The chooser names the filter with or without its pattern, depending on
  // whether the details are hidden.
  void useSuffixOf(const QString& filter) {
    QString suffix = fallbackSuffix_;
    for (const Filter& f : filters_) {
      if ((f.shown == filter || f.description == filter) && !f.suffix.isEmpty()) suffix = f.suffix;
    }
    setDefaultSuffix(suffix);
  }
  bool IsUntouched(const QString& file) const {
    if (untouched_.isEmpty()) return false;
    const QString a = QFileInfo(file).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(untouched_).canonicalFilePath();
  }

  std::vector<Filter> filters_;
  QString fallbackSuffix_;
  QString untouched_;
};

}  // namespace

std::unique_ptr<QFileDialog> NewFileDialog(QWidget* owner, const FileChooserRequest& r,
                                          const QString& untouched) {
  return std::make_unique<RequestedDialog>(owner, r, untouched);
}

}  // namespace planimo
