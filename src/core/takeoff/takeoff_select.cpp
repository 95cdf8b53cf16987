#include "takeoff/takeoff_select.h"

#include "measure/label_events.h"
#include "measure/vertex_drag.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

bool SelectListed(Document& doc, MeasureSession& s, const SelectedObject& object) {
  if (ListedLabel(doc, object) == nullptr) return false;
  // The pointer left the map for the list: a vertex still held goes back,
  // as at a press anywhere else, before the popup acts on the object.
  PutVertexBack(doc, s);
  doc.selected = object;
  EnableEditEntries(s.menu.popEdit, object.strKind);
  return true;
}

}  // namespace planimo
