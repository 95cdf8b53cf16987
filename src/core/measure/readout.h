#pragma once

// The coordinate read-out of the map: X and Y of the pointer, in the
// longitude/latitude calibration its geographic position, and the texts the
// next position label takes as tooltip and tag.

#include <optional>
#include <string>

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// Writes boxes 1 and 2 (and 0 in the longitude/latitude calibration) for
// the pointer (x, y) in view millimetres.
void PointerReadout(const Document& doc, MeasureSession& s, float x, float y);

// Geographic position text of a drawing position ("ddd-mm-ss.ssss E  ...
// N "), setting the position tooltip and tag texts; nothing (and no text
// changed) when the calibration gives no finite position.
std::optional<std::string> PositionReadout(const Document& doc, Readout& r, float x, float y);

}  // namespace planimo
