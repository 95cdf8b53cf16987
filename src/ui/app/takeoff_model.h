#pragma once

// The takeoff list as the table view shows it: a mirror of the core's rows,
// rebuilt whenever the drawing changed.

#include <QAbstractTableModel>
#include <vector>

#include "model/document.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

class TakeoffModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumber, kKind, kItem, kValue, kUnit, kComment, kDeduction, kColumns };
  // What the columns sort by: numbers as numbers, everything else as text.
  static constexpr int kSortRole = Qt::UserRole;

  explicit TakeoffModel(const Document& doc, QObject* parent = nullptr) : QAbstractTableModel(parent), doc_(doc) {}

  // Takes the rows from the Document afresh.
  void reload();
  const TakeoffRow* row(int r) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;

 private:
  const Document& doc_;
  std::vector<TakeoffRow> rows_;
};

// 0x00BBGGRR as a QColor.
QColor ItemColour(Colour c);
Colour FromQColor(const QColor& c);

}  // namespace planimo
