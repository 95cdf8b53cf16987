#pragma once

// The commands of the edit popup "p編集". Each acts on the object last chosen
// with the right button (SelectedObject) and is one plain call over the
// Document, so that one user action is one step a history can wrap. Every
// look command also gives its look to the style sample, so that the next new
// object looks like the last edited one. A command that changes nothing
// returns false; one that restyles only the samples (which are not part of
// the drawing) leaves the revision as it was.

#include <optional>
#include <string>

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// The six font properties of a label, as the font chooser presets and
// returns them.
struct FontChoice {
  std::string name;
  float size = 0;
  bool bold = false, italic = false, strikethru = false, underline = false;
};

FontChoice FontOf(const TextRecord& label);

// The platform's colour and font choosers; nullopt is a cancel.
class ColourChooser {
 public:
  virtual ~ColourChooser() = default;
  virtual std::optional<Colour> Choose(Colour initial) = 0;
};

class FontChooser {
 public:
  virtual ~FontChooser() = default;
  virtual std::optional<FontChoice> Choose(const FontChoice& initial) = 0;
};

// "消去": removes the selected object with everything that belongs to it (a
// distance's lines and markers, a route's or area's outline segments); the
// selection is then cleared.
bool DeleteSelected(Document& doc);

// "消去" as the popup gives it, which a right press may open in the middle
// of a leader-line drag: the grab ends with its line, and follows it down
// when an earlier line goes, so the rest of the drag never moves another.
// A label being dragged is followed the same way, and a vertex still held
// goes back first (the list's row popup may come at any time).
bool DeleteSelected(Document& doc, MeasureSession& s);

// "測定線の反対側へ移動": mirrors the selected distance's extension lines
// through their measured points and moves its dimension line, markers and
// label with them. Twice puts it back.
bool ReverseSelectedDimension(Document& doc);

// "線の幅" (1..9 pixels) and "線の種類" (codes 1..5): the selected distance's
// dimension and extension lines, a route's or area's outline segments, or a
// leader line; then the line sample.
bool SetLineWidth(Document& doc, int width);
bool SetLineStyle(Document& doc, int style);

// "線の色....": as the width, and a distance's end markers too.
bool SetLineColour(Document& doc, Colour c);
// "前景色....", "背景色....": the selected label's text or background colour
// (a leader line takes either as its line colour); then the label sample.
bool SetTextColour(Document& doc, Colour c);
bool SetBackColour(Document& doc, Colour c);
// "背景スタイル" (0 transparent, 1 opaque) and "境界" (0 none, 1 line).
bool SetBackStyle(Document& doc, int style);
bool SetBorderStyle(Document& doc, int style);
// "フォント....": the selected label (or the sample itself), then the sample.
bool SetLabelFont(Document& doc, const FontChoice& font);

// The same commands with their chooser: preset with the current look, a
// cancel changes nothing.
bool ChooseLineColour(Document& doc, ColourChooser& chooser);
bool ChooseTextColour(Document& doc, ColourChooser& chooser);
bool ChooseBackColour(Document& doc, ColourChooser& chooser);
bool ChooseLabelFont(Document& doc, FontChooser& chooser);

// "単位変換（距離・寸法）" on a distance or route label, "単位変換（面積）" on an
// area label: the value in the new unit, caption and tag rebuilt (a route's
// or area's segments take the new tag). The label's own unit changes nothing.
bool ChangeDistanceUnit(Document& doc, int unit);
bool ChangeAreaUnit(Document& doc, int unit);

// "小数点" 0..6 on a value label: the caption shows the tag's value with the
// new number of decimals; the value keeps its full precision.
bool ChangeDecimals(Document& doc, int decimals);

// "複製": a copy of the selected comment text or leader line, 5 mm right
// and down. Other kinds have nothing to duplicate.
bool DuplicateSelected(Document& doc);

}  // namespace planimo
