#pragma once

// The takeoff list: one row for every kept distance, route, area, position
// and comment text, grouped by the item each belongs to (the items in their
// order, then what belongs to none), within a group distances, routes,
// areas, positions and texts, each in the order of its collection.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"

namespace planimo {

enum class RowKind { Distance, Route, Area, Position, Comment };

struct TakeoffRow {
  RowKind kind = RowKind::Distance;
  std::int16_t index = 0;  // the label's index in its collection
  int number = 0;          // the object's number among its kind, from 1 (as the CSV tables count)
  std::int16_t item = 0;   // 0: outside any item
  bool deduction = false;
  std::string value;       // as the label shows it; a position's or text's caption
  std::string unit;        // the label's unit; empty for positions and texts
  std::string comment;     // the label's hover text
};

// "距離", "経路", "面積", "位置", "文字列".
std::string_view RowKindCaption(RowKind kind);

// The kind name of the selection (`SelectedObject::strKind`) and the
// collection of labels of a row's kind.
const char* RowKindName(RowKind kind);
std::vector<TextRecord>& RowLabels(Collections& objects, RowKind kind);
const std::vector<TextRecord>& RowLabels(const Collections& objects, RowKind kind);

// The kept labels of each kind, as (kind, index) in collection order.
// A call per label of the drawing: the rows and the totals share it.
template <class F>
void ForEachKeptLabel(const Collections& o, F&& f);

std::vector<TakeoffRow> TakeoffRows(const Document& doc);

// The item's name, or "" for 0 and numbers the project has no item for.
std::string ItemName(const ProjectState& s, int item);

// The selection a right-click on the row's label would make.
SelectedObject RowSelection(const TakeoffRow& row);

// The label a selection names when it is a kept object of the list; null
// otherwise (a leader line, the default sample, a spare or template).
const TextRecord* ListedLabel(const Document& doc, const SelectedObject& sel);
TextRecord* ListedLabel(Document& doc, const SelectedObject& sel);

// The box around an object in view millimetres: its label with a
// distance's dimension line or a route's or area's outline; nothing when the
// selection names no object of the list.
struct ObjectBox {
  float left = 0, top = 0, right = 0, bottom = 0;
};
std::optional<ObjectBox> ObjectBounds(const Document& doc, const SelectedObject& sel);

// The indices [first, end) of a kind's collection that hold kept objects
// (invisible ones among them are skipped): distances run in step with
// their dimension lines, every other value collection ends with its spare,
// texts and positions start after their template.
struct KeptRange {
  std::size_t first = 0, end = 0;
};
KeptRange KeptIndices(const Collections& objects, RowKind kind);

inline constexpr RowKind kRowKinds[] = {RowKind::Distance, RowKind::Route, RowKind::Area, RowKind::Position,
                                        RowKind::Comment};

// --- template definition ---

template <class F>
void ForEachKeptLabel(const Collections& o, F&& f) {
  for (RowKind kind : kRowKinds) {
    const std::vector<TextRecord>& labels = RowLabels(o, kind);
    const KeptRange r = KeptIndices(o, kind);
    for (std::size_t i = r.first; i < r.end; ++i) {
      if (labels[i].Visible) f(kind, static_cast<std::int16_t>(i), labels[i]);
    }
  }
}

}  // namespace planimo
