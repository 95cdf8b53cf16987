#pragma once

// The kept objects of a drawing as shapes: what was measured (the two ends
// of a distance, the vertices of a route or an area, the point of a
// position) in drawing millimetres at 100 %, with the label that carries
// its value, caption and comment. The CAD and GIS outputs start from here.

#include <optional>
#include <vector>

#include "geometry/points.h"
#include "io/export_layers.h"
#include "model/document.h"

namespace planimo {

struct KeptShape {
  ExportKind kind = ExportKind::Distance;
  std::size_t index = 0;              // in the label's collection (leader lines: in lineHikidashi)
  std::vector<PointF> points;         // an area's ring without its closing repeat
  const TextRecord* label = nullptr;  // none for a leader line
  Colour colour = 0;                  // of the lines; a text's or a position's: its fore colour
  // A position's longitude and latitude in arc-seconds as the read-out
  // gave them when it was placed (longitude/latitude calibration only).
  std::optional<GeoPos> stated;
};

// Every kept object in the order of its collection: distances, routes,
// areas, leader lines, comment texts, positions. Spares, templates and
// hidden elements are left out, and so are routes and areas whose outline
// is missing.
std::vector<KeptShape> KeptShapes(const Document& doc);

// The value a label's tag keeps and the caption of its unit; empty for a
// label without a value tag.
struct KeptValue {
  double value = 0;
  std::string unit;
};
std::optional<KeptValue> LabelValue(const Document& doc, ExportKind kind, const TextRecord& label);

// The name of the takeoff item the shape belongs to; empty outside any item
// and for leader lines, which the list does not count.
std::string ShapeItem(const Document& doc, const KeptShape& shape);

}  // namespace planimo
