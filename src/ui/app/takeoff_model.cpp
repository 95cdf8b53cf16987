#include "app/takeoff_model.h"

#include <QColor>

namespace planimo {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

const char* const kHeaders[] = {"№", "種類", "品目", "値", "単位", "コメント", "控除"};

}  // namespace

QColor ItemColour(Colour c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF)); }

Colour FromQColor(const QColor& c) {
  return Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
}

void TakeoffModel::reload() {
  beginResetModel();
  rows_ = TakeoffRows(doc_);
  endResetModel();
}

const TakeoffRow* TakeoffModel::row(int r) const {
  return r >= 0 && r < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(r)] : nullptr;
}

int TakeoffModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TakeoffModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant TakeoffModel::data(const QModelIndex& index, int role) const {
  const TakeoffRow* r = row(index.row());
  if (r == nullptr) return {};
  const auto column = static_cast<Column>(index.column());
  // The rows may be a moment older than the items (a box shown while a
  // project opens repaints before the list follows).
  const std::vector<TakeoffItem>& items = doc_.state.takeoffItems;
  if (role == Qt::DecorationRole && column == kItem && r->item > 0 && r->item <= static_cast<int>(items.size())) {
    return ItemColour(items[static_cast<std::size_t>(r->item - 1)].colour);
  }
  if (role == Qt::TextAlignmentRole && (column == kNumber || column == kValue)) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == kSortRole) {
    if (column == kNumber) return r->number;
    if (column == kItem) return r->item == 0 ? 1 << 16 : r->item;  // items in their order, none last
    if (column == kValue) {
      bool ok = false;
      const double v = Q(r->value).remove(QLatin1Char(',')).toDouble(&ok);
      if (ok) return v;
    }
  }
  if (role != Qt::DisplayRole && role != kSortRole && role != Qt::ToolTipRole) return {};
  switch (column) {
    case kNumber: return r->number;
    case kKind: return Q(RowKindCaption(r->kind));
    case kItem: return Q(ItemName(doc_.state, r->item));
    case kValue: return Q(r->value);
    case kUnit: return Q(r->unit);
    case kComment: return Q(r->comment);
    case kDeduction: return r->deduction ? QStringLiteral("控除") : QString();
    case kColumns: break;
  }
  return {};
}

QVariant TakeoffModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
  return QString::fromUtf8(kHeaders[section]);
}

}  // namespace planimo
