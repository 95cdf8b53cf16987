#include "measure/label_events.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "geometry/number_format.h"
#include "measure/annotations.h"
#include "measure/readout.h"
#include "model/hit_test.h"
#include "model/platform.h"

namespace planimo {

namespace {

TextRecord* LabelAt(Document& doc, std::string_view kind, int index) {
  std::vector<TextRecord>* labels = LabelsOfKind(doc.objects, kind);
  if (labels == nullptr || index < 0 || index >= static_cast<int>(labels->size())) return nullptr;
  return &(*labels)[static_cast<std::size_t>(index)];
}

bool Answers(const LabelHitFilter& f, std::string_view kind) {
  if (kind == kKindKyori) return f.kyori;
  if (kind == kKindMensekiS) return f.mensekiS;
  if (kind == kKindKeiroS) return f.keiroS;
  if (kind == kKindMoji) return f.moji;
  if (kind == kKindKeiIdoS) return f.keiIdoS;
  return false;
}

// The default sample is a control of its own, above the kept labels.
bool OnDefaultSample(const Document& doc, float x, float y) {
  const TextRecord& l = doc.live.lblDefault;
  return l.Visible && x >= l.Left && x < l.Left + l.Width && y >= l.Top && y < l.Top + l.Height;
}

MouseResult SelectForEdit(Document& doc, MeasureSession& s, std::string_view kind, int index) {
  doc.selected.strKind = std::string(kind);
  doc.selected.intIndex = static_cast<std::int16_t>(index);
  EnableEditEntries(s.menu.popEdit, kind);
  MouseResult r;
  r.popups.push_back(Popup::Edit);
  return r;
}

// A position label shows where its top-left corner stands: in the
// known-distance calibration in drawing millimetres, in the lat/long one as
// longitude and latitude. Nothing changes when the position is not finite.
void RefreshPosition(const Document& doc, MeasureSession& s, TextRecord& label) {
  const float zoom = doc.view.sngZoom;
  const float x = label.Left / zoom;
  const float y = label.Top / zoom;
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (doc.state.GE_booModeDis) {
    label.ToolTipText = "X:" + FormatNumber(label.Left, "#####0.###0") + "," + "Y:" +
                        FormatNumber(label.Top, "#####0.###0");
    label.Tag = SingleText(x) + "," + SingleText(y);
  } else if (doc.state.GE_booModeKei) {
    if (std::optional<std::string> text = PositionReadout(doc, s.readout, x, y)) {
      s.readout.txtPict[0] = *text;
      label.ToolTipText = s.readout.positionToolTip;
      label.Tag = s.readout.positionTag;
    }
  }
}

// The labels a double-click edits: value labels whatever the tool, comment
// texts and position labels with their own tool.
LabelHitFilter EditableLabels(const MenuState& m) {
  LabelHitFilter f;
  f.moji = m.mnuToolCmnt;
  f.keiIdoS = m.mnuToolPinfo;
  return f;
}

// Whether a left press is the first half of a double-click on a label while
// the text or position tool creates new ones.
bool OnEditableLabelWhileCreating(const Document& doc, const MeasureSession& s, const MouseEvent& ev) {
  const Tool tool = CurrentTool(s.menu);
  if (ev.button != 1 || !s.menu.popMojiNew || (tool != Tool::Comment && tool != Tool::Position)) return false;
  return static_cast<bool>(HitLabel(doc.objects, ev.x, ev.y, EditableLabels(s.menu)));
}

}  // namespace

void EnableEditEntries(EditMenuEnabled& e, std::string_view kind) {
  if (kind == kKindKyori || kind == kKindMensekiS || kind == kKindKeiroS) {
    // Only a distance can change sides, only the unit menu of the label's
    // own kind of value is offered, and a value label has nothing to
    // duplicate: those entries would do nothing.
    e.popEditRev = kind == kKindKyori;
    e.popEditUnitDistance = kind != kKindMensekiS;
    e.popEditUnitSquea = kind == kKindMensekiS;
    e.popEditDesiPoint = e.popEditDel = true;
    e.popEditDpp = false;
  } else if (kind == kKindMoji) {
    e.popEditRev = false;
    e.popEditDpp = e.popEditDel = true;
  } else if (kind == kKindKeiIdoS) {
    e.popEditRev = false;
    e.popEditDel = true;
  } else if (kind == kKindLeader) {
    e.popEditRev = e.popEditUnitDistance = e.popEditUnitSquea = e.popEditDesiPoint = false;
    e.popEditDpp = e.popEditDel = true;
  } else {  // the default sample: only its look can change
    e.popEditRev = e.popEditUnitDistance = e.popEditUnitSquea = e.popEditDesiPoint = false;
    e.popEditDpp = e.popEditDel = false;
  }
}

LabelHitFilter ActiveLabels(const MenuState& m) {
  LabelHitFilter f;
  f.kyori = f.mensekiS = f.keiroS = m.mnuToolMes;
  f.moji = m.mnuToolCmnt && m.popMojiSelect;
  f.keiIdoS = m.mnuToolPinfo && m.popMojiSelect;
  return f;
}

std::optional<MouseResult> LabelPress(Document& doc, MeasureSession& s, MouseEvent ev) {
  s.labelGrab = {};  // a release lost to a popup leaves nothing behind
  if (ev.button != 1 && ev.button != 2) return std::nullopt;
  if (OnDefaultSample(doc, ev.x, ev.y)) {
    s.labelGrab.held = true;
    if (ev.button == 2) return SelectForEdit(doc, s, kKindDefault, 0);
    return MouseResult{};
  }
  const LabelHit hit = HitLabel(doc.objects, ev.x, ev.y, ActiveLabels(s.menu));
  if (!hit) {
    // In "新規作成" a left press on a label is the first half of the
    // double-click that edits it, not a place for a new text: the press is
    // taken and drags nothing.
    if (!OnEditableLabelWhileCreating(doc, s, ev)) return std::nullopt;
    s.labelGrab.held = true;
    return MouseResult{};
  }
  s.labelGrab.held = true;
  if (ev.button == 2) return SelectForEdit(doc, s, hit.kind, hit.index);
  const TextRecord& label = *LabelAt(doc, hit.kind, hit.index);
  s.sngDragX = ev.x - label.Left;
  s.sngDragY = ev.y - label.Top;
  s.labelGrab.kind = hit.kind;
  s.labelGrab.index = hit.index;
  return MouseResult{};
}

std::optional<MouseResult> LabelDrag(Document& doc, MeasureSession& s, MouseEvent ev) {
  LabelGrab& g = s.labelGrab;
  if (!g.held) return std::nullopt;
  if (ev.button == 0) {
    // The release went elsewhere (a popup took it): the move is the map's.
    g = {};
    return std::nullopt;
  }
  MouseResult r;
  if (ev.button != 1 || !Answers(ActiveLabels(s.menu), g.kind)) return r;
  // A label taken away under the drag leaves nothing to move.
  TextRecord* label = LabelAt(doc, g.kind, g.index);
  if (label == nullptr || !label->Visible) return r;
  const float left = ev.x - s.sngDragX;
  const float top = ev.y - s.sngDragY;
  if (!std::isfinite(left) || !std::isfinite(top)) return r;
  if (left == label->Left && top == label->Top) return r;
  label->Left = left;
  label->Top = top;
  if (g.kind == kKindKeiIdoS) RefreshPosition(doc, s, *label);
  MarkChanged(doc);
  r.changed = true;
  return r;
}

std::optional<MouseResult> LabelRelease(MeasureSession& s) {
  if (!s.labelGrab.held) return std::nullopt;
  s.labelGrab = {};
  return MouseResult{};
}

std::optional<MouseResult> LabelDoubleClick(Document& doc, MeasureSession& s, float x, float y,
                                            PromptAsker& asker) {
  MouseResult r;
  if (OnDefaultSample(doc, x, y)) {
    s.labelGrab = {true, {}, -1};
    return r;
  }
  const LabelHit hit = HitLabel(doc.objects, x, y, EditableLabels(s.menu));
  if (!hit) return std::nullopt;
  s.labelGrab = {true, {}, -1};
  const std::string_view kind = hit.kind;
  // The prompt box is modal; look the label up again after each answer.
  const auto label = [&] { return LabelAt(doc, kind, hit.index); };
  const auto apply = [&](std::optional<std::string> answer, std::string TextRecord::*field,
                         const std::string& suffix) {
    TextRecord* l = label();
    if (l == nullptr || !answer || answer->empty()) return;
    l->*field = OneLine(*answer) + suffix;
    MarkChanged(doc);
    if (field == &TextRecord::Caption) AutoSize(*l, *doc.measurer);
    r.changed = true;
  };

  if (kind == kKindMoji) {
    apply(asker.Ask("表示文字列を入力してください", "文字列入力", label()->Caption), &TextRecord::Caption, "");
    if (label() == nullptr) return r;
    apply(asker.Ask("コメントを入力してください", "コメント入力", label()->ToolTipText),
          &TextRecord::ToolTipText, "");
  } else if (kind == kKindKeiIdoS) {
    const TextRecord& l = *label();
    apply(asker.Ask("経緯度（秒）:" + l.Tag + "\r\n表示文字列を入力してください",
                    l.ToolTipText + " 位置情報入力", l.Caption),
          &TextRecord::Caption, " ");
  } else {
    const TextRecord& l = *label();
    apply(asker.Ask("コメントを入力してください", l.Caption, l.ToolTipText), &TextRecord::ToolTipText, "");
  }
  return r;
}

}  // namespace planimo
