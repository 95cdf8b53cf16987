#pragma once

// The small modal chooser that asks which page of a drawing file of several
// pages to open: one line per page with its number and size, and for a PDF a
// small picture of the page (cheap to render; a TIFF page would have to be
// decoded whole, so its line has none).

#include <QPointer>
#include <QString>
#include <QWidget>

#include "io/drawing_pages.h"

namespace planimo {

class PageDialog final : public PageChooser {
 public:
  PageDialog(QWidget* parent, QString path) : parent_(parent), path_(std::move(path)) {}
  std::optional<int> ChoosePage(const std::vector<DrawingPage>& pages) override;

 private:
  QPointer<QWidget> parent_;
  QString path_;
};

}  // namespace planimo
