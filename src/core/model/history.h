#pragma once

// Undo and redo over the Document. The history keeps the undoable content of
// the drawing as it stood at the last checkpoint (the kept records, the
// project values, the numbering of new texts and positions, the style of new
// objects) and, at each checkpoint after a user action, compares the
// Document with it: a difference becomes one step holding the content before
// and after, with a caption naming the action. Undo and redo put a step's
// content and its revision number back, so stepping back to the saved
// content makes the drawing unchanged again.
//
// Not undoable: zoom and scrolling, the live objects of a measurement in
// progress, tools, modes and folder settings.
//
// Steps share what did not change: every collection is held in blocks of
// records, and a block equal to the one before is the same immutable block.
// Keeping one distance among 10,000 therefore costs the two or three blocks
// at the end. Records stand in view millimetres at the zoom of their step;
// a step taken at another zoom is rescaled on the way back.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/document.h"

namespace planimo {

// The history gives up its oldest steps beyond this many bytes of changed
// record blocks (besides one copy of the drawing it always shares).
constexpr std::size_t kHistoryMemoryLimit = std::size_t{100} << 20;

// Records per shared block.
constexpr std::size_t kHistoryBlock = 64;

template <class R>
struct RecordBlocks {
  std::vector<std::shared_ptr<const std::vector<R>>> blocks;
  std::size_t size = 0;
};

// The undoable content of a Document at one moment.
struct ContentSnapshot {
  RecordBlocks<TextRecord> lblKyori, lblKeiroS, lblMensekiS, lblMoji, lblKeiIdoS;
  RecordBlocks<LineRecord> lineDsSave, lineHojoSave, linePS, lineHikidashi;
  RecordBlocks<ShapeRecord> shpSnpo;
  std::shared_ptr<const ProjectState> state;
  TextNumbering numbering;
  LineRecord lineStyle;   // linDefault: colour, style, width
  TextRecord labelStyle;  // lblDefault: colours, styles, font
  float zoom = 1.0f;      // sngZoomPrev: the factor the records stand at
  std::uint64_t revision = 0;
};

struct HistoryStep {
  std::string caption;
  ContentSnapshot before, after;
  std::size_t bytes = 0;  // blocks this step made, and its own bookkeeping
};

struct History {
  std::deque<HistoryStep> undo;  // oldest first
  std::vector<HistoryStep> redo;  // the next to redo last
  ContentSnapshot baseline;       // the Document as of the last checkpoint
  std::size_t bytes = 0;
  std::size_t limit = kHistoryMemoryLimit;
};

// Empties the history and takes the Document as it is now as its start
// (program start, a new drawing, an opened project).
void ResetHistory(History& h, const Document& doc);

// Ends a user action: when the undoable content differs from the last
// checkpoint, records one step named `caption` (or, when it is empty, after
// what changed) and drops the steps that could be redone. A change that did
// not advance the revision is marked as a change of the drawing when it
// touches what a project stores. Returns true when a step was recorded.
bool Checkpoint(History& h, Document& doc, const std::string& caption);

bool CanUndo(const History& h);
bool CanRedo(const History& h);
// "元に戻す: <caption>" / "やり直し: <caption>", or the bare command name
// when there is nothing to undo or redo.
std::string UndoMenuText(const History& h);
std::string RedoMenuText(const History& h);

// Put back the content before (undo) or after (redo) the step, with its
// revision number; false when there is no step. The caller abandons any
// running measurement first: live objects are not part of a step.
bool Undo(History& h, Document& doc);
bool Redo(History& h, Document& doc);

}  // namespace planimo
