#include "io/csv_export.h"

#include <charconv>
#include <span>
#include <vector>

#include "geometry/number_format.h"
#include "io/atomic_write.h"
#include "io/export_plane.h"
#include "measure/readout.h"
#include "takeoff/takeoff_table.h"

namespace planimo {
namespace {

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// One row of a value table: the caption splits at its first blank into the
// number and the unit.
std::string ValueRow(std::size_t number, const TextRecord& label) {
  const std::string_view s = TrimBlanks(label.Caption);
  const std::size_t blank = s.find(' ');
  const std::string_view numberText = blank == std::string_view::npos ? std::string_view{} : s.substr(0, blank + 1);
  const std::string_view unit = blank == std::string_view::npos ? s : s.substr(blank + 1);
  return std::to_string(number) + "," + Quoted(label.ToolTipText) + "," + FormatText(numberText, "0.0######") +
         "," + Quoted(unit) + "\r\n";
}

// A position placed while the drawing was measured by known distance keeps
// drawing millimetres (its tool tip reads "X:...,Y:..."). Under the
// longitude/latitude header it is written as the read-out gives that point
// now, so its columns hold what the header names.
std::string PositionFields(const Document& doc, const TextRecord& p) {
  const std::string& tag = p.Tag;
  const std::size_t comma = tag.find(',');
  if (!HasLonLatCalibration(doc.state) || !p.ToolTipText.starts_with("X:") ||
      comma == std::string::npos) {
    return p.ToolTipText + "," + tag;
  }
  double x = 0, y = 0;
  const char* end = tag.data() + tag.size();
  const auto a = std::from_chars(tag.data(), tag.data() + comma, x);
  const auto b = std::from_chars(tag.data() + comma + 1, end, y);
  Readout r;
  if (a.ec != std::errc{} || a.ptr != tag.data() + comma || b.ec != std::errc{} || b.ptr != end ||
      !PositionReadout(doc, r, ToSingle(x), ToSingle(y))) {
    return p.ToolTipText + "," + tag;
  }
  return r.positionToolTip + "," + r.positionTag;
}

std::string ValueTable(const char* header, const std::vector<TextRecord>& labels, std::size_t rows) {
  std::string out = std::string(header) + "\r\n";
  for (std::size_t i = 0; i < rows && i < labels.size(); ++i) out += ValueRow(i + 1, labels[i]);
  return out;
}

std::size_t KeptCount(std::size_t size) { return size == 0 ? 0 : size - 1; }

}  // namespace

std::optional<CsvKind> CsvKindNamed(std::string_view name) {
  if (name == "distances") return CsvKind::Distances;
  if (name == "routes") return CsvKind::Routes;
  if (name == "areas") return CsvKind::Areas;
  if (name == "positions") return CsvKind::Positions;
  if (name == "items") return CsvKind::Items;
  return std::nullopt;
}

std::string_view CsvHandlerName(CsvKind kind) {
  switch (kind) {
    case CsvKind::Distances: return "mnuFileSaveCsvSen_Click";
    case CsvKind::Routes: return "mnuFileSaveCsvKer_Click";
    case CsvKind::Areas: return "mnuFileSaveCsvMen_Click";
    case CsvKind::Positions: return "mnuFileSaveCsvIti_Click";
    case CsvKind::Items: return "mnuTakeoffCsv_Click";
  }
  return {};
}

std::string CsvText(const Document& doc, CsvKind kind) {
  const Collections& o = doc.objects;
  switch (kind) {
    case CsvKind::Distances:
      // The dimension lines run in step with the labels.
      return ValueTable("№,コメント,距離・寸法,単位", o.lblKyori, KeptCount(o.lineDsSave.size()));
    case CsvKind::Routes:
      return ValueTable("№,コメント,経路,単位", o.lblKeiroS, KeptCount(o.lblKeiroS.size()));
    case CsvKind::Areas:
      return ValueTable("№,コメント,面積,単位", o.lblMensekiS, KeptCount(o.lblMensekiS.size()));
    case CsvKind::Items: return TakeoffCsvText(doc);
    case CsvKind::Positions: break;
  }
  // The known-distance header wins when both modes are set.
  std::string out = doc.state.GE_booModeDis   ? "№,コメント,X mm,Y mm,XX,YY\r\n"
                    : doc.state.GE_booModeKei ? "№,コメント,経度,緯度,経度(秒),緯度(秒)\r\n"
                                              : "";
  if (out.empty()) return out;
  std::size_t row = 0;
  for (std::size_t i = 1; i < o.lblKeiIdoS.size(); ++i) {
    const TextRecord& p = o.lblKeiIdoS[i];
    if (!p.Visible) continue;
    out += std::to_string(++row) + "," + Quoted(p.Caption) + "," + PositionFields(doc, p) + "\r\n";
  }
  return out;
}

std::optional<ErrorReport> WriteCsv(const Document& doc, CsvKind kind, const std::string& path) {
  const FileWrite file{path, EncodeFileText(CsvText(doc, kind))};
  return WriteFilesAtomically(std::span<const FileWrite>(&file, 1), false);
}

}  // namespace planimo
