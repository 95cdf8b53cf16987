#pragma once

// The rules of the options and calibration dialog (frmOption), as functions
// over the document and a plain picture of the dialog's fields. The window
// only copies texts between its controls and an OptionsForm, calls these
// functions on its events and moves the focus where they say.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/document.h"
#include "model/unit_tables.h"

namespace planimo {

constexpr int kOptionTabCount = 4;  // "全般", "傾き補正", "既知の距離設定", "既知の経緯度設定"
constexpr int kDmsGroupCount = 4;   // txtKeido1, txtIdo1, txtKeido2, txtIdo2

// The controls a key can send the focus to.
enum class OptionBox {
  None,  // the focus stays where it is
  txtHojoLen,
  chkSnap,
  cmdOK,
  txtHosei,
  txtXY,
  txtPict_mm1,
  txtPict_mm2,
  txtKeido1,
  txtIdo1,
  txtKeido2,
  txtIdo2,
  txtScaleN,    // N of the drawing's scale 1:N
  txtScaleDpi,  // resolution of a scanned drawing
};

struct BoxRef {
  OptionBox box = OptionBox::None;
  int index = 0;
  bool operator==(const BoxRef&) const = default;
};

// What a key in a box asks of the window: where the focus goes next (None:
// stays) and whether the text of the box that keeps the focus is selected.
struct FocusMove {
  BoxRef focus;
  bool selectText = false;
  bool operator==(const FocusMove&) const = default;
};

// The dialog's fields as texts and plain values.
struct OptionsForm {
  int optMOde = 0;                                  // selected mode button
  std::array<std::string, kUnitCount> optUnitD{};   // captions
  std::array<std::string, kUnitCount> optUnitS{};
  int unitD = 2;                                    // selected distance unit button
  int unitS = 2;
  int vscDPointD = 2, vscDPointS = 2;
  std::string lblDPointD, lblDPointS;
  std::string txtHojoLen;
  bool chkSnap = true;
  std::array<std::string, 8> txtHosei{};
  std::array<std::string, 12> txtXY{};
  std::array<std::string, 2> lblUnit{};
  std::array<std::string, 3> lblRecio{};
  std::array<std::string, 2> txtPict_mm1{}, txtPict_mm2{};
  std::array<std::string, 4> txtKeido1{}, txtIdo1{}, txtKeido2{}, txtIdo2{};
  std::array<std::string, 8> lblPara{};
  std::string txtScaleN, txtScaleDpi;               // "縮尺から設定"
  int SSTab = 0;
  std::array<bool, kOptionTabCount> tabEnabled{true, false, true, false};
  std::string mapToolTip;  // tool tip the map shows while a tab is open
};

// The four boxes of degree/minute/second group g (0..3) and its box name.
std::array<std::string, 4>& DmsGroup(OptionsForm& f, int g);
OptionBox DmsGroupBox(int g);

// Whether tab t can be selected in the document's measurement mode.
bool TabAvailable(const ProjectState& s, int tab);

// Fills every field from the project (also choosing the units, which sets
// strUnitD / strUnitS).
void LoadOptionsForm(Document& doc, OptionsForm& f);

// Showing the dialog: the tab shown last (tab 0 when that one is unavailable
// now) is selected.
FocusMove ActivateOptionsForm(Document& doc, OptionsForm& f);

// Unit choices. A unit change does not convert any value or calibration.
void ChooseDistanceUnit(Document& doc, OptionsForm& f, int n);
void ChooseAreaUnit(Document& doc, OptionsForm& f, int n);
// A key pressed on a distance unit button: ratios refreshed, focus to OK.
FocusMove DistanceUnitKey(const Document& doc, OptionsForm& f);

// Mode 0 known distance, 1 longitude/latitude; sets the tab availability.
void ChooseMode(Document& doc, OptionsForm& f, int mode);

// Switches to tab t (tab 0 when t is unavailable): pick flags, check line and
// markers, map tool tip and the box that takes the focus.
FocusMove SelectOptionTab(Document& doc, OptionsForm& f, int tab);

// Recomputes the drawing scales and the aspect ratio from boxes 4, 5, 10, 11.
void subDisp_Rato(const Document& doc, OptionsForm& f);

// "全般": extension length, snapping, decimals.
FocusMove HojoLenEnter(Document& doc, OptionsForm& f);
void HojoLenLeave(Document& doc, OptionsForm& f);
void SetSnap(Document& doc, OptionsForm& f, bool on);
void SetDecimalsD(Document& doc, OptionsForm& f, int decimals);
void SetDecimalsS(Document& doc, OptionsForm& f, int decimals);

// "傾き補正": boxes 0..3 are the two tilt points, 4..7 the derived angles.
FocusMove HoseiEnter(const OptionsForm& f, int i);
// True when the tilt changed (the check line moved).
bool HoseiLeave(Document& doc, OptionsForm& f, int i);

// "既知の距離設定".
FocusMove XYEnter(const OptionsForm& f, int i);
void XYLeave(Document& doc, OptionsForm& f, int i);
void ApplyKnownDistance(Document& doc, OptionsForm& f);  // cmdSettei
// A reference line picked on the map: its end points and drawing length go
// into the horizontal (boxes 0-4) or vertical (6-10) pair.
void ReportDistancePick(Document& doc, OptionsForm& f, bool horizontal, float x1, float y1, float x2,
                        float y2, float length);

// "縮尺から設定" on the known-distance tab: Enter moves between N and the
// resolution.
FocusMove ScaleEnter(const OptionsForm& f, OptionBox box);
// Fills both references and their true lengths from the scale 1:N and the
// resolution, then runs "設定": the project ends up as after a known-distance
// calibration of the same lengths. A scale or resolution that is not a
// positive number is refused like an out-of-range entry: nothing changes, the
// focus goes to its box with the text selected.
FocusMove ApplyDrawingScale(Document& doc, OptionsForm& f);
// The resolution the drawing's file states, or an empty box for the user.
void ShowDrawingResolution(OptionsForm& f, std::optional<double> dpi);

// "既知の経緯度設定": point 0 is txtPict_mm1, point 1 txtPict_mm2.
FocusMove PictMmEnter(const OptionsForm& f, int point, int i);
// True when the correspondence point moved.
bool PictMmLeave(Document& doc, OptionsForm& f, int point, int i);
FocusMove DmsEnter(OptionsForm& f, int group, int i);
void DmsLeave(OptionsForm& f, int group, int i);
// cmdCnv; true when the calibration was computed, false when it was refused
// and the coefficients kept their old values.
bool ApplyLatLong(Document& doc, OptionsForm& f);

// Points picked on the map while the dialog is open: the tilt, reference and
// correspondence boxes follow the project (drawing lengths 4 and 10 are
// recomputed when their reference points moved).
void RefreshFromState(const Document& doc, OptionsForm& f);

// Closing: no more picking, check line and markers hidden, no tool tip.
void CloseOptionsForm(Document& doc, OptionsForm& f);

}  // namespace planimo
