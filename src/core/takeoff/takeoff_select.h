#pragma once

// Choosing a row of the takeoff list: the object is selected exactly as a
// right press on its label selects it, whatever runs meanwhile (a
// measurement in progress goes on; a vertex being dragged goes back, as a
// press elsewhere puts it back), so the edit popup acts on it.

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// False, and nothing changed, when `object` is no kept object of the list.
bool SelectListed(Document& doc, MeasureSession& s, const SelectedObject& object);

}  // namespace planimo
