#include "geometry/options_form_fill.h"

#include <cmath>
#include <limits>
#include <string>

#include "geometry/number_format.h"
#include "geometry/points.h"

namespace planimo {

std::optional<float> ReadSingle(std::string_view text) {
  const std::optional<double> v = ParseNumber(text);
  if (!v) return std::nullopt;
  const float f = ToSingle(*v);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

std::optional<std::int16_t> ReadInteger(std::string_view text) {
  const double v = std::floor(ParseNumber(text).value_or(0));
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(v);
}

void FillTiltBoxes(const ProjectState& s, OptionsForm& f) {
  for (int i = 0; i < 4; ++i) {
    f.txtHosei[i] = SingleText(s.GE_sngHosei[i]);
    f.txtHosei[4 + i] = DoubleText(s.GE_dblHosei[i]);
  }
}

void FillKnownDistanceBoxes(const ProjectState& s, OptionsForm& f) {
  f.txtXY.fill("0");
  const auto& p = s.GE_tpPiccelD;
  f.txtXY[0] = SingleText(p[0].sngX);
  f.txtXY[2] = SingleText(p[0].sngY);
  f.txtXY[1] = SingleText(p[1].sngX);
  f.txtXY[3] = SingleText(p[1].sngY);
  f.txtXY[6] = SingleText(p[2].sngX);
  f.txtXY[8] = SingleText(p[2].sngY);
  f.txtXY[7] = SingleText(p[3].sngX);
  f.txtXY[9] = SingleText(p[3].sngY);
  f.txtXY[4] = SingleText(s.GE_sngPiccelD_X);
  f.txtXY[10] = SingleText(s.GE_sngPiccelD_Y);
  f.txtXY[5] = SingleText(s.GE_sngDistanceD_X);
  f.txtXY[11] = SingleText(s.GE_sngDistanceD_Y);
}

void FillParaLabels(const ProjectState& s, OptionsForm& f) {
  f.lblPara = {DoubleText(s.GE_tpPtoK_r_X),     DoubleText(s.GE_tpPtoK_r_Y),
               DoubleText(s.GE_tpKtoP_r_X),     DoubleText(s.GE_tpKtoP_r_Y),
               DoubleText(s.GE_tpPx00ToKei_La), DoubleText(s.GE_tpPx00ToKei_Ll),
               DoubleText(s.GE_tpKI00ToPx_X),   DoubleText(s.GE_tpKI00ToPx_Y)};
}

void FillLatLongBoxes(const ProjectState& s, OptionsForm& f) {
  f.txtPict_mm1 = {SingleText(s.GE_tpPiccel_1X), SingleText(s.GE_tpPiccel_1Y)};
  f.txtPict_mm2 = {SingleText(s.GE_tpPiccel_2X), SingleText(s.GE_tpPiccel_2Y)};
  const DmsRecord* records[kDmsGroupCount] = {&s.GE_dblKeIdo[0], &s.GE_dblIdo[0], &s.GE_dblKeIdo[1],
                                              &s.GE_dblIdo[1]};
  const double totals[kDmsGroupCount] = {s.GE_dblKeido0, s.GE_dblIdo0, s.GE_dblKeido1, s.GE_dblIdo1};
  for (int g = 0; g < kDmsGroupCount; ++g) {
    std::array<std::string, 4>& box = DmsGroup(f, g);
    box[0] = std::to_string(records[g]->intDeg);
    box[1] = std::to_string(records[g]->intMin);
    box[2] = SingleText(records[g]->sngSec);
    box[3] = DoubleText(totals[g]);
  }
}

}  // namespace planimo
