#include "print/print_plan.h"

#include <cstddef>

namespace planimo {

namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);

struct Look {
  PageScale scale;
  bool page = false;  // printed page (methods 0 and 1) rather than the composition
  float markerRadius = 0;
  Colour markerOutline = 0;
  Colour markerFill = 0;
};

// Kept elements lie below the spare, which stays out of the drawing;
// hidden elements are not part of what the user sees.
template <class R, class Fn>
void EachKept(const std::vector<R>& c, std::size_t end, Fn fn) {
  for (std::size_t i = 0; i < end && i < c.size(); ++i) {
    if (c[i].Visible) fn(c[i]);
  }
}

template <class R>
std::size_t BelowSpare(const std::vector<R>& c) {
  return c.empty() ? 0 : c.size() - 1;
}

class Builder {
 public:
  Builder(const Document& doc, const Look& look) : doc_(doc), look_(look) {}

  PrintPlan Build() {
    const Collections& o = doc_.objects;
    plan_.markersToScale = look_.page;
    const auto line = [this](const LineRecord& r) { AddLine(r); };
    // A dimension's end circles lie on top of the lines of its step; drawn
    // after all of them, equal circles go to the printer as one run.
    const auto markers = [this](const LineRecord& r) {
      AddMarker(r, r.X1, r.Y1);
      AddMarker(r, r.X2, r.Y2);
    };
    EachKept(o.lineHojoSave, BelowSpare(o.lineHojoSave), line);
    EachKept(o.lineDsSave, BelowSpare(o.lineDsSave), line);
    EachKept(o.lineDsSave, BelowSpare(o.lineDsSave), markers);
    // The open path: every segment but the one that follows the pointer.
    EachKept(doc_.live.lineMenseki, BelowSpare(doc_.live.lineMenseki), line);
    EachKept(doc_.live.lineMenseki, BelowSpare(doc_.live.lineMenseki), markers);
    // Kept route and area outlines, drawn like the other lines.
    EachKept(o.linePS, BelowSpare(o.linePS), line);
    // The leader spare holds the leader being placed.
    EachKept(o.lineHikidashi, o.lineHikidashi.size(), line);

    const auto value = [this](const TextRecord& t) { AddLabel(t, doc_.state.GE_booPrtCmt); };
    EachKept(o.lblKyori, BelowSpare(o.lblKyori), value);
    EachKept(o.lblMensekiS, BelowSpare(o.lblMensekiS), value);
    EachKept(o.lblKeiroS, BelowSpare(o.lblKeiroS), value);
    // Comment texts and positions grow from a hidden template at index 0; a
    // project read back holds its first position there, shown.
    EachKept(o.lblMoji, o.lblMoji.size(), [this](const TextRecord& t) { AddLabel(t, false); });
    EachKept(o.lblKeiIdoS, o.lblKeiIdoS.size(), value);
    return std::move(plan_);
  }

 private:
  void AddLine(const LineRecord& r) {
    if (r.BorderStyle == kStyleTransparent) return;  // nothing to see, and no dash style to draw with
    LineRecord l = r;
    l.X1 = static_cast<float>(r.X1 * look_.scale.kx);
    l.X2 = static_cast<float>(r.X2 * look_.scale.kx);
    l.Y1 = static_cast<float>(r.Y1 * look_.scale.ky);
    l.Y2 = static_cast<float>(r.Y2 * look_.scale.ky);
    if (look_.page && l.BorderWidth > 1) l.BorderWidth = static_cast<std::int16_t>(4 * l.BorderWidth);
    if (l.BorderWidth < 1) l.BorderWidth = 1;
    plan_.items.emplace_back(std::move(l));
  }

  void AddMarker(const LineRecord& line, float x, float y) {
    const float r = static_cast<float>(look_.markerRadius * look_.scale.k);
    ShapeRecord m;
    m.Visible = true;
    m.Left = static_cast<float>(x * look_.scale.kx) - r;
    m.Top = static_cast<float>(y * look_.scale.ky) - r;
    m.Width = m.Height = 2 * r;
    m.BorderColor = look_.page ? line.BorderColor : look_.markerOutline;
    m.FillColor = look_.page ? kBlack : look_.markerFill;
    m.BackColor = m.FillColor;
    m.FillStyle = 0;
    m.BorderStyle = kStyleSolid;
    plan_.items.emplace_back(std::move(m));
  }

  // The caption at (left, top) and, when asked, the tooltip one font height
  // below it, both in the label's font scaled by k.
  void AddLabel(const TextRecord& source, bool withComment) {
    TextRecord t;
    t.Visible = true;
    t.Caption = source.Caption;
    t.Left = static_cast<float>(source.Left * look_.scale.kx);
    t.Top = static_cast<float>(source.Top * look_.scale.ky);
    t.Alignment = 0;
    t.BackStyle = 1;
    t.BackColor = kPrintTextBack;
    t.BorderStyle = 0;
    t.ForeColor = source.ForeColor;
    t.FontName = source.FontName;
    t.FontSize = static_cast<float>(source.FontSize * look_.scale.k);
    t.FontBold = source.FontBold;
    t.FontItalic = source.FontItalic;
    t.FontUnderline = source.FontUnderline;
    t.FontStrikethru = source.FontStrikethru;
    const float lineBelow = static_cast<float>(t.FontSize * kMmPerPoint);
    if (!t.Caption.empty()) {
      AutoSize(t, *doc_.measurer);
      plan_.items.emplace_back(t);
    }
    if (withComment && !source.ToolTipText.empty()) {
      t.Caption = source.ToolTipText;
      t.Top += lineBelow;
      AutoSize(t, *doc_.measurer);
      plan_.items.emplace_back(std::move(t));
    }
  }

  const Document& doc_;
  const Look& look_;
  PrintPlan plan_;
};

Look FirstMarkerLook(const Document& doc) {
  Look look;
  const ShapeRecord first = doc.objects.shpSnpo.empty() ? ShapeRecord{} : doc.objects.shpSnpo.front();
  look.markerRadius = first.Width / 2;
  look.markerOutline = first.BorderColor;
  look.markerFill = first.FillColor;
  return look;
}

}  // namespace

PrintPlan CompositionPlan(const Document& doc) {
  const Look look = FirstMarkerLook(doc);
  return Builder(doc, look).Build();
}

PrintPlan PagePlan(const Document& doc, const PageScale& scale) {
  Look look = FirstMarkerLook(doc);
  look.scale = scale;
  look.page = true;
  return Builder(doc, look).Build();
}

}  // namespace planimo
