#pragma once

// The keys that take back what a measurement in progress did: Escape drops
// the running measurement or open path, Backspace steps an open path back
// one vertex.

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// Escape: the running line, circle, specified distance, open path or
// known-distance picking line, or a leader line being pulled out, is dropped
// as AbandonMeasurement drops it, and the axis guides and the value box go
// too; the next click starts afresh.
// What was kept before stays kept. True when something was running or shown.
bool EscapeMeasurement(Document& doc, MeasureSession& s);

// Backspace while a continuous path is open: its last fixed vertex goes, and
// with it the distance kept for the segment that ended there; the segment
// before becomes the one that follows the pointer. The first vertex stays
// (Escape drops the path). False when there was no vertex to take back.
bool BackspacePath(Document& doc, MeasureSession& s);

}  // namespace planimo
