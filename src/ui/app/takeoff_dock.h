#pragma once

// "測定一覧": the dock beside the map listing every kept measurement with
// its item, the items' totals below it, and the commands that name items,
// put measurements into them and mark deductions. The list mirrors the
// core's rows; the map shows the chosen object highlighted.

#include <QDockWidget>
#include <QPointer>
#include <QString>
#include <vector>

#include "model/document.h"

class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;
class QTreeWidget;

namespace planimo {

class MainWindow;
class TakeoffModel;
class TakeoffHighlight;

class TakeoffDock : public QDockWidget {
  Q_OBJECT

 public:
  // Docks itself on the right of `window`, hidden until asked for, unless
  // the place file in `placeFolder` remembers otherwise.
  TakeoffDock(MainWindow& window, const QString& placeFolder);

  // Takes the rows and totals from the Document afresh and repaints the
  // highlight; the window calls it after every change of the drawing.
  void follow();

  // The same as a click on view row `r`: selects the object as a right-click
  // on its label does and brings it into view, highlighted.
  void chooseRow(int r);
  // What the list's row `r` (as shown, sorted or not) stands for.
  std::optional<SelectedObject> objectAt(int r) const;
  // The objects of the rows chosen in the list.
  std::vector<SelectedObject> chosenObjects() const;

  // The dock's commands (the buttons and the row's menu run them).
  void copyTable();
  void putChosenInItem(int item);  // 0: out of any item
  void toggleDeduction();
  void editItems();

  QTableView* table() const { return table_; }
  QTreeWidget* totals() const { return totals_; }
  // Where the place and size are kept; empty keeps them nowhere.
  void setPlaceFolder(const QString& folder);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showTotals();
  void enableCommands();
  void fillItemMenu();
  void notePlace();
  void savePlace();
  void restorePlace();
  void after(const QString& caption);

  MainWindow& window_;
  TakeoffModel* model_ = nullptr;
  QSortFilterProxyModel* sorted_ = nullptr;
  QTableView* table_ = nullptr;
  QTreeWidget* totals_ = nullptr;
  QPushButton* itemButton_ = nullptr;
  QPushButton* deductionButton_ = nullptr;
  QPointer<TakeoffHighlight> highlight_;
  QTimer* placeTimer_ = nullptr;
  QString placeFile_;
  bool restoring_ = false;
  bool sized_ = false;  // given its width once, or by the place file
};

}  // namespace planimo
