#include "measure/abandon.h"

#include "measure/annotations.h"
#include "measure/line_measure.h"
#include "measure/vertex_drag.h"

namespace planimo {

void AbandonMeasurement(Document& doc, MeasureSession& s) {
  PutVertexBack(doc, s);
  s.flags = RunFlags{};
  WorkingObjects& live = doc.live;
  live.shpCircle.Visible = false;
  live.lblDistance.Visible = false;
  live.lineDistance.Visible = false;
  ShowExtensionLines(live, false);
  live.shpSnap.Visible = false;
  ClearWorkingPath(live);
  DropLeaderInProgress(doc);
}

bool MeasurementRunning(const MeasureSession& s) {
  const RunFlags& f = s.flags;
  return f.Running() || f.booPathStarted || f.booKnownDisRun || s.vertexGrab.held();
}

void ResetDisplayMenu(Document& doc, MeasureSession& s) {
  ClearZoomChecks(s);
  AbandonMeasurement(doc, s);
}

void LeaveOptionsDialog(Document& doc, MeasureSession& s) {
  AbandonMeasurement(doc, s);
  s.menu.mnuEditSetEnabled = true;
  SelectTool(s, Tool::Measure);
}

}  // namespace planimo
