#pragma once

// The interaction state of the map: which tool and measurement mode are
// chosen, the check marks and enabled states of the popups the shell shows,
// the flags of a measurement in progress, and the commands of the tool menu
// and of the measurement popup.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "measure/vertex_grab.h"
#include "model/document.h"
#include "model/records.h"

namespace planimo {

enum class Tool { Measure, Leader, Comment, Position };
enum class MeasureMode { Select, Line, Path, Circle, Specified };
enum class Popup { Mes, Hosei, Dis, Taiou, Hikidashi, Edit, Moji };

// Enabled state of the edit popup's entries; set per tool.
struct EditMenuEnabled {
  bool popEditRev = true;
  bool popEditColor = true;
  bool popEditFont = true;
  bool popEditWidthP = true;
  bool popEditStyle = true;
  bool popEditBorderColor = true;
  bool popEditUnitDistance = true;
  bool popEditUnitSquea = true;
  bool popEditDesiPoint = true;
  bool popEditDpp = false;
  bool popEditDel = true;
};

// Check marks (and the few enabled states) the shell's menus reflect. The
// marks are the state: the current tool and mode are read from them.
struct MenuState {
  bool mnuToolMes = true, mnuToolLine = false, mnuToolCmnt = false, mnuToolPinfo = false;

  bool popMesCancel = false, popMesLine = true, popMesRenzoku = false, popMesCir = false,
       popMesInput = false;
  bool popMesPutSen = true;
  bool popMesPutMen = false;
  bool popMesPutMenEnabled = false;
  bool popMesAllClr = false;
  std::array<bool, 6> popMesHj{false, false, true, false, false, false};  // 5..30 mm

  bool popHoseiL = false, popHoseiR = false;
  bool popDisX = true, popDisY = false;
  bool popTaiou1 = false, popTaiou2 = false;

  bool popHkdSenNew = true, popHkdSenSelect = false;
  bool popMojiNew = true, popMojiSelect = false;

  // Range zoom modes of the display menu (hidden entries; normally off).
  bool mnuDispEnlarge = false, mnuDispFit = false;
  // The fixed zoom factor chosen last: mnuDisp200 (125 %), mnuDisp100,
  // mnuDisp80 (75 %), mnuDisp50, mnuDisp25; cleared by any other zoom.
  std::array<bool, 5> mnuDispZoom{};
  bool mnuDispAxis = false;    // the coordinate read-out row is shown
  bool mnuDspDefault = true;   // the default-style sample is shown

  // Commands that write a drawing out start disabled until there is one.
  bool mnuFileSavePrjEnabled = false;
  bool mnuFileSaveAsPrjEnabled = false;
  bool mnuFileSaveAsImgEnabled = false;
  bool mnuFileSaveCsvEnabled = false;
  // The whole tool menu is off while the options dialog is open: a tool
  // chosen then would be overridden when the dialog closes.
  bool mnuEditSetEnabled = true;

  EditMenuEnabled popEdit;
};

// Flags of a measurement in progress; all start False.
struct RunFlags {
  bool booMesRunDis = false, booMesRunKei = false;
  bool booMesMovedDis = false, booMesMovedKei = false;
  bool booMesShownDis = false, booMesShownKei = false;
  bool booPathStarted = false;
  bool booKnownDisRun = false, booKnownDisMoved = false;

  bool Running() const { return booMesRunDis || booMesRunKei; }
  bool operator==(const RunFlags&) const = default;
};

// Read-out boxes txtPict 0..6 and the pointer texts kept for the next
// position label.
struct Readout {
  std::array<std::string, 7> txtPict{};
  std::string positionToolTip;
  std::string positionTag;
  float drawingX = 0, drawingY = 0;  // last pointer in drawing millimetres
};

// A press a kept label took: the map sees nothing more of it until the
// button is released. A left press also names the label it drags.
struct LabelGrab {
  bool held = false;
  std::string kind;
  int index = -1;
};

struct MeasureSession {
  MenuState menu;
  RunFlags flags;
  double dblFixedDistance = 0;
  std::int16_t intHkdIndex = 0;
  std::int16_t intHkdHandle = -1;
  float sngDragX = 0, sngDragY = 0;  // label drag anchor, mm inside the label
  LabelGrab labelGrab;
  VertexGrab vertexGrab;
  Readout readout;
  std::string panel3 = "測定ツール";
  std::string panel4 = "直線の測定";
};

// The one-line input dialog as the core needs it; the shell shows the modal
// dialog, tests answer from a script. nullopt is a cancel.
class InputAsker {
 public:
  virtual ~InputAsker() = default;
  virtual std::optional<std::string> AskNumber(const std::string& prompt, const std::string& title,
                                               const std::string& unitLabel,
                                               const std::string& initial) = 0;
};

Tool CurrentTool(const MenuState& m);
MeasureMode CurrentMode(const MenuState& m);
bool RangeZoomChecked(const MenuState& m);

std::string ToolCaption(Tool t);
// Text of status panel 4 for the checked tool and mode.
std::string ModeText(const MenuState& m);

// Tool menu commands: check the tool, set the edit popup, the two panels.
// The text and position tools also reset their popup to "新規作成".
void SelectTool(MeasureSession& s, Tool t);

// Measurement mode commands. The specified-distance mode asks the distance
// through `asker` (may be null: then nothing is asked).
void SelectMode(Document& doc, MeasureSession& s, MeasureMode mode, InputAsker* asker);

void TogglePutSen(MeasureSession& s);
void TogglePutMen(MeasureSession& s);

// Extension-line length preset: 5, 10, 15, 20, 25 or 30 view millimetres;
// other values are ignored.
void SetExtensionLength(Document& doc, MeasureSession& s, int millimetres);

// "測定データ全消去": abandons the live measurement and clears every kept
// distance, route and area; the mode is kept.
void ClearMeasurementData(Document& doc, MeasureSession& s);

// Point selectors of the calibration popups: choosing one checks it and
// unchecks its partner (index 0 left / horizontal / point 1, 1 the other).
void ChooseHoseiPoint(MeasureSession& s, int which);
void ChooseDisPair(MeasureSession& s, int which);
void ChooseTaiouPoint(MeasureSession& s, int which);

// Sub-modes of the leader-line and text/position popups.
void ChooseLeaderCreate(MeasureSession& s, bool create);
void ChooseTextCreate(MeasureSession& s, bool create);

// The display menu: the factor of a fixed zoom item (0 is 125 %, then 100,
// 75, 50 and 25 %), checking it alone; the read-out row; the style sample,
// whose label and line show or hide with the check mark.
float CheckFixedZoom(MeasureSession& s, int item);
void ClearZoomChecks(MeasureSession& s);
void ToggleReadoutRow(MeasureSession& s);
void ToggleDefaultSample(Document& doc, MeasureSession& s);

// A new drawing was opened: it can be saved under a name, exported as CSV,
// but not saved over a project file it does not have yet.
void EnableNewDrawingCommands(MeasureSession& s);

}  // namespace planimo
