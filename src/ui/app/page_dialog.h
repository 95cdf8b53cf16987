#pragma once

// The small modal chooser that asks which page of a drawing file of several
// pages to open: one line per page with its number and size.

#include <QPointer>
#include <QWidget>

#include "io/drawing_pages.h"

namespace planimo {

class PageDialog final : public PageChooser {
 public:
  explicit PageDialog(QWidget* parent) : parent_(parent) {}
  std::optional<int> ChoosePage(const std::vector<DrawingPage>& pages) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace planimo
