#include "measure/dispatcher.h"

#include <cmath>

#include "geometry/leader_hit.h"
#include "measure/abandon.h"
#include "measure/annotations.h"
#include "measure/label_events.h"
#include "measure/line_measure.h"
#include "measure/path_measure.h"
#include "measure/pointer.h"
#include "measure/readout.h"
#include "measure/rollback.h"
#include "measure/vertex_drag.h"

namespace planimo {

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;

// Only a checked "測定ツール" measures: while the options dialog is open no
// tool is checked, and a click there picks a reference instead.
bool MeasureToolActive(const MeasureSession& s) { return s.menu.mnuToolMes; }

// The known-distance picking line lives only while the options dialog asks
// for the distance: once it no longer does (another tab, the dialog gone)
// the line is dropped, so the click that follows sets no calibration.
void DropStalePickingLine(Document& doc, MeasureSession& s) {
  if (s.flags.booKnownDisRun && !doc.state.booPickDis) AbandonMeasurement(doc, s);
}

void LeftDown(Document& doc, MeasureSession& s, float x, float y, MouseResult& r,
              AnnotationTools* tools) {
  const bool range = RangeZoomChecked(s.menu);
  if (range) {
    doc.live.shpZoom.Left = x;
    doc.live.shpZoom.Top = y;
    doc.live.shpZoom.Width = doc.live.shpZoom.Height = 1;
    doc.live.shpZoom.Visible = true;
  }
  if (MeasureToolActive(s) && !range) {
    const MeasureMode mode = CurrentMode(s.menu);
    RunFlags& f = s.flags;
    if ((mode == MeasureMode::Line || mode == MeasureMode::Specified) && !f.Running()) {
      StartLine(doc, s, x, y);
    }
    if ((f.booMesShownDis && mode == MeasureMode::Circle) || f.booMesShownKei) {
      f.booMesShownDis = false;
      doc.live.lblDistance.Visible = false;
      doc.live.lineDistance.Visible = false;
    }
    if (mode == MeasureMode::Circle && !f.Running()) StartCircle(doc, s, x, y);
    if (mode == MeasureMode::Path && PathTakesVertex(doc, s)) AddVertex(doc, s, x, y);
    if (mode == MeasureMode::Select) GrabVertex(doc, s, x, y);
  }
  TiltPickDown(doc, s, x, y, r.picks);
  if (doc.state.booPickDis && !s.menu.mnuDispEnlarge && !s.flags.booKnownDisRun) {
    StartKnownDistanceLine(doc, s, x, y, r.picks);
  }
  TaiouPickDown(doc, s, x, y, r.picks);
  if (tools == nullptr) return;
  const Tool tool = CurrentTool(s.menu);
  if (tool == Tool::Leader && !s.menu.mnuDispEnlarge) tools->LeaderMouseDown(doc, s, x, y);
  if (tool == Tool::Comment && s.menu.popMojiNew) tools->CreateText(doc, x, y);
  if (tool == Tool::Position && s.menu.popMojiNew) tools->CreatePosition(doc, s.readout, x, y);
}

void RightDown(Document& doc, MeasureSession& s, float x, float y, MouseResult& r) {
  const Tool tool = CurrentTool(s.menu);
  if (MeasureToolActive(s) && (!s.flags.Running() || PathBetweenVertices(doc, s))) {
    r.popups.push_back(Popup::Mes);
  }
  if (doc.state.booPickHosei) r.popups.push_back(Popup::Hosei);
  if (doc.state.booPickDis) r.popups.push_back(Popup::Dis);
  if (doc.state.booPickTaiou) r.popups.push_back(Popup::Taiou);
  if (tool == Tool::Leader) {
    // The popup takes the release of a new line being pulled out.
    DropLeaderInProgress(doc);
    const LeaderHit hit =
        s.menu.popHkdSenSelect ? HitLeaderLine(doc, x, y) : LeaderHit{};
    if (hit.index >= 0) {
      doc.selected.strKind = kKindLeader;
      doc.selected.intIndex = static_cast<std::int16_t>(hit.index);
      EnableEditEntries(s.menu.popEdit, kKindLeader);
      r.popups.push_back(Popup::Edit);
    } else {
      r.popups.push_back(Popup::Hikidashi);
    }
  }
  if (tool == Tool::Comment || tool == Tool::Position) r.popups.push_back(Popup::Moji);
}

bool Follow(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  switch (CurrentMode(s.menu)) {
    case MeasureMode::Line: return FollowLine(doc, s, x, y, shift);
    case MeasureMode::Specified: return FollowSpecified(doc, s, x, y, shift);
    case MeasureMode::Circle: return FollowCircle(doc, s, y);
    case MeasureMode::Path: return FollowSegment(doc, s, x, y, shift);
    case MeasureMode::Select: return true;
  }
  return true;
}

bool Finish(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  switch (CurrentMode(s.menu)) {
    case MeasureMode::Line: return FinishLine(doc, s, x, y, shift);
    case MeasureMode::Specified: return FinishSpecified(doc, s, x, y, shift);
    case MeasureMode::Circle: return FinishCircle(doc, s);
    case MeasureMode::Path: return FinishPathSegment(doc, s, x, y);
    case MeasureMode::Select: return true;
  }
  return true;
}

bool Move(Document& doc, MeasureSession& s, const MouseEvent& ev, float x, float y,
          MouseResult& r, AnnotationTools* tools) {
  if (ev.button == kLeft) {
    TiltPickDrag(doc, s, x, y, r.picks);
    TaiouPickDrag(doc, s, x, y, r.picks);
    if (tools != nullptr && CurrentTool(s.menu) == Tool::Leader) {
      tools->LeaderMouseMove(doc, s, x, y, ev.shift);
    }
  } else if (ev.button == 0) {
    RunFlags& f = s.flags;
    if (f.booKnownDisRun) {
      f.booKnownDisMoved = true;
      if (!FollowKnownDistanceLine(doc, s, x, y, ev.shift, r.picks)) return false;
    }
    if (f.booMesRunDis) {
      f.booMesMovedDis = true;
      if (!Follow(doc, s, x, y, ev.shift)) return false;
    }
    if (f.booMesRunKei) {
      f.booMesMovedKei = true;
      if (!Follow(doc, s, x, y, ev.shift)) return false;
      doc.live.lblKeiIdo.Left = x;
      doc.live.lblKeiIdo.Top = y;
    }
  }
  PointerReadout(doc, s, x, y);
  return true;
}

bool Up(Document& doc, MeasureSession& s, const MouseEvent& ev, float x, float y, MouseResult& r,
        AnnotationTools* tools) {
  if (ev.button == kLeft) {
    if (!TiltPickUp(doc, s, r.picks)) return false;
    if (doc.state.booPickTaiou) TaiouPickUp(s);
    if (tools != nullptr && CurrentTool(s.menu) == Tool::Leader && s.menu.popHkdSenNew) {
      tools->LeaderMouseUp(doc, s, x, y, ev.shift);
    }
  }
  RunFlags& f = s.flags;
  if (f.booKnownDisMoved) {
    f.booKnownDisMoved = f.booKnownDisRun = false;
    if (!FinishKnownDistanceLine(doc, s, r.picks)) return false;
  }
  if (f.booMesMovedDis) {
    f.booMesRunDis = false;
    f.booMesShownDis = true;
    if (!Finish(doc, s, x, y, ev.shift)) return false;
  }
  if (f.booMesMovedKei) {
    f.booMesRunKei = false;
    f.booMesShownKei = true;
    if (!Finish(doc, s, x, y, ev.shift)) return false;
  }
  f.booMesMovedDis = f.booMesMovedKei = false;
  return true;
}

// A pointer position that is no number is no place on the drawing: nothing
// may take it for a corner, an end or a calibration point.
bool AtAPlace(const MouseEvent& ev) { return std::isfinite(ev.x) && std::isfinite(ev.y); }

// Runs one event; on failure puts everything back and reports it.
template <class Body>
MouseResult Guarded(Document& doc, MeasureSession& s, Body body) {
  const Rollback saved(doc, s);
  MouseResult r;
  if (body(r)) {
    r.changed = true;
  } else {
    saved.Restore(doc, s);
    r = MouseResult{};
    r.abandoned = true;
  }
  return r;
}

}  // namespace

MouseResult OnMapMouseDown(Document& doc, MeasureSession& s, MouseEvent ev,
                           AnnotationTools* tools) {
  return Guarded(doc, s, [&](MouseResult& r) {
    if (!AtAPlace(ev)) return false;
    // A press while a vertex is held lost its release somewhere: the
    // object goes back before anything else.
    PutVertexBack(doc, s);
    DropStalePickingLine(doc, s);
    PreprocessPointer(doc, PointerPhase::Down, ev.ctrl, ev.space, ev.x, ev.y);
    if (ev.button == kLeft) LeftDown(doc, s, ev.x, ev.y, r, tools);
    if (ev.button == kRight) RightDown(doc, s, ev.x, ev.y, r);
    return true;
  });
}

MouseResult OnMapMouseMove(Document& doc, MeasureSession& s, MouseEvent ev,
                           AnnotationTools* tools) {
  return Guarded(doc, s, [&](MouseResult& r) {
    if (!AtAPlace(ev)) return false;
    DropStalePickingLine(doc, s);
    const bool dragging = StandAsGrabbed(doc, s);
    PreprocessPointer(doc, PointerPhase::Move, ev.ctrl, ev.space, ev.x, ev.y);
    if (dragging) {
      // A move without the button: its release went elsewhere.
      if (ev.button == kLeft) {
        DragVertex(doc, s, ev.x, ev.y, ev.shift);
      } else {
        PutVertexBack(doc, s);
      }
      PointerReadout(doc, s, ev.x, ev.y);
      return true;
    }
    return Move(doc, s, ev, ev.x, ev.y, r, tools);
  });
}

MouseResult OnMapMouseUp(Document& doc, MeasureSession& s, MouseEvent ev,
                         AnnotationTools* tools) {
  return Guarded(doc, s, [&](MouseResult& r) {
    if (!AtAPlace(ev)) return false;
    DropStalePickingLine(doc, s);
    const bool dragging = StandAsGrabbed(doc, s);
    PreprocessPointer(doc, PointerPhase::Up, ev.ctrl, ev.space, ev.x, ev.y);
    if (dragging) {
      if (ev.button == kLeft) {
        r.step = ReleaseVertex(doc, s, ev.x, ev.y, ev.shift);
      } else {
        PutVertexBack(doc, s);
      }
      return true;
    }
    return Up(doc, s, ev, ev.x, ev.y, r, tools);
  });
}

bool CommandCloseArea(Document& doc, MeasureSession& s) {
  return !Guarded(doc, s, [&](MouseResult&) { return CloseByCommand(doc, s); }).abandoned;
}

bool CommandFinishRoute(Document& doc, MeasureSession& s) {
  return !Guarded(doc, s, [&](MouseResult&) { return FinishByCommand(doc, s); }).abandoned;
}

}  // namespace planimo
