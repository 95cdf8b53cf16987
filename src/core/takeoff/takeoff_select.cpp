#include "takeoff/takeoff_select.h"

#include "measure/label_events.h"
#include "takeoff/takeoff_rows.h"

namespace planimo {

bool SelectListed(Document& doc, MeasureSession& s, const SelectedObject& object) {
  if (ListedLabel(doc, object) == nullptr) return false;
  doc.selected = object;
  EnableEditEntries(s.menu.popEdit, object.strKind);
  return true;
}

}  // namespace planimo
