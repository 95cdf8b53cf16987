#include "measure/edit_commands.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/leader_hit.h"
#include "geometry/units.h"
#include "measure/label_events.h"
#include "measure/line_measure.h"
#include "measure/vertex_drag.h"
#include "model/hit_test.h"
#include "model/value_tag.h"

namespace planimo {

namespace {

constexpr float kDuplicateOffset = 5;  // view millimetres right and down

bool Is(const Document& doc, std::string_view kind) { return doc.selected.strKind == kind; }

template <class R>
R* Element(std::vector<R>& c, int i) {
  if (i < 0 || i >= static_cast<int>(c.size()) || !c[static_cast<std::size_t>(i)].Visible) return nullptr;
  return &c[static_cast<std::size_t>(i)];
}

// The selected label, the style sample when the sample is selected, or null
// (a leader line, nothing selected, an index that no longer exists).
TextRecord* SelectedLabel(Document& doc) {
  if (Is(doc, kKindDefault)) return &doc.live.lblDefault;
  std::vector<TextRecord>* list = LabelsOfKind(doc.objects, doc.selected.strKind);
  if (list == nullptr) return nullptr;
  // The comment list's element 0 is its template, never an object.
  if (Is(doc, kKindMoji) && doc.selected.intIndex == 0) return nullptr;
  return Element(*list, doc.selected.intIndex);
}

LineRecord* SelectedLeader(Document& doc) {
  return Is(doc, kKindLeader) ? Element(doc.objects.lineHikidashi, doc.selected.intIndex) : nullptr;
}

// The lines a line look command reaches: a distance's dimension line and
// extension lines, the outline segments of a route or area, a leader line.
std::vector<LineRecord*> SelectedLines(Document& doc) {
  std::vector<LineRecord*> lines;
  Collections& o = doc.objects;
  const int k = doc.selected.intIndex;
  if (Is(doc, kKindKyori)) {
    if (Element(o.lblKyori, k) == nullptr) return lines;
    for (LineRecord* l : {Element(o.lineDsSave, k), Element(o.lineHojoSave, 2 * k), Element(o.lineHojoSave, 2 * k + 1)}) {
      if (l != nullptr) lines.push_back(l);
    }
  } else if (Is(doc, kKindMensekiS) || Is(doc, kKindKeiroS)) {
    const TextRecord* label = SelectedLabel(doc);
    if (label == nullptr || label->Tag.empty()) return lines;
    // The spare never belongs to an outline, whatever its tag says.
    for (std::size_t i = 0; i + 1 < o.linePS.size(); ++i) {
      if (o.linePS[i].Tag == label->Tag) lines.push_back(&o.linePS[i]);
    }
  } else if (LineRecord* l = SelectedLeader(doc)) {
    lines.push_back(l);
  }
  return lines;
}

// The style samples belong to the window, not to the drawing: a command
// that restyles only them leaves the drawing unchanged.
void MarkChangedIf(Document& doc, bool drawingChanged) {
  if (drawingChanged) MarkChanged(doc);
}

// The sample label keeps its line under it as wide as itself.
void FitSample(Document& doc) {
  TextRecord& label = doc.live.lblDefault;
  AutoSize(label, *doc.measurer);
  doc.live.linDefault.X2 = label.Left + label.Width;
}

void ApplyFont(TextRecord& l, const FontChoice& f) {
  l.FontBold = f.bold;
  l.FontItalic = f.italic;
  l.FontName = f.name;
  l.FontSize = f.size;
  l.FontStrikethru = f.strikethru;
  l.FontUnderline = f.underline;
}

// A label look: the selected label (a leader line takes it as its line
// colour when `leaderField` is given), then the sample.
template <class T>
bool SetLabelField(Document& doc, T TextRecord::*field, T value, Colour LineRecord::*leaderField = nullptr) {
  bool drawing = false;
  if (TextRecord* l = SelectedLabel(doc)) {
    l->*field = value;
    drawing = l != &doc.live.lblDefault;
  } else if (LineRecord* line = SelectedLeader(doc); line != nullptr && leaderField != nullptr) {
    line->*leaderField = static_cast<Colour>(value);
    drawing = true;
  }
  doc.live.lblDefault.*field = value;
  MarkChangedIf(doc, drawing);
  return true;
}

// Caption and tag of value label `label` rebuilt for unit `unit`, decimals
// `decimals` and `value`; a route's or area's segments follow the new tag.
void Relabel(Document& doc, TextRecord& label, bool area, int unit, int decimals, double value) {
  const std::string caption =
      area ? AreaCaption(doc.settings.units, unit) : DistanceCaption(doc.settings.units, unit);
  const std::string oldTag = label.Tag;
  label.Caption = ValueLabelText(value, decimals, caption, doc.state);
  label.Tag.clear();  // a label never collides with itself
  std::string tag = BuildValueTag(unit, decimals, value, doc.clock->Now());
  const bool linked = Is(doc, kKindMensekiS) || Is(doc, kKindKeiroS);
  if (linked) {
    tag = UniqueValueTag(tag, doc.objects);
    for (std::size_t i = 0; i + 1 < doc.objects.linePS.size(); ++i) {
      LineRecord& seg = doc.objects.linePS[i];
      if (!oldTag.empty() && seg.Tag == oldTag) seg.Tag = tag;
    }
  }
  label.Tag = tag;
  AutoSize(label, *doc.measurer);
  MarkChanged(doc);
}

bool ChangeUnit(Document& doc, int unit, bool area) {
  if (!IsUnitIndex(unit)) return false;
  const bool kindOk = area ? Is(doc, kKindMensekiS) : (Is(doc, kKindKyori) || Is(doc, kKindKeiroS));
  TextRecord* label = kindOk ? SelectedLabel(doc) : nullptr;
  if (label == nullptr) return false;
  const std::optional<ValueTag> t = ParseValueTag(label->Tag);
  if (!t || t->unit == unit) return false;
  const UnitTables& u = doc.settings.units;
  const double v = area ? ConvertArea(t->value, t->unit, unit, u) : ConvertDistance(t->value, t->unit, unit, u);
  if (!std::isfinite(v)) return false;
  Relabel(doc, *label, area, unit, t->decimals, v);
  return true;
}

bool Choose(Document& doc, ColourChooser& chooser, Colour initial, bool (*apply)(Document&, Colour)) {
  const std::optional<Colour> c = chooser.Choose(initial);
  return c && apply(doc, *c);
}

}  // namespace

FontChoice FontOf(const TextRecord& l) {
  return {l.FontName, l.FontSize, l.FontBold, l.FontItalic, l.FontStrikethru, l.FontUnderline};
}

bool DeleteSelected(Document& doc) {
  Collections& o = doc.objects;
  const int k = doc.selected.intIndex;
  const bool labelKind = !Is(doc, kKindDefault) && SelectedLabel(doc) != nullptr;
  if (Is(doc, kKindKyori) && labelKind && k < UBound(o.lblKyori)) {
    RemoveDistanceObject(o, k);
  } else if ((Is(doc, kKindMensekiS) || Is(doc, kKindKeiroS)) && labelKind) {
    RemoveTagged(o, *LabelsOfKind(o, doc.selected.strKind), k);
  } else if ((Is(doc, kKindMoji) || Is(doc, kKindKeiIdoS)) && labelKind) {
    RemoveAt(*LabelsOfKind(o, doc.selected.strKind), k);
  } else if (SelectedLeader(doc) != nullptr && k < UBound(o.lineHikidashi)) {
    RemoveAt(o.lineHikidashi, k);
  } else {
    return false;
  }
  // The index now names another object, or none.
  doc.selected = {};
  MarkChanged(doc);
  return true;
}

bool DeleteSelected(Document& doc, MeasureSession& s) {
  // A vertex still held goes back before the indices move under it.
  PutVertexBack(doc, s);
  const bool leader = SelectedLeader(doc) != nullptr;
  const int k = doc.selected.intIndex;
  const std::string kind = doc.selected.strKind;
  if (!DeleteSelected(doc)) return false;
  if (leader && k == s.intHkdIndex) s.intHkdHandle = kHandleNone;
  if (leader && k < s.intHkdIndex) --s.intHkdIndex;
  // A label being dragged follows its collection down; the deleted one
  // leaves the rest of the drag nothing to move.
  LabelGrab& g = s.labelGrab;
  if (!leader && g.held && g.index >= 0 && g.kind == kind) {
    if (g.index == k) {
      g.index = -1;
    } else if (g.index > k) {
      --g.index;
    }
  }
  return true;
}

bool ReverseSelectedDimension(Document& doc) {
  Collections& o = doc.objects;
  const int k = doc.selected.intIndex;
  if (!Is(doc, kKindKyori) || Element(o.lblKyori, k) == nullptr || k >= UBound(o.lblKyori)) return false;
  LineRecord* a = Element(o.lineHojoSave, 2 * k);
  LineRecord* b = Element(o.lineHojoSave, 2 * k + 1);
  LineRecord* dim = Element(o.lineDsSave, k);
  if (a == nullptr || b == nullptr || dim == nullptr) return false;
  TurnDimensionOver(o, k);
  MarkChanged(doc);
  return true;
}

bool SetLineWidth(Document& doc, int width) {
  if (width < 1 || width > 9) return false;
  const std::vector<LineRecord*> lines = SelectedLines(doc);
  for (LineRecord* l : lines) l->BorderWidth = static_cast<std::int16_t>(width);
  doc.live.linDefault.BorderWidth = static_cast<std::int16_t>(width);
  MarkChangedIf(doc, !lines.empty());
  return true;
}

bool SetLineStyle(Document& doc, int style) {
  if (style < kStyleSolid || style > kStyleDashDotDot) return false;
  const std::vector<LineRecord*> lines = SelectedLines(doc);
  for (LineRecord* l : lines) l->BorderStyle = static_cast<std::int16_t>(style);
  doc.live.linDefault.BorderStyle = static_cast<std::int16_t>(style);
  MarkChangedIf(doc, !lines.empty());
  return true;
}

bool SetLineColour(Document& doc, Colour c) {
  const std::vector<LineRecord*> lines = SelectedLines(doc);
  for (LineRecord* l : lines) l->BorderColor = c;
  const int k = doc.selected.intIndex;
  if (Is(doc, kKindKyori) && Element(doc.objects.lblKyori, k) != nullptr) {
    for (int i : {2 * k, 2 * k + 1}) {
      if (ShapeRecord* m = Element(doc.objects.shpSnpo, i)) m->BorderColor = m->FillColor = c;
    }
  }
  doc.live.linDefault.BorderColor = c;
  MarkChangedIf(doc, !lines.empty());
  return true;
}

bool SetTextColour(Document& doc, Colour c) {
  return SetLabelField(doc, &TextRecord::ForeColor, c, &LineRecord::BorderColor);
}

bool SetBackColour(Document& doc, Colour c) {
  return SetLabelField(doc, &TextRecord::BackColor, c, &LineRecord::BorderColor);
}

bool SetBackStyle(Document& doc, int style) {
  if (style != 0 && style != 1) return false;
  return SetLabelField(doc, &TextRecord::BackStyle, static_cast<std::int16_t>(style));
}

bool SetBorderStyle(Document& doc, int style) {
  if (style != 0 && style != 1) return false;
  return SetLabelField(doc, &TextRecord::BorderStyle, static_cast<std::int16_t>(style));
}

bool SetLabelFont(Document& doc, const FontChoice& font) {
  if (font.name.empty() || !(font.size > 0) || !std::isfinite(font.size)) return false;
  TextRecord* l = SelectedLabel(doc);
  if (l != nullptr) {
    ApplyFont(*l, font);
    AutoSize(*l, *doc.measurer);
  }
  ApplyFont(doc.live.lblDefault, font);
  FitSample(doc);
  MarkChangedIf(doc, l != nullptr && l != &doc.live.lblDefault);
  return true;
}

bool ChooseLineColour(Document& doc, ColourChooser& chooser) {
  const std::vector<LineRecord*> lines = SelectedLines(doc);
  const Colour initial = lines.empty() ? doc.live.linDefault.BorderColor : lines.front()->BorderColor;
  return Choose(doc, chooser, initial, &SetLineColour);
}

bool ChooseTextColour(Document& doc, ColourChooser& chooser) {
  const TextRecord* l = SelectedLabel(doc);
  return Choose(doc, chooser, (l ? *l : doc.live.lblDefault).ForeColor, &SetTextColour);
}

bool ChooseBackColour(Document& doc, ColourChooser& chooser) {
  const TextRecord* l = SelectedLabel(doc);
  return Choose(doc, chooser, (l ? *l : doc.live.lblDefault).BackColor, &SetBackColour);
}

bool ChooseLabelFont(Document& doc, FontChooser& chooser) {
  const TextRecord* l = SelectedLabel(doc);
  const std::optional<FontChoice> f = chooser.Choose(FontOf(l ? *l : doc.live.lblDefault));
  return f && SetLabelFont(doc, *f);
}

bool ChangeDistanceUnit(Document& doc, int unit) { return ChangeUnit(doc, unit, false); }

bool ChangeAreaUnit(Document& doc, int unit) { return ChangeUnit(doc, unit, true); }

bool ChangeDecimals(Document& doc, int decimals) {
  if (decimals < 0 || decimals > 6) return false;
  const bool area = Is(doc, kKindMensekiS);
  if (!area && !Is(doc, kKindKyori) && !Is(doc, kKindKeiroS)) return false;
  TextRecord* label = SelectedLabel(doc);
  if (label == nullptr) return false;
  const std::optional<ValueTag> t = ParseValueTag(label->Tag);
  if (!t) return false;
  Relabel(doc, *label, area, t->unit, decimals, t->value);
  return true;
}

bool DuplicateSelected(Document& doc) {
  Collections& o = doc.objects;
  if (Is(doc, kKindMoji)) {
    const TextRecord* src = SelectedLabel(doc);
    if (src == nullptr || static_cast<int>(o.lblMoji.size()) > kMaxIndex) return false;
    TextRecord copy = *src;
    copy.Left += kDuplicateOffset;
    copy.Top += kDuplicateOffset;
    copy.ToolTipText.clear();
    o.lblMoji.push_back(std::move(copy));
  } else if (const LineRecord* src = SelectedLeader(doc)) {
    // The copy fills the spare, and a new spare closes the list again.
    if (static_cast<int>(o.lineHikidashi.size()) > kMaxIndex) return false;
    LineRecord copy = *src;
    copy.X1 += kDuplicateOffset;
    copy.X2 += kDuplicateOffset;
    copy.Y1 += kDuplicateOffset;
    copy.Y2 += kDuplicateOffset;
    o.lineHikidashi.back() = copy;
    AppendSpare(o.lineHikidashi);
  } else {
    return false;
  }
  MarkChanged(doc);
  return true;
}

}  // namespace planimo
