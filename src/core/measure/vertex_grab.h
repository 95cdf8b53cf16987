#pragma once

// A vertex of a kept measurement held by the left button in the select
// mode of the measuring tool: which object, which vertex, and the object's
// records as they were grabbed and as the drag last left them.

#include <cstdint>
#include <vector>

#include "model/records.h"

namespace planimo {

enum class GrabbedKind { None, Distance, Route, Area };

// The records of one object in a fixed order: a distance's two extension
// lines and its dimension line, its two markers and its label; a route's or
// area's outline segments and its label.
struct GrabbedRecords {
  std::vector<LineRecord> lines;
  std::vector<ShapeRecord> shapes;
  TextRecord label;
  bool operator==(const GrabbedRecords&) const = default;
};

struct VertexGrab {
  GrabbedKind kind = GrabbedKind::None;
  int index = -1;             // distance object, or route or area label
  std::vector<int> segments;  // linePS elements of the outline, in order
  int end = 0;                // the distance end held: 0 first, 1 second
  float x = 0, y = 0;         // the vertex where it was grabbed, view mm
  float zoom = 0;             // the factor the records stood at
  std::uint64_t revision = 0;
  GrabbedRecords before, now;

  bool held() const { return kind != GrabbedKind::None; }
};

}  // namespace planimo
