#include "measure/annotations.h"

#include <cmath>
#include <limits>
#include <vector>

#include "geometry/distance.h"
#include "geometry/leader_hit.h"
#include "geometry/number_format.h"
#include "geometry/shift_constraint.h"
#include "measure/readout.h"
#include "model/hit_test.h"

namespace planimo {

namespace {

// A new leader line shorter than this is taken for a plain click.
constexpr float kMinLeaderLength = 2;

LineRecord* GrabbedLeader(Document& doc, const MeasureSession& s) {
  auto& lines = doc.objects.lineHikidashi;
  const int i = s.intHkdIndex;
  if (i < 0 || i >= static_cast<int>(lines.size()) || !lines[static_cast<std::size_t>(i)].Visible) return nullptr;
  return &lines[static_cast<std::size_t>(i)];
}

// The spare while a new leader line is being drawn in it, else null: the
// press shows it, a release or a clear-all hides it.
LineRecord* LeaderInProgress(Document& doc) {
  LineRecord& spare = doc.objects.lineHikidashi.back();
  return spare.Visible ? &spare : nullptr;
}

bool Finite(PointF p) { return std::isfinite(p.x) && std::isfinite(p.y); }

PointF Constrained(float fx, float fy, float x, float y, bool shift) {
  return ApplyShiftConstraint({fx, fy}, {x, y}, shift);
}

// Appends a label to a template-headed list as a copy of its template (back
// style and border come from there), in the sample's colours and font.
TextRecord* AppendNumbered(Document& doc, std::vector<TextRecord>& list, const std::string& caption,
                           float x, float y) {
  if (static_cast<int>(list.size()) > kMaxIndex) return nullptr;
  TextRecord label = list.front();
  const TextRecord& d = doc.live.lblDefault;
  label.Caption = caption;
  label.ToolTipText.clear();
  label.Tag.clear();
  label.Left = x;
  label.Top = y;
  label.ForeColor = d.ForeColor;
  label.BackColor = d.BackColor;
  label.FontBold = d.FontBold;
  label.FontItalic = d.FontItalic;
  label.FontName = d.FontName;
  label.FontSize = d.FontSize;
  label.FontStrikethru = d.FontStrikethru;
  label.FontUnderline = d.FontUnderline;
  label.Visible = true;
  AutoSize(label, *doc.measurer);
  list.push_back(std::move(label));
  return &list.back();
}

std::string NumberedCaption(const std::string& prefix, std::int16_t number, const std::string& suffix) {
  return prefix + std::to_string(number) + suffix + " ";
}

// The counter stays at its largest value rather than wrap to a negative one.
void Advance(std::int16_t& counter) {
  if (counter < std::numeric_limits<std::int16_t>::max()) ++counter;
}

// Which affixes the text/position popup works on: those of the active tool.
struct Affixes {
  std::string* prefix = nullptr;
  std::string* suffix = nullptr;
  std::int16_t* counter = nullptr;
};

Affixes ActiveAffixes(Document& doc, const MeasureSession& s) {
  TextNumbering& n = doc.numbering;
  switch (CurrentTool(s.menu)) {
    case Tool::Position: return {&n.positionPrefix, &n.positionSuffix, &n.positionNumber};
    case Tool::Comment: return {&n.textPrefix, &n.textSuffix, &n.textNumber};
    default: return {};
  }
}

DialogAnswer AskNumbering(const Document& doc, DialogAsker& asker, const char* prompt, const char* title) {
  return asker.Ask(prompt, title, "", std::to_string(UBound(doc.objects.lblKeiIdoS)));
}

void AskAffix(Document& doc, const MeasureSession& s, DialogAsker& asker, const char* prompt, const char* title,
              std::string* Affixes::*which) {
  const DialogAnswer a = AskNumbering(doc, asker, prompt, title);
  std::string* target = ActiveAffixes(doc, s).*which;
  if (a.cancelled || target == nullptr) return;
  *target = OneLine(a.text);
}

}  // namespace

void DropLeaderInProgress(Document& doc) {
  if (LineRecord* l = LeaderInProgress(doc)) l->Visible = false;
}

void LeaderMouseDown(Document& doc, MeasureSession& s, float x, float y) {
  DropLeaderInProgress(doc);
  if (s.menu.popHkdSenNew) {
    LineRecord& spare = doc.objects.lineHikidashi.back();
    const LineRecord& d = doc.live.linDefault;
    s.intHkdHandle = kHandleBody;
    spare.X1 = spare.X2 = x;
    spare.Y1 = spare.Y2 = y;
    spare.BorderColor = d.BorderColor;
    spare.BorderStyle = d.BorderStyle;
    spare.BorderWidth = d.BorderWidth;
    spare.Visible = true;
    return;
  }
  s.intHkdHandle = kHandleNone;
  if (const LeaderHit end = HitLeaderEnd(doc, x, y); end.index >= 0) {
    s.intHkdIndex = static_cast<std::int16_t>(end.index);
    s.intHkdHandle = end.handle;
    LineRecord& l = doc.objects.lineHikidashi[static_cast<std::size_t>(end.index)];
    (end.handle == kHandleFirstEnd ? l.X1 : l.X2) = x;
    (end.handle == kHandleFirstEnd ? l.Y1 : l.Y2) = y;
    MarkChanged(doc);
  } else if (const LeaderHit body = HitLeaderLine(doc, x, y); body.index >= 0) {
    s.intHkdIndex = static_cast<std::int16_t>(body.index);
    s.intHkdHandle = body.handle;
    s.sngDragX = x;
    s.sngDragY = y;
  }
}

void LeaderMouseMove(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  if (s.menu.popHkdSenNew) {
    if (LineRecord* l = LeaderInProgress(doc)) {
      const PointF p = Constrained(l->X1, l->Y1, x, y, shift);
      if (!Finite(p)) return;
      l->X2 = p.x;
      l->Y2 = p.y;
    }
    return;
  }
  LineRecord* l = GrabbedLeader(doc, s);
  if (l == nullptr) return;
  LineRecord moved = *l;
  switch (s.intHkdHandle) {
    case kHandleFirstEnd: {
      const PointF p = Constrained(l->X2, l->Y2, x, y, shift);
      moved.X1 = p.x;
      moved.Y1 = p.y;
      break;
    }
    case kHandleSecondEnd: {
      const PointF p = Constrained(l->X1, l->Y1, x, y, shift);
      moved.X2 = p.x;
      moved.Y2 = p.y;
      break;
    }
    case kHandleBody:
    case kHandleSlopedBody: {
      const float dx = x - s.sngDragX, dy = y - s.sngDragY;
      moved.X1 += dx;
      moved.X2 += dx;
      moved.Y1 += dy;
      moved.Y2 += dy;
      break;
    }
    default: return;
  }
  // A move past the largest coordinate leaves the line where it was.
  if (!Finite(PointF{moved.X1, moved.Y1}) || !Finite(PointF{moved.X2, moved.Y2})) return;
  if (s.intHkdHandle == kHandleBody || s.intHkdHandle == kHandleSlopedBody) {
    s.sngDragX = x;
    s.sngDragY = y;
  }
  *l = moved;
  MarkChanged(doc);
}

void LeaderMouseUp(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  (void)s;
  LineRecord* l = LeaderInProgress(doc);
  if (l == nullptr) return;
  const PointF p = Constrained(l->X1, l->Y1, x, y, shift);
  l->X2 = p.x;
  l->Y2 = p.y;
  // A full collection cannot take a new spare, and an end past the largest
  // coordinate is no place: the line is not kept then.
  if (Finite(p) && PlaneDistance(l->X1, l->Y1, l->X2, l->Y2) > kMinLeaderLength &&
      AppendSpare(doc.objects.lineHikidashi)) {
    MarkChanged(doc);
  } else {
    l->Visible = false;
  }
}

void CreateText(Document& doc, float x, float y) {
  TextNumbering& n = doc.numbering;
  if (AppendNumbered(doc, doc.objects.lblMoji, NumberedCaption(n.textPrefix, n.textNumber, n.textSuffix), x, y)) {
    Advance(n.textNumber);
    MarkChanged(doc);
  }
}

void CreatePosition(Document& doc, const Readout& readout, float x, float y) {
  TextNumbering& n = doc.numbering;
  // The texts of the press point itself, which a Ctrl snap may have moved
  // off the last pointer position.
  MeasureSession at;
  at.readout = readout;
  PointerReadout(doc, at, x, y);
  TextRecord* label = AppendNumbered(doc, doc.objects.lblKeiIdoS,
                                     NumberedCaption(n.positionPrefix, n.positionNumber, n.positionSuffix), x, y);
  if (label == nullptr) return;
  label->ToolTipText = at.readout.positionToolTip;
  label->Tag = at.readout.positionTag;
  Advance(n.positionNumber);
  MarkChanged(doc);
}

void CoreAnnotationTools::LeaderMouseDown(Document& doc, MeasureSession& s, float x, float y) {
  planimo::LeaderMouseDown(doc, s, x, y);
}
void CoreAnnotationTools::LeaderMouseMove(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  planimo::LeaderMouseMove(doc, s, x, y, shift);
}
void CoreAnnotationTools::LeaderMouseUp(Document& doc, MeasureSession& s, float x, float y, bool shift) {
  planimo::LeaderMouseUp(doc, s, x, y, shift);
}
void CoreAnnotationTools::CreateText(Document& doc, float x, float y) { planimo::CreateText(doc, x, y); }
void CoreAnnotationTools::CreatePosition(Document& doc, const Readout& readout, float x, float y) {
  planimo::CreatePosition(doc, readout, x, y);
}

void AskTextHeader(Document& doc, const MeasureSession& s, DialogAsker& asker) {
  AskAffix(doc, s, asker, "ヘッダを入力してください", "Caption ヘッダ入力", &Affixes::prefix);
}

void AskTextFooter(Document& doc, const MeasureSession& s, DialogAsker& asker) {
  AskAffix(doc, s, asker, "フッタを入力してください", "Caption フッタ入力", &Affixes::suffix);
}

void AskSequenceStart(Document& doc, const MeasureSession& s, DialogAsker& asker) {
  const DialogAnswer a = AskNumbering(doc, asker, "初期値を入力してください", "Caption 初期値入力");
  std::int16_t* counter = ActiveAffixes(doc, s).counter;
  if (a.cancelled || a.number.empty() || counter == nullptr) return;
  const std::optional<double> v = ParseNumber(a.number);
  if (!v || !std::isfinite(*v)) return;
  const double n = std::nearbyint(*v);  // halves to even
  if (n < -32768 || n > 32767) return;
  *counter = static_cast<std::int16_t>(n);
}

std::string TextClearAllCaption(const MenuState& m) {
  return CurrentTool(m) == Tool::Position ? "位置情報の全消去" : "文字列の全消去";
}

void ClearAllTexts(Document& doc, const MeasureSession& s) {
  switch (CurrentTool(s.menu)) {
    case Tool::Comment: ClearCollection(doc.objects.lblMoji); break;
    case Tool::Position: ClearCollection(doc.objects.lblKeiIdoS); break;
    default: return;
  }
  MarkChanged(doc);
}

void ClearAllLeaderLines(Document& doc) {
  ClearCollection(doc.objects.lineHikidashi);
  MarkChanged(doc);
}

void SelectAnnotationTool(Document& doc, MeasureSession& s, Tool t) {
  SelectTool(s, t);
  std::vector<TextRecord>* list = t == Tool::Comment    ? &doc.objects.lblMoji
                                  : t == Tool::Position ? &doc.objects.lblKeiIdoS
                                                        : nullptr;
  if (list == nullptr) return;
  for (std::size_t i = 1; i < list->size(); ++i) (*list)[i].Visible = true;
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::optional<std::string> HoverText(const Document& doc, float x, float y) {
  const TextRecord& sample = doc.live.lblDefault;
  const TextRecord* label = nullptr;
  if (sample.Visible && x >= sample.Left && x < sample.Left + sample.Width && y >= sample.Top &&
      y < sample.Top + sample.Height) {
    label = &sample;
  } else if (const LabelHit hit = HitLabel(doc.objects, x, y)) {
    label = &(*LabelsOfKind(doc.objects, hit.kind))[static_cast<std::size_t>(hit.index)];
  }
  if (label == nullptr || label->ToolTipText.empty()) return std::nullopt;
  return label->ToolTipText;
}

}  // namespace planimo
