#include "takeoff/takeoff_rows.h"

#include <algorithm>
#include <array>

#include "model/hit_test.h"

namespace planimo {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool IsValueKind(RowKind k) { return k == RowKind::Distance || k == RowKind::Route || k == RowKind::Area; }


}  // namespace

std::string_view RowKindCaption(RowKind kind) {
  switch (kind) {
    case RowKind::Distance: return "距離";
    case RowKind::Route: return "経路";
    case RowKind::Area: return "面積";
    case RowKind::Position: return "位置";
    case RowKind::Comment: return "文字列";
  }
  return {};
}

const char* RowKindName(RowKind kind) {
  switch (kind) {
    case RowKind::Distance: return kKindKyori;
    case RowKind::Route: return kKindKeiroS;
    case RowKind::Area: return kKindMensekiS;
    case RowKind::Position: return kKindKeiIdoS;
    case RowKind::Comment: return kKindMoji;
  }
  return "";
}

std::vector<TextRecord>& RowLabels(Collections& o, RowKind kind) {
  return *LabelsOfKind(o, RowKindName(kind));
}

const std::vector<TextRecord>& RowLabels(const Collections& o, RowKind kind) {
  return *LabelsOfKind(o, RowKindName(kind));
}

std::string ItemName(const ProjectState& s, int item) {
  if (item < 1 || item > static_cast<int>(s.takeoffItems.size())) return {};
  return s.takeoffItems[static_cast<std::size_t>(item - 1)].name;
}

std::vector<TakeoffRow> TakeoffRows(const Document& doc) {
  const int items = static_cast<int>(doc.state.takeoffItems.size());
  // A member of an item the project no longer has is outside any item.
  const auto group = [items](int item) { return item >= 1 && item <= items ? item : 0; };
  std::vector<TakeoffRow> rows;
  std::array<int, std::size(kRowKinds)> numbers{};
  ForEachKeptLabel(doc.objects, [&](RowKind kind, std::int16_t index, const TextRecord& l) {
    TakeoffRow r;
    r.kind = kind;
    r.index = index;
    r.number = ++numbers[static_cast<std::size_t>(kind)];
    r.item = static_cast<std::int16_t>(group(l.Item));
    r.deduction = kind == RowKind::Area && l.Deduction;
    r.comment = l.ToolTipText;
    if (IsValueKind(kind)) {
      // The caption splits at its first blank into the number and the unit.
      const std::string_view s = TrimBlanks(l.Caption);
      const std::size_t blank = s.find(' ');
      r.value = blank == std::string_view::npos ? std::string() : std::string(s.substr(0, blank));
      r.unit = std::string(TrimBlanks(blank == std::string_view::npos ? s : s.substr(blank + 1)));
    } else {
      r.value = l.Caption;
    }
    rows.push_back(std::move(r));
  });
  // Items in their order, then the rest; the kind order and collection
  // order stay within a group.
  std::stable_sort(rows.begin(), rows.end(), [](const TakeoffRow& a, const TakeoffRow& b) {
    const int ga = a.item == 0 ? 1 << 16 : a.item;
    const int gb = b.item == 0 ? 1 << 16 : b.item;
    return ga < gb;
  });
  return rows;
}

SelectedObject RowSelection(const TakeoffRow& row) {
  SelectedObject s;
  s.strKind = RowKindName(row.kind);
  s.intIndex = row.index;
  return s;
}

KeptRange KeptIndices(const Collections& o, RowKind kind) {
  const std::size_t size = RowLabels(o, kind).size();
  switch (kind) {
    case RowKind::Distance: {
      const std::size_t n = std::min(size, o.lineDsSave.size());
      return {0, n == 0 ? 0 : n - 1};
    }
    case RowKind::Route:
    case RowKind::Area: return {0, size == 0 ? 0 : size - 1};
    case RowKind::Position:
    case RowKind::Comment: return {1, size};
  }
  return {};
}

std::optional<ObjectBox> ObjectBounds(const Document& doc, const SelectedObject& sel) {
  const TextRecord* l = ListedLabel(doc, sel);
  if (l == nullptr) return std::nullopt;
  ObjectBox b{l->Left, l->Top, l->Left + l->Width, l->Top + l->Height};
  const auto take = [&b](const LineRecord& line) {
    b.left = std::min({b.left, line.X1, line.X2});
    b.right = std::max({b.right, line.X1, line.X2});
    b.top = std::min({b.top, line.Y1, line.Y2});
    b.bottom = std::max({b.bottom, line.Y1, line.Y2});
  };
  const Collections& o = doc.objects;
  if (sel.strKind == kKindKyori && static_cast<std::size_t>(sel.intIndex) < o.lineDsSave.size()) {
    take(o.lineDsSave[static_cast<std::size_t>(sel.intIndex)]);
  } else if ((sel.strKind == kKindKeiroS || sel.strKind == kKindMensekiS) && !l->Tag.empty()) {
    for (const LineRecord& seg : o.linePS) {
      if (seg.Visible && seg.Tag == l->Tag) take(seg);
    }
  }
  return b;
}

TextRecord* ListedLabel(Document& doc, const SelectedObject& sel) {
  return const_cast<TextRecord*>(ListedLabel(static_cast<const Document&>(doc), sel));
}

const TextRecord* ListedLabel(const Document& doc, const SelectedObject& sel) {
  for (RowKind kind : kRowKinds) {
    if (sel.strKind != RowKindName(kind)) continue;
    const KeptRange r = KeptIndices(doc.objects, kind);
    const auto i = static_cast<std::size_t>(sel.intIndex);
    if (sel.intIndex < 0 || i < r.first || i >= r.end) return nullptr;
    const TextRecord& l = RowLabels(doc.objects, kind)[i];
    return l.Visible ? &l : nullptr;
  }
  return nullptr;
}

}  // namespace planimo
