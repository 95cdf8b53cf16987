#include "measure/pointer.h"

#include <cmath>
#include <vector>

namespace planimo {

namespace {

constexpr float kCatch = 2.0f;

// The kept lines that can be snapped to: every leader line and every
// extension line below the spare, visible ones only.
int Candidates(const std::vector<LineRecord>& c) { return static_cast<int>(c.size()) - 1; }

bool EndSnap(const std::vector<LineRecord>& lines, float& x, float& y) {
  const int n = Candidates(lines);
  const LineRecord* p = lines.data();
  for (int i = 0; i < n; ++i) {
    const LineRecord& l = p[i];
    if (!l.Visible) continue;
    bool caught = false;
    float cx = 0, cy = 0;
    if (std::fabs(x - l.X1) < kCatch && std::fabs(y - l.Y1) < kCatch) {
      cx = l.X1;
      cy = l.Y1;
      caught = true;
    }
    if (std::fabs(x - l.X2) < kCatch && std::fabs(y - l.Y2) < kCatch) {
      cx = l.X2;
      cy = l.Y2;
      caught = true;
    }
    if (caught) {
      x = cx;
      y = cy;
      return true;
    }
  }
  return false;
}

void DrawGuide(LineRecord& guide, float x1, float y1, float x2, float y2) {
  guide.X1 = x1;
  guide.Y1 = y1;
  guide.X2 = x2;
  guide.Y2 = y2;
  guide.Visible = true;
}

enum class Axis { Horizontal, Vertical };

// An end point level with the pointer (horizontal guide) or plumb with it
// (vertical guide), within 2 mm, pulls the pointer onto that level or plumb
// line and draws the guide from the end point to it; first end first.
bool AxisGuide(const std::vector<LineRecord>& lines, Axis axis, LineRecord& guide, float& x, float& y) {
  const bool level = axis == Axis::Horizontal;
  const int n = Candidates(lines);
  for (int i = 0; i < n; ++i) {
    const LineRecord& l = lines[static_cast<std::size_t>(i)];
    if (!l.Visible) continue;
    for (int end = 0; end < 2; ++end) {
      const float ex = end == 0 ? l.X1 : l.X2;
      const float ey = end == 0 ? l.Y1 : l.Y2;
      if (std::fabs(level ? y - ey : x - ex) >= kCatch) continue;
      if (level) {
        y = ey;
        DrawGuide(guide, ex, ey, x, ey);
      } else {
        x = ex;
        DrawGuide(guide, ex, ey, ex, y);
      }
      return true;
    }
  }
  return false;
}

}  // namespace

void PreprocessPointer(Document& doc, PointerPhase phase, bool ctrl,
                       bool space, float& x, float& y) {
  const Collections& o = doc.objects;
  ShapeRecord& snap = doc.live.shpSnap;
  if (ctrl) {
    const bool caught = EndSnap(o.lineHikidashi, x, y) || EndSnap(o.lineHojoSave, x, y);
    if (caught) {
      snap.Left = x - snap.Width / 2;
      snap.Top = y - snap.Height / 2;
    }
    snap.Visible = caught;
  } else if (space) {
    doc.live.lineHintX.Visible = false;
    doc.live.lineHintY.Visible = false;
    // The first catch ends the search.
    LineRecord& hx = doc.live.lineHintX;
    LineRecord& hy = doc.live.lineHintY;
    (void)(AxisGuide(o.lineHikidashi, Axis::Horizontal, hx, x, y) ||
           AxisGuide(o.lineHikidashi, Axis::Vertical, hy, x, y) ||
           AxisGuide(o.lineHojoSave, Axis::Horizontal, hx, x, y) ||
           AxisGuide(o.lineHojoSave, Axis::Vertical, hy, x, y));
  } else if (phase != PointerPhase::Down) {
    doc.live.lineHintX.Visible = false;
    doc.live.lineHintY.Visible = false;
  }
  if (!ctrl && phase != PointerPhase::Down) snap.Visible = false;
}

}  // namespace planimo
