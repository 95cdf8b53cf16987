#pragma once

// Which leader line, and which part of it, lies under the pointer. Hidden
// elements (the spare at the end of the collection) are never hit.

#include <cstdint>

#include "model/document.h"

namespace planimo {

// The grabbed part of a leader line (intHkdHandle).
enum LeaderHandle : std::int16_t {
  kHandleNone = -1,
  kHandleBody = 0,        // body of a horizontal or vertical line
  kHandleFirstEnd = 1,
  kHandleSecondEnd = 2,
  kHandleSlopedBody = 3,  // body of a sloped line
};

struct LeaderHit {
  int index = -1;  // -1: nothing hit
  std::int16_t handle = kHandleNone;
};

// The first leader line with an end point within 2 mm (a square box) of
// (x, y); its first end is preferred over its second.
LeaderHit HitLeaderEnd(const Document& doc, float x, float y);

// The first leader line whose body passes within 2 mm (horizontal and
// vertical lines) or 1 mm (sloped lines, measured vertically) of (x, y),
// the click lying within the line's extent enlarged by 2 mm.
LeaderHit HitLeaderLine(const Document& doc, float x, float y);

}  // namespace planimo
