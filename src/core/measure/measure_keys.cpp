#include "measure/measure_keys.h"

#include "measure/abandon.h"
#include "measure/line_measure.h"
#include "measure/path_measure.h"

namespace planimo {

namespace {

// The newest kept distance object measured exactly along a-b: its extension
// lines start on the measured points. -1 when there is none.
int DistanceAlong(const Collections& o, float ax, float ay, float bx, float by) {
  for (int k = UBound(o.lblKyori) - 1; k >= 0; --k) {
    const std::size_t i = 2 * static_cast<std::size_t>(k);
    if (i + 1 >= o.lineHojoSave.size() || !o.lblKyori[static_cast<std::size_t>(k)].Visible) continue;
    const LineRecord& e0 = o.lineHojoSave[i];
    const LineRecord& e1 = o.lineHojoSave[i + 1];
    if (e0.X1 == ax && e0.Y1 == ay && e1.X1 == bx && e1.Y1 == by) return k;
  }
  return -1;
}

}  // namespace

bool EscapeMeasurement(Document& doc, MeasureSession& s) {
  const RunFlags& f = s.flags;
  const WorkingObjects& live = doc.live;
  const bool active = MeasurementRunning(s) || f.booMesShownDis || f.booMesShownKei ||
                      live.lineDistance.Visible || live.shpCircle.Visible || live.lineMenseki.size() > 1 ||
                      live.lineMenseki[0].Visible || doc.objects.lineHikidashi.back().Visible;
  AbandonMeasurement(doc, s);
  doc.live.lineHintX.Visible = doc.live.lineHintY.Visible = false;
  s.readout.txtPict[4].clear();
  return active;
}

bool BackspacePath(Document& doc, MeasureSession& s) {
  if (!s.flags.booPathStarted || CurrentMode(s.menu) != MeasureMode::Path) return false;
  WorkingObjects& live = doc.live;
  const int n = UBound(live.lineMenseki);  // the segment following the pointer
  if (n < 1) return false;
  const LineRecord drawn = live.lineMenseki[static_cast<std::size_t>(n)];
  const LineRecord gone = live.lineMenseki[static_cast<std::size_t>(n) - 1];
  // The segment being drawn exists from the click on; before it, the last
  // fixed segment ends where the pointer now rests the rubber band.
  const bool drawing = drawn.Visible;
  const float px = drawing ? drawn.X2 : gone.X2;
  const float py = drawing ? drawn.Y2 : gone.Y2;
  // Only a segment that kept its distance takes one back: another distance
  // measured along the same points is no part of the path.
  const int k = gone.Tag == kPathSegmentKept ? DistanceAlong(doc.objects, gone.X1, gone.Y1, gone.X2, gone.Y2) : -1;
  if (k >= 0) RemoveDistanceObject(doc.objects, k);

  live.lineMenseki.pop_back();
  LineRecord& seg = live.lineMenseki.back();
  seg.X2 = px;
  seg.Y2 = py;
  seg.BorderStyle = kStyleDot;
  seg.Visible = true;
  live.shpSnap.Visible = false;
  StartExtensionLines(live, seg.X1, seg.Y1);
  OrientExtensionLines(live, seg.X1, seg.Y1, seg.X2, seg.Y2, doc.state.GE_sngHojoLen);
  ShowExtensionLines(live, true);
  live.lblDistance.Visible = true;
  // The label shows the segment that now follows the pointer; a value that
  // cannot be computed leaves it at its last text.
  (void)UpdateSegmentLabel(doc, s);
  if (doc.state.GE_booModeDis) s.flags.booMesRunDis = true;
  if (doc.state.GE_booModeKei) s.flags.booMesRunKei = true;
  return true;
}

}  // namespace planimo
