#pragma once

// Free annotations of the drawing: leader lines drawn with the mouse, and
// numbered comment texts and position labels placed by a click; their
// popups' numbering commands and clear-all commands; the hover text of the
// label under the pointer.

#include <optional>
#include <string>

#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

// Leader lines. Create mode: the press shows the spare as a point, the drag
// pulls its second end (Shift: horizontal, vertical or 45 degrees), the
// release keeps it when it is longer than 2 mm. Select mode: a press on an
// end moves that end to the press point at once and later drags move it
// (Shift-constrained to the other end); a press on the body drags the whole
// line freely. Nothing is grabbed by a press that hits no line.
void LeaderMouseDown(Document& doc, MeasureSession& s, float x, float y);
void LeaderMouseMove(Document& doc, MeasureSession& s, float x, float y, bool shift);
void LeaderMouseUp(Document& doc, MeasureSession& s, float x, float y, bool shift);
// A new leader line whose release will not come (a popup took it, a command
// or Escape came between) is dropped: no half-drawn line stays on the map.
void DropLeaderInProgress(Document& doc);

// A comment text (position label) at the press point, captioned header +
// sequence number + footer + " ", in the text colours and font of the style
// sample. A position label also takes the position of the point as tooltip
// and tag. The counter stops at 32767; nothing is created once the list is
// full.
void CreateText(Document& doc, float x, float y);
void CreatePosition(Document& doc, const Readout& readout, float x, float y);

// The dispatcher's hand-off to the functions above.
class CoreAnnotationTools : public AnnotationTools {
 public:
  void LeaderMouseDown(Document& doc, MeasureSession& s, float x, float y) override;
  void LeaderMouseMove(Document& doc, MeasureSession& s, float x, float y, bool shift) override;
  void LeaderMouseUp(Document& doc, MeasureSession& s, float x, float y, bool shift) override;
  void CreateText(Document& doc, float x, float y) override;
  void CreatePosition(Document& doc, const Readout& readout, float x, float y) override;
};

// The one-line input dialog with everything it hands back: the text as
// entered, the text when it is numeric (else empty), and whether it was
// cancelled.
struct DialogAnswer {
  bool cancelled = true;
  std::string text;
  std::string number;
};

class DialogAsker {
 public:
  virtual ~DialogAsker() = default;
  virtual DialogAnswer Ask(const std::string& prompt, const std::string& title, const std::string& unitLabel,
                           const std::string& initial) = 0;
};

// "ヘッダ", "フッタ", "連番初期値" of the text/position popup: ask through the
// dialog and set the affix or counter of the active tool (texts or
// positions). A cancel keeps the old value; an empty OK clears an affix; a
// start that is not a number or lies outside -32768..32767 is not taken.
// Line breaks in an answer become blanks.
void AskTextHeader(Document& doc, const MeasureSession& s, DialogAsker& asker);
void AskTextFooter(Document& doc, const MeasureSession& s, DialogAsker& asker);
void AskSequenceStart(Document& doc, const MeasureSession& s, DialogAsker& asker);

// The clear-all entry of the text/position popup, captioned for the active
// tool, and what it does: removes every text or every position label;
// numbering is kept.
std::string TextClearAllCaption(const MenuState& m);
void ClearAllTexts(Document& doc, const MeasureSession& s);
void ClearAllLeaderLines(Document& doc);

// The tool commands "文字列" and "位置情報" show every element of their list.
void SelectAnnotationTool(Document& doc, MeasureSession& s, Tool t);

// A text typed by the user as it may be stored: the object files keep one
// value per line, so carriage returns and line feeds become blanks.
std::string OneLine(std::string text);

// The hover text of what lies under the pointer: the visible style sample,
// else the top-most visible kept label of any kind. Nothing when there is no
// label or its text is empty.
std::optional<std::string> HoverText(const Document& doc, float x, float y);

}  // namespace planimo
