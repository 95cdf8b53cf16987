#include "model/collections.h"

#include <string>
#include <type_traits>

namespace planimo {

namespace {

LineRecord DesignLine() {
  LineRecord r;
  r.BorderColor = Rgb(0, 0, 255);
  return r;
}

ShapeRecord DesignMarker() {
  ShapeRecord r;
  // End markers are 7 x 7 screen pixels of 0.2645 mm, filled circles. The
  // size is worked out in Double and kept as a Single, so it is the Single
  // that "1.8515" reads as.
  r.Width = r.Height = static_cast<float>(7 * 0.2645);
  r.BorderColor = r.FillColor = Rgb(0, 0, 255);
  return r;
}

TextRecord DesignLabel() { return TextRecord{}; }

template <class R>
bool AppendCopy(std::vector<R>& c, R design) {
  if (static_cast<int>(c.size()) > kMaxIndex) return false;
  design.Visible = false;
  c.push_back(std::move(design));
  return true;
}

}  // namespace

Collections::Collections()
    : lblKyori{DesignLabel()},
      lineDsSave{DesignLine()},
      lineHojoSave{DesignLine()},
      shpSnpo{DesignMarker()},
      lblKeiroS{DesignLabel()},
      lblMensekiS{DesignLabel()},
      linePS{DesignLine()},
      lineHikidashi{DesignLine()},
      lblMoji{DesignLabel()},
      lblKeiIdoS{DesignLabel()} {
  lblMoji[0].Caption = "文字列";
}

WorkingObjects::WorkingObjects()
    : lineDistance(DesignLine()),
      lineHojo{DesignLine(), DesignLine(), DesignLine(), DesignLine()},
      lineMenseki{DesignLine()},
      shpSnap(DesignMarker()),
      lineCheck(DesignLine()),
      shpCheck{DesignMarker(), DesignMarker()},
      linDefault(DesignLine()),
      lblDefault(DesignLabel()) {
  shpCircle.Shape = 3;
  shpCircle.FillStyle = 1;  // transparent inside
  shpCircle.BorderColor = Rgb(0, 0, 255);
  lineCheck.BorderColor = Rgb(255, 0, 0);
  for (ShapeRecord& m : shpCheck) m.BorderColor = m.FillColor = Rgb(255, 0, 0);
  // Guides and the range marker are helpers, drawn apart from kept lines.
  for (LineRecord* guide : {&lineHintX, &lineHintY}) {
    guide->BorderColor = Rgb(255, 0, 255);
    guide->BorderStyle = kStyleDot;
  }
  shpZoom.Shape = 0;
  shpZoom.FillStyle = 1;
  linDefault.Visible = true;
  lblDefault.Visible = true;
  lblDefault.ToolTipText =
      "右クリックでポップアップが開きます。「表示」より非表示に設定できます。";
}

bool AppendSpare(std::vector<LineRecord>& c) {
  LineRecord r = DesignLine();
  r.BorderStyle = kStyleSolid;
  r.BorderWidth = 1;
  return AppendCopy(c, r);
}

bool AppendSpare(std::vector<ShapeRecord>& c) { return AppendCopy(c, c.empty() ? DesignMarker() : c.front()); }

bool AppendSpare(std::vector<TextRecord>& c) { return AppendCopy(c, DesignLabel()); }

template <class R>
void RemoveAt(std::vector<R>& c, int i) {
  if (i < 0 || i >= static_cast<int>(c.size())) return;
  if (c.size() == 1) {
    c[0].Visible = false;
    return;
  }
  c.erase(c.begin() + i);
}

template <class R>
void ClearCollection(std::vector<R>& c) {
  c.resize(1);
  c[0].Visible = false;
  // Element 0 becomes the spare the next object fills: that object is in
  // no takeoff item yet.
  if constexpr (std::is_same_v<R, TextRecord>) {
    c[0].Item = 0;
    c[0].Deduction = false;
  }
}

template void RemoveAt(std::vector<LineRecord>&, int);
template void RemoveAt(std::vector<ShapeRecord>&, int);
template void RemoveAt(std::vector<TextRecord>&, int);
template void ClearCollection(std::vector<LineRecord>&);
template void ClearCollection(std::vector<ShapeRecord>&);
template void ClearCollection(std::vector<TextRecord>&);

void RemoveDistanceObject(Collections& o, int k) {
  RemoveAt(o.lblKyori, k);
  RemoveAt(o.lineDsSave, k);
  RemoveAt(o.lineHojoSave, 2 * k);
  RemoveAt(o.lineHojoSave, 2 * k);
  RemoveAt(o.shpSnpo, 2 * k);
  RemoveAt(o.shpSnpo, 2 * k);
}

void RemoveTagged(Collections& o, std::vector<TextRecord>& labels, int i) {
  if (i < 0 || i >= static_cast<int>(labels.size())) return;
  const std::string tag = labels[i].Tag;
  RemoveAt(labels, i);
  // An empty tag links nothing: it would otherwise take the spare and every
  // untagged segment with it.
  if (tag.empty()) return;
  // One pass keeps the order of the remaining segments, as repeated
  // first-match removal does, without rescanning from the start. The spare
  // at the top always stays, whatever its tag, so the collection keeps its
  // closing invisible element.
  std::vector<LineRecord>& ps = o.linePS;
  if (ps.empty()) return;
  std::size_t out = 0;
  for (std::size_t j = 0; j + 1 < ps.size(); ++j) {
    if (ps[j].Tag == tag) continue;
    if (out != j) ps[out] = std::move(ps[j]);
    ++out;
  }
  if (out != ps.size() - 1) ps[out] = std::move(ps.back());
  ps.resize(out + 1);
}

void ClearWorkingPath(WorkingObjects& live) {
  live.lineMenseki.resize(1);
  live.lineMenseki[0].Visible = false;
  live.lblMenseki.Visible = false;
  live.lblKeiro.Visible = false;
}

}  // namespace planimo
