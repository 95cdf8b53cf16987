#pragma once

// Correcting a kept measurement in place: in the select mode of the
// measuring tool a left press near an end of a kept distance, or near a
// vertex of a kept route or area outline, grabs it; the pointer moves it
// (snapped by Ctrl and Space, squared by Shift, as when measuring), and the
// object is measured again at every move by the rules it was kept by. The
// release leaves it there: one undo step named after the object. Escape, a
// right press, a zoom or a tool change put it back as it was.
//
// The object's records change in place: every field other than geometry,
// value, caption and tag and the label's place stays as it was. The item
// the object belongs to and its deduction mark may change under the drag
// (the list's commands): the drag goes on and keeps them as they are.

#include <string>

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// True when a left press at (x, y), view mm, would grab a vertex.
bool VertexUnder(const Document& doc, const MeasureSession& s, float x, float y);

// A left press: grabs the nearest vertex within a few screen pixels, in the
// select mode of the measuring tool while nothing else runs. False when
// there is none.
bool GrabVertex(Document& doc, MeasureSession& s, float x, float y);

// First step of every later event of the drag, before the pointer is
// snapped: the object stands as grabbed again, so that the snap never
// catches its own moving ends. A grab whose object is no longer as the drag
// left it (deleted, undone or rescaled under it) is let go without touching
// anything. True while the grab holds.
bool StandAsGrabbed(Document& doc, MeasureSession& s);

// A move with the left button: the vertex goes to (x, y). A place whose
// value cannot be computed leaves the object where the last move put it.
void DragVertex(Document& doc, MeasureSession& s, float x, float y, bool shift);

// The release: the last move, then the grab ends. Returns the name of the
// undo step ("距離の修正", "経路の修正", "面積の修正"), or nothing when the
// vertex came back to where it was (the object then is byte for byte as
// before).
std::string ReleaseVertex(Document& doc, MeasureSession& s, float x, float y, bool shift);

// Puts the grabbed object back as it was, its revision included, and lets
// go. An object that is no longer as the drag left it is not touched.
void PutVertexBack(Document& doc, MeasureSession& s);

}  // namespace planimo
