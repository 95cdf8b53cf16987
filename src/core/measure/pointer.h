#pragma once

// Pointer pre-processing applied to every mouse event on the map: Ctrl snaps
// the pointer onto an end of a leader line or a kept extension line, Space
// aligns it with one of those ends along an axis guide.

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

enum class PointerPhase { Down, Move, Up };

// Adjusts (x, y) in place and shows or hides shpSnap and the two guides.
// Only visible leader and extension lines take part (the spares never do).
void PreprocessPointer(Document& doc, PointerPhase phase, bool ctrl,
                       bool space, float& x, float& y);

}  // namespace planimo
