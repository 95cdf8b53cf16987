#pragma once

// Calibration points picked on the map while the options dialog asks for
// them: the two tilt points, the known-distance picking line and the two
// correspondence points. The dialog learns what changed from PickReport.

#include <optional>

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// The picking line as the dialog shows it: end points in view millimetres,
// length in drawing millimetres; pair 0 horizontal (GE_tpPiccelD 0, 1),
// 1 vertical (2, 3).
struct KnownDistanceReport {
  int pair = 0;
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  float length = 0;
};

struct PickReport {
  bool tiltPointsMoved = false;      // refresh the tilt point fields
  bool tiltCorrectionChanged = false;  // refresh the correction fields
  bool taiouPointsMoved = false;     // refresh the correspondence fields
  bool ratioDisplay = false;         // recompute the ratio display
  std::optional<KnownDistanceReport> knownDistance;
};

// Left press: select the tilt point within 10 mm (the right one wins) and
// move the selected one to the pointer. Only while booPickHosei.
void TiltPickDown(Document& doc, MeasureSession& s, float x, float y, PickReport& r);
// Drag with the left button: the selected tilt point follows.
void TiltPickDrag(Document& doc, MeasureSession& s, float x, float y, PickReport& r);
// Left release: unselect both and recompute the correction; false when the
// correction cannot be computed.
bool TiltPickUp(Document& doc, MeasureSession& s, PickReport& r);

void TaiouPickDown(Document& doc, MeasureSession& s, float x, float y, PickReport& r);
void TaiouPickDrag(Document& doc, MeasureSession& s, float x, float y, PickReport& r);
void TaiouPickUp(MeasureSession& s);

// The known-distance picking line: start at a press, follow on moves
// without a button, finish at the release after a move.
void StartKnownDistanceLine(Document& doc, MeasureSession& s, float x, float y, PickReport& r);
bool FollowKnownDistanceLine(Document& doc, MeasureSession& s, float x, float y, bool shift,
                             PickReport& r);
bool FinishKnownDistanceLine(Document& doc, MeasureSession& s, PickReport& r);

}  // namespace planimo
