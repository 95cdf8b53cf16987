#pragma once

// Continuous paths in the mode "連続": each click fixes a vertex, the
// segment being drawn follows the pointer, and the path is finished as a
// route (total length) or closed into an area, by a release onto an earlier
// vertex or by the command "面積計算". Kept routes and areas become a label
// with its outline segments in linePS, linked by a Tag no other kept route
// or area label carries.
//
// Functions returning bool give false when a value cannot be computed or a
// collection is full; the caller abandons the event and restores the state.

#include <optional>
#include <span>

#include "measure/line_measure.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// The Tag of a fixed working segment whose distance was kept as a distance
// object (an empty Tag: it was not).
inline constexpr const char* kPathSegmentKept = "kept";

// Left click while no measurement runs.
void AddVertex(Document& doc, MeasureSession& s, float x, float y);
// Move without a button while running.
bool FollowSegment(Document& doc, MeasureSession& s, float x, float y, bool shift);
// Release after a move: keeps the segment (when "距離情報を残す"), fixes it
// and closes the path when the release lies on an earlier vertex; otherwise
// the next segment follows the pointer from the fixed end at once. A
// release on the segment's own start fixes nothing.
bool FinishPathSegment(Document& doc, MeasureSession& s, float x, float y);
// Index of the segment whose start lies within 2 mm of (x, y), or -1; shows
// shpSnap on it. Acts only on paths of more than one segment with GE_booSnap.
int VertexSnap(Document& doc, float x, float y);
// A left press starts or continues the path itself only while no segment
// follows the pointer, or when the working segments were cleared under a
// running path (there is nothing left to go on from).
bool PathTakesVertex(const Document& doc, const MeasureSession& s);
// True while a path of at least one fixed segment waits for its next vertex
// (its top segment follows the pointer): the measurement popup opens then,
// and "面積計算" / "経路距離計算" finish the path.
bool PathBetweenVertices(const Document& doc, const MeasureSession& s);
// Label of the segment being drawn.
bool UpdateSegmentLabel(Document& doc, MeasureSession& s);

// "面積計算": closes the path back to its first vertex; the closing segment
// belongs to the outline and the route like every other segment.
bool CloseByCommand(Document& doc, MeasureSession& s);
// "経路距離計算".
bool FinishByCommand(Document& doc, MeasureSession& s);

bool ComputeArea(Document& doc, MeasureSession& s);

// The area enclosed by the outline `segments` (view millimetres), in the
// area unit; nothing when it cannot be computed.
std::optional<double> OutlineArea(const Document& doc, std::span<const LineRecord> segments);
// The total length of the route `segments` in the distance unit, with the
// direction of its last segment.
std::optional<SegmentValue> RouteLength(const Document& doc, std::span<const LineRecord> segments);
// Caption, tag (created at `time`), size and place of an area or route
// label over its non-empty `segments`, in the label's own font.
void LabelArea(const Document& doc, TextRecord& label, double area,
               std::span<const LineRecord> segments, const LocalTime& time);
void LabelRoute(const Document& doc, TextRecord& label, double total,
                std::span<const LineRecord> segments, const LocalTime& time);
bool FinishRoute(Document& doc, MeasureSession& s);

}  // namespace planimo
