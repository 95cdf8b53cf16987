#pragma once

// The kept measurements as geographic features in WGS 84 longitude and
// latitude (degrees): positions as points, distances as two-point lines,
// routes as lines and areas as polygons, with value, unit, caption and
// comment, and the takeoff item. Only a drawing calibrated by longitude and latitude has them.

#include <optional>
#include <string>
#include <vector>

#include "io/export_layers.h"
#include "io/export_plane.h"
#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

struct GeoFeature {
  ExportKind kind = ExportKind::Position;
  std::vector<LonLat> points;  // an area's ring closed (first point repeated), counter-clockwise
  std::optional<double> value;
  std::string unit, caption, comment;
  std::string item;        // the takeoff item; empty outside any
  bool deduction = false;  // an area counted negative in its item
};

// What a refused export says, in the window and on the command line alike.
inline constexpr std::string_view kNeedsLonLatText =
    "経緯度で校正された図面ではありません。オプションで「既知の経緯度を基に計測する」を選び、"
    "「既知の経緯度設定」で二つの対応点を設定してください。";
ErrorReport NeedsLonLatReport();

// Empty without a longitude/latitude calibration. Objects the calibration
// cannot place are left out.
std::optional<std::vector<GeoFeature>> GeoFeatures(const Document& doc);

}  // namespace planimo
