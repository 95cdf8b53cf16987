#pragma once

// Mouse events of the kept labels. The labels lie over the drawing like
// controls: a press on a label that answers to the checked tool goes to the
// label (drag with the left button, edit popup with the right), every other
// press reaches the map. A double-click asks for a comment or a new text.

#include <optional>
#include <string>
#include <string_view>

#include "measure/dispatcher.h"
#include "measure/tool_state.h"
#include "model/document.h"
#include "model/hit_test.h"

namespace planimo {

inline constexpr const char* kKindDefault = "Default";

// The platform's simple prompt box: prompt, title and default answer;
// nullopt is a cancel.
class PromptAsker {
 public:
  virtual ~PromptAsker() = default;
  virtual std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                         const std::string& defaultAnswer) = 0;
};

// Which kept labels take a press under the checked tool: value labels with
// the measuring tool, comment texts and position labels in the select mode
// of their own tool.
LabelHitFilter ActiveLabels(const MenuState& m);

// The edit popup's entries a right press on an object of `kind` (a label
// kind, a leader line, the default sample) decides; what a kind does not
// mention keeps its state from the tool.
void EnableEditEntries(EditMenuEnabled& e, std::string_view kind);

// A press on the map. nullopt: no active label (nor the visible default
// sample) lies under the pointer and the press belongs to the map. Otherwise
// the label took it and keeps the following moves until the release: a left
// press grabs the label for dragging, a right press selects it, sets the
// edit popup's entries and asks for popEdit. While the text or position
// tool creates new ones, a left press on a label its double-click edits is
// taken too (and drags nothing), so that no new text appears under it.
std::optional<MouseResult> LabelPress(Document& doc, MeasureSession& s, MouseEvent ev);

// A move while a label holds the press; nullopt when none does. With the
// left button held and the label still answering to the tool, the label's
// top-left corner follows the pointer minus the anchor; a position label
// then takes the position of its new corner as tooltip and tag.
std::optional<MouseResult> LabelDrag(Document& doc, MeasureSession& s, MouseEvent ev);

// The release of a press a label took; nullopt when none did.
std::optional<MouseResult> LabelRelease(MeasureSession& s);

// A double-click on the map: asks through `asker` for the comment or text of
// the label under the pointer and applies each non-empty answer. Value
// labels answer whatever the tool; comment texts only to the text tool,
// position labels only to the position tool. nullopt when no such label
// lies under the pointer. A handled double-click also takes the release
// that follows it.
std::optional<MouseResult> LabelDoubleClick(Document& doc, MeasureSession& s, float x, float y,
                                            PromptAsker& asker);

}  // namespace planimo
