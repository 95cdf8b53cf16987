// "縮尺から設定": the known-distance tab filled from the drawing's scale and
// its scan resolution instead of from a reference line picked on the map.

#include <cmath>
#include <optional>

#include "geometry/number_format.h"
#include "geometry/options_dialog.h"
#include "geometry/options_form_fill.h"
#include "geometry/scale_calibration.h"

namespace planimo {

namespace {

std::optional<double> PositiveNumber(const std::string& text) {
  const std::optional<double> v = ParseNumber(text);
  if (!v || !std::isfinite(*v) || !(*v > 0)) return std::nullopt;
  return v;
}

FocusMove Stay(OptionBox box) { return {{box, 0}, true}; }

}  // namespace

FocusMove ScaleEnter(const OptionsForm& f, OptionBox box) {
  if (box == OptionBox::txtScaleN && ParseNumber(f.txtScaleN)) return Stay(OptionBox::txtScaleDpi);
  if (box == OptionBox::txtScaleDpi && ParseNumber(f.txtScaleDpi)) return Stay(OptionBox::txtScaleN);
  return {};
}

FocusMove ApplyDrawingScale(Document& doc, OptionsForm& f) {
  const std::optional<double> n = PositiveNumber(f.txtScaleN);
  if (!n) return Stay(OptionBox::txtScaleN);
  const std::optional<double> dpi = PositiveNumber(f.txtScaleDpi);
  if (!dpi) return Stay(OptionBox::txtScaleDpi);
  ProjectState& s = doc.state;
  // A scale so small that a true length overflows is as unusable as none.
  const auto refs = ScaleReferences(*n, *dpi, *dpi, s.GE_intUnitDIndex, doc.settings.units);
  if (!refs) return Stay(OptionBox::txtScaleN);
  for (int pair = 0; pair < 2; ++pair) {
    const ScaleReference& r = (*refs)[pair];
    const int base = pair * 6;
    f.txtXY[base + 0] = SingleText(r.from.sngX);
    f.txtXY[base + 1] = SingleText(r.to.sngX);
    f.txtXY[base + 2] = SingleText(r.from.sngY);
    f.txtXY[base + 3] = SingleText(r.to.sngY);
    f.txtXY[base + 4] = SingleText(r.drawingMm);
    f.txtXY[base + 5] = SingleText(r.trueLength);
    s.GE_tpPiccelD[pair * 2] = r.from;
    s.GE_tpPiccelD[pair * 2 + 1] = r.to;
  }
  ApplyKnownDistance(doc, f);
  return {};
}

void ShowDrawingResolution(OptionsForm& f, std::optional<double> dpi) {
  f.txtScaleDpi = dpi && std::isfinite(*dpi) && *dpi > 0 ? DoubleText(*dpi) : std::string();
}

}  // namespace planimo
