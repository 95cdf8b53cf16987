#include "takeoff/takeoff_totals.h"

#include <cmath>

#include "geometry/units.h"
#include "model/value_tag.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

TakeoffTotals ComputeTotals(const Document& doc) {
  TakeoffTotals t;
  const UnitTables& u = doc.settings.units;
  t.lengthUnit = doc.state.GE_intUnitDIndex;
  t.areaUnit = doc.state.GE_intUnitSIndex;
  const int items = static_cast<int>(doc.state.takeoffItems.size());
  t.items.assign(static_cast<std::size_t>(items) + 1, ItemTotal{});
  ForEachKeptLabel(doc.objects, [&](RowKind kind, std::int16_t, const TextRecord& l) {
    ItemTotal& total = t.items[static_cast<std::size_t>(l.Item >= 1 && l.Item <= items ? l.Item : 0)];
    ++total.count;
    if (kind == RowKind::Position || kind == RowKind::Comment) return;
    const std::optional<ValueTag> tag = ParseValueTag(l.Tag);
    if (!tag) return;
    if (kind == RowKind::Area) {
      const double v = ConvertArea(tag->value, tag->unit, t.areaUnit, u);
      if (std::isfinite(v)) total.area += l.Deduction ? -v : v;
    } else {
      const double v = ConvertDistance(tag->value, tag->unit, t.lengthUnit, u);
      if (std::isfinite(v)) total.length += v;
    }
  });
  return t;
}

std::string LengthTotalText(const Document& doc, double length) {
  return ValueLabelText(length, doc.state.intDPointD, doc.state.strUnitD, doc.state);
}

std::string AreaTotalText(const Document& doc, double area) {
  return ValueLabelText(area, doc.state.intDPointS, doc.state.strUnitS, doc.state);
}

}  // namespace planimo
