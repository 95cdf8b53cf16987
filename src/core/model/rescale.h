#pragma once

// Follows a zoom change with every kept record: positions are multiplied by
// new factor / old factor, label fonts grow or shrink with them around the
// label's centre, and the end markers are re-centred on their dimension lines
// at their fixed size.

#include "model/document.h"

namespace planimo {

// Rescales every collection by r = sngZoom / sngZoomPrev, in the fixed order
// leader lines, comment texts, position labels, extension lines, dimension
// lines, end markers, distance labels, route labels, area labels, route and
// area segments; then sngZoomPrev = sngZoom. Label sizes are re-read from
// doc.measurer after the font changes.
//
// When r is not a finite positive number (a zero or broken factor) nothing
// changes, sngZoomPrev included, and the result is false.
bool subDisp_Object(Document& doc);

}  // namespace planimo
