#pragma once

// Straight lines, radius circles and specified distances: the live line,
// its value label and the four extension lines that follow the pointer, the
// real length of a segment in either calibration, and the keeping of a
// finished measurement as a distance object.
//
// Every operation that computes a value returns false when the value cannot
// be computed (a degenerate calibration, an overflow) or a collection is
// full; the caller then abandons the mouse event and restores what it saw.

#include <optional>
#include <string>

#include "geometry/points.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

void ShowExtensionLines(WorkingObjects& live, bool visible);
// Puts the start of lines 0 and 2 on (x, y).
void StartExtensionLines(WorkingObjects& live, float x, float y);
// Places the four lines square to (x1, y1)-(x2, y2), `length` long: 0 and 1
// on one side (upwards, or to the right of a vertical segment), 2 and 3 on
// the other.
void OrientExtensionLines(WorkingObjects& live, float x1, float y1, float x2, float y2,
                          float length);

// A real length with the direction text the read-out shows for it.
struct SegmentValue {
  double value = 0;
  std::string direction;
};

// Real length of the segment a-b (drawing millimetres) in the known-distance
// calibration, in the current distance unit; direction = plane angle.
std::optional<SegmentValue> MeasureLengthDis(const Document& doc, PointF a, PointF b);
// The same in the longitude/latitude calibration; direction = bearing.
std::optional<SegmentValue> MeasureLengthKei(const Document& doc, PointF a, PointF b);
// Segment given in view millimetres, measured by the calibration `dis`
// (known distance) or else longitude/latitude.
std::optional<SegmentValue> MeasureViewSegment(const Document& doc, bool dis, float x1, float y1,
                                               float x2, float y2);

// Caption (formatted value and unit), Tag and read-out box 4 of a value label.
void SetDistanceCaption(const Document& doc, MeasureSession& s, TextRecord& label, double value);
// Centres `label` on the segment.
void CentreLabel(TextRecord& label, float x1, float y1, float x2, float y2);

// Label of the live line with the value of the running calibration.
bool UpdateLineLabel(Document& doc, MeasureSession& s);
void UpdateFixedLabel(Document& doc, MeasureSession& s, float x1, float y1, float x2, float y2,
                      double value);

// Copies the live measurement into a new distance object; refused (false,
// nothing changed) when a collection is full.
bool KeepDistance(Document& doc, MeasureSession& s);

// Measures the segment with calibration `dis`, orients the live extension
// lines on it and keeps it as a new distance object.
bool KeepSegmentDistance(Document& doc, MeasureSession& s, float x1, float y1, float x2, float y2,
                         bool dis);
// The same, updating the distance object kept last in place (a path closed
// onto a vertex moves the end of the segment kept a moment before).
bool UpdateLastSegmentDistance(Document& doc, MeasureSession& s, float x1, float y1, float x2,
                               float y2, bool dis);

// "測定線の反対側へ移動" on distance object k (whose extension lines and
// dimension line exist): the extension lines turn over their measured
// points, the dimension line, the label and the markers go with them.
void TurnDimensionOver(Collections& o, int k);

// Measures distance object k again along (x1, y1)-(x2, y2) by the rules it
// was kept by: extension lines, markers, dimension line, value, caption and
// the label's place follow the segment; its look, its comment, its time of
// creation, the side its dimension was turned to and every other field
// stay. False (nothing kept changed) when the value cannot be computed or
// there is no object k.
bool RemeasureDistance(Document& doc, MeasureSession& s, int k, float x1, float y1, float x2,
                       float y2, bool dis);

// Shows the live distance line and its extension lines as a point at (x, y),
// the label above it reading `caption`.
void StartLiveDistance(Document& doc, float x, float y, const std::string& caption);

// The three measurements of a click, move, click; (x, y) in view mm.
void StartLine(Document& doc, MeasureSession& s, float x, float y);
bool FollowLine(Document& doc, MeasureSession& s, float x, float y, bool shift);
bool FinishLine(Document& doc, MeasureSession& s, float x, float y, bool shift);

void StartCircle(Document& doc, MeasureSession& s, float x, float y);
bool FollowCircle(Document& doc, MeasureSession& s, float y);
bool FinishCircle(Document& doc, MeasureSession& s);

bool FollowSpecified(Document& doc, MeasureSession& s, float x, float y, bool shift);
bool FinishSpecified(Document& doc, MeasureSession& s, float x, float y, bool shift);

}  // namespace planimo
