#include "takeoff/takeoff_table.h"

#include <string_view>

#include "geometry/number_format.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

namespace {

constexpr std::string_view kHeader[] = {"№", "種類", "品目", "値", "単位", "コメント", "控除"};

std::string Flat(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

bool IsValueKind(RowKind k) { return k == RowKind::Distance || k == RowKind::Route || k == RowKind::Area; }

template <class Field>
std::string Table(const Document& doc, char separator, const char* lineEnd, Field&& field) {
  std::string out;
  for (std::string_view h : kHeader) {
    if (!out.empty()) out += separator;
    out += h;
  }
  out += lineEnd;
  for (const TakeoffRow& r : TakeoffRows(doc)) {
    const std::string cells[] = {std::to_string(r.number),
                                 std::string(RowKindCaption(r.kind)),
                                 ItemName(doc.state, r.item),
                                 r.value,
                                 r.unit,
                                 r.comment,
                                 r.deduction ? "控除" : ""};
    for (std::size_t i = 0; i < std::size(cells); ++i) {
      if (i > 0) out += separator;
      out += field(i, r, cells[i]);
    }
    out += lineEnd;
  }
  return out;
}

}  // namespace

std::string TakeoffClipboardText(const Document& doc) {
  return Table(doc, '\t', "\n", [](std::size_t, const TakeoffRow&, const std::string& cell) { return Flat(cell); });
}

std::string TakeoffCsvText(const Document& doc) {
  return Table(doc, ',', "\r\n", [](std::size_t i, const TakeoffRow& r, const std::string& cell) {
    if (i == 0) return cell;
    // A value as the value tables write it: the digits without grouping.
    if (i == 3 && IsValueKind(r.kind)) return FormatText(cell + " ", "0.0######");
    return Quoted(cell);
  });
}

}  // namespace planimo
