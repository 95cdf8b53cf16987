#pragma once

// The mouse handlers of the map: every press, move and release goes through
// the pointer pre-processing and then to the measurement, the calibration
// picks and the annotation tools in a fixed order. The handlers return what
// the shell must do: repaint, open popups in order, refresh dialog fields.
//
// An event whose value cannot be computed (a degenerate calibration, an
// overflow) or whose commit finds a collection full is abandoned as a whole:
// live objects, kept records, flags and project state stay as they were.

#include <string>
#include <vector>

#include "measure/calibration_pick.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

struct MouseEvent {
  int button = 0;  // 0 none (moves), 1 left, 2 right
  float x = 0, y = 0;  // view millimetres
  bool ctrl = false, shift = false, space = false;
};

struct MouseResult {
  bool changed = false;    // repaint the map
  bool abandoned = false;  // the event was dropped, nothing changed
  std::vector<Popup> popups;  // to open, in this order
  PickReport picks;           // for the options dialog
  std::string step;           // names the undo step this event ends, if not empty
};

// Leader lines, comment texts and position labels have their own module;
// the dispatcher only hands them the events that reach them.
class AnnotationTools {
 public:
  virtual ~AnnotationTools() = default;
  virtual void LeaderMouseDown(Document& doc, MeasureSession& s, float x, float y) = 0;
  virtual void LeaderMouseMove(Document& doc, MeasureSession& s, float x, float y, bool shift) = 0;
  virtual void LeaderMouseUp(Document& doc, MeasureSession& s, float x, float y, bool shift) = 0;
  virtual void CreateText(Document& doc, float x, float y) = 0;
  virtual void CreatePosition(Document& doc, const Readout& readout, float x, float y) = 0;
};

MouseResult OnMapMouseDown(Document& doc, MeasureSession& s, MouseEvent ev,
                           AnnotationTools* tools = nullptr);
MouseResult OnMapMouseMove(Document& doc, MeasureSession& s, MouseEvent ev,
                           AnnotationTools* tools = nullptr);
MouseResult OnMapMouseUp(Document& doc, MeasureSession& s, MouseEvent ev,
                         AnnotationTools* tools = nullptr);

// "面積計算" and "経路距離計算" of the measurement popup; false when the
// value could not be computed or a collection was full (nothing changed).
bool CommandCloseArea(Document& doc, MeasureSession& s);
bool CommandFinishRoute(Document& doc, MeasureSession& s);

}  // namespace planimo
