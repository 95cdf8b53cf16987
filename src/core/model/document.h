#pragma once

// The one session object the core hands around: settings, project state,
// the collections of kept records, the working objects of a measurement in
// progress and the plain view state the shell reflects.

#include <cstdint>
#include <memory>
#include <string>

#include "model/collections.h"
#include "model/platform.h"
#include "model/project_state.h"
#include "model/unit_tables.h"

namespace planimo {

// Zoom factors of the map view: sngZoom is the factor shown, sngZoomPrev the
// factor at which the kept records currently stand.
struct ViewState {
  float sngZoom = 1.0f;
  float sngZoomPrev = 1.0f;
};

// Running numbers and affixes of new comment texts and position labels.
struct TextNumbering {
  std::int16_t textNumber = 0;
  std::int16_t positionNumber = 0;
  std::string textPrefix = "New ";
  std::string textSuffix;
  std::string positionPrefix;
  std::string positionSuffix;
  bool operator==(const TextNumbering&) const = default;
};

// The object last chosen with the right button; edit and delete act on it.
struct SelectedObject {
  std::string strKind;
  std::int16_t intIndex = 0;
};

// Where the drawing is kept and what the status bar says about it.
struct DrawingFiles {
  std::string projectFolder;    // ends with its separator; set by Open and Save As
  std::string projectFileName;  // used by Save; empty until there is a project file
  std::string panel1;           // drawing (project file) name
  std::string panel2;           // image file name
  std::string panel6;           // image folder, also its tool tip
};

struct Document {
  Document();

  AppSettings settings;
  ProjectState state;
  Collections objects;
  WorkingObjects live;
  ViewState view;
  TextNumbering numbering;
  SelectedObject selected;
  DrawingFiles files;
  std::string specifiedDistanceCaption = "50m";  // popMes entry, "50 " + strUnitD
  std::int16_t intPrintMethod = 0;

  // Identifies the drawing's current content: every command that changes the
  // drawing or the project calls MarkChanged, which gives it a fresh number.
  // The drawing is unsaved while `revision` differs from `savedRevision`;
  // stepping back through a history restores an earlier number.
  std::uint64_t revision = 0;
  std::uint64_t savedRevision = 0;
  std::uint64_t lastRevisionIssued = 0;

  // Platform services; the core's stand-ins until the shell installs its own.
  std::shared_ptr<const TextMeasurer> measurer;
  std::shared_ptr<const Clock> clock;
};

// Records that the drawing or the project changed.
inline void MarkChanged(Document& doc) { doc.revision = ++doc.lastRevisionIssued; }
inline bool HasUnsavedChanges(const Document& doc) { return doc.revision != doc.savedRevision; }

// Puts every project value with a default back to it, in the documented
// order, together with the view and numbering state that goes with it.
void ResetProjectDefaults(Document& doc);

// Places the default-style sample at the top-left of the drawing: the label
// at 10.2645 mm, the line 4 mm below its top edge across its width, then the
// caption "デフォルト ".
void PlaceDefaultSample(Document& doc);

// Moves the calibration check line and its two markers (visibility unchanged).
void ShowTiltLine(Document& doc, float x1, float y1, float x2, float y2);

}  // namespace planimo
