#pragma once

// Leaving an unfinished measurement. A command that arrives while a line,
// circle or specified distance waits for its end, while a path is being
// drawn or has fixed segments, or while the known-distance picking line
// follows the pointer, drops that measurement whole: the next left click
// starts a new one at the clicked point. Zooms, toolbar buttons, New drawing,
// Open, the options dialog, tool and mode changes and "測定データ全消去" all
// call it; so will a cancel key.

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// Clears the running, moved, shown and path-started flags and those of the
// picking line, hides the live line, label, extension lines, circle and snap
// marker, drops a leader line being pulled out, puts a vertex being
// dragged back where it was, and resets the working path. Kept records,
// the mode and the tool are left as they are.
void AbandonMeasurement(Document& doc, MeasureSession& s);

// True while a measurement or the picking line waits for its next click,
// or a vertex of a kept measurement is being dragged.
bool MeasurementRunning(const MeasureSession& s);

// subResetDispMenu: the zoom check marks cleared, the measurement abandoned.
void ResetDisplayMenu(Document& doc, MeasureSession& s);

// The options dialog has closed: a picking line it left following the
// pointer goes with it, so that no later click sets a calibration; the tool
// menu is offered again and the measuring tool is chosen.
void LeaveOptionsDialog(Document& doc, MeasureSession& s);

}  // namespace planimo
