#include "takeoff/takeoff_edit.h"

#include <optional>
#include <string_view>

#include "model/hit_test.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

namespace {

// The name as it is kept, or nothing when it cannot be an item's name: an
// empty one would show nothing to choose, and a line break could not be
// kept in the project file.
std::optional<std::string> ItemNameOf(const std::string& name) {
  if (name.find_first_of("\r\n") != std::string::npos) return std::nullopt;
  constexpr std::string_view kWide = "\u3000";  // the full-width blank
  std::string_view n = name;
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    if (!n.empty() && (n.front() == ' ' || n.front() == '\t')) n.remove_prefix(1), trimmed = true;
    if (!n.empty() && (n.back() == ' ' || n.back() == '\t')) n.remove_suffix(1), trimmed = true;
    if (n.starts_with(kWide)) n.remove_prefix(kWide.size()), trimmed = true;
    if (n.ends_with(kWide)) n.remove_suffix(kWide.size()), trimmed = true;
  }
  if (n.empty()) return std::nullopt;
  return std::string(n);
}

template <class F>
bool ForListed(Document& doc, const std::vector<SelectedObject>& objects, F&& f) {
  bool changed = false;
  for (const SelectedObject& sel : objects) {
    if (TextRecord* l = ListedLabel(doc, sel)) changed = f(sel, *l) || changed;
  }
  if (changed) MarkChanged(doc);
  return changed;
}

}  // namespace

int AddItem(Document& doc, const std::string& name, Colour colour) {
  std::vector<TakeoffItem>& items = doc.state.takeoffItems;
  const std::optional<std::string> n = ItemNameOf(name);
  if (!n || static_cast<int>(items.size()) >= kMaxTakeoffItems) return 0;
  items.push_back({*n, colour});
  MarkChanged(doc);
  return static_cast<int>(items.size());
}

bool ChangeItem(Document& doc, int item, const std::string& name, Colour colour) {
  std::vector<TakeoffItem>& items = doc.state.takeoffItems;
  const std::optional<std::string> n = ItemNameOf(name);
  if (!n || item < 1 || item > static_cast<int>(items.size())) return false;
  TakeoffItem& it = items[static_cast<std::size_t>(item - 1)];
  if (it.name == *n && it.colour == colour) return false;
  it = {*n, colour};
  MarkChanged(doc);
  return true;
}

bool RemoveItem(Document& doc, int item) {
  std::vector<TakeoffItem>& items = doc.state.takeoffItems;
  if (item < 1 || item > static_cast<int>(items.size())) return false;
  items.erase(items.begin() + (item - 1));
  Collections& o = doc.objects;
  // Every label, spares and templates too: a member is a member wherever it is.
  for (auto* labels : {&o.lblKyori, &o.lblKeiroS, &o.lblMensekiS, &o.lblMoji, &o.lblKeiIdoS}) {
    for (TextRecord& l : *labels) {
      if (l.Item == item) {
        l.Item = 0;
      } else if (l.Item > item) {
        --l.Item;
      }
    }
  }
  MarkChanged(doc);
  return true;
}

bool AssignItem(Document& doc, const std::vector<SelectedObject>& objects, int item) {
  if (item < 0 || item > static_cast<int>(doc.state.takeoffItems.size())) return false;
  return ForListed(doc, objects, [item](const SelectedObject&, TextRecord& l) {
    if (l.Item == item) return false;
    l.Item = static_cast<std::int16_t>(item);
    return true;
  });
}

bool SetDeduction(Document& doc, const std::vector<SelectedObject>& objects, bool deduction) {
  return ForListed(doc, objects, [deduction](const SelectedObject& sel, TextRecord& l) {
    if (sel.strKind != kKindMensekiS || l.Deduction == deduction) return false;
    l.Deduction = deduction;
    return true;
  });
}

}  // namespace planimo
