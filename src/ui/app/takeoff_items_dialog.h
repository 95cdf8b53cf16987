#pragma once

// "品目": names the takeoff items with their colours. Every change is one
// core command; `changed` names it for the undo step.

#include <QDialog>
#include <functional>

#include "model/document.h"

class QListWidget;

namespace planimo {

class TakeoffItemsDialog : public QDialog {
  Q_OBJECT

 public:
  TakeoffItemsDialog(Document& doc, std::function<void(const QString&)> changed, QWidget* parent = nullptr);

 private:
  void fill();
  void add();
  void change();
  void remove();
  int current() const;  // the chosen item's number, 0 when none

  Document& doc_;
  std::function<void(const QString&)> changed_;
  QListWidget* list_ = nullptr;
};

}  // namespace planimo
