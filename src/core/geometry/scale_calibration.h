#pragma once

// Calibration from the scale printed on a drawing (1:N) and, for a scan, the
// resolution it was scanned at. The result is two reference lines of known
// true length, entered exactly as a user would enter them on the
// known-distance tab, so a project calibrated this way holds nothing but the
// known-distance keys and measures the same wherever it is opened.

#include <array>
#include <optional>

#include "model/project_state.h"
#include "model/unit_tables.h"

namespace planimo {

// Millimetres of drawing surface one picture pixel covers at 100 %.
constexpr double kMmPerPicturePixel = 0.2645;

// One reference line: its end points in picture millimetres, its length on
// the drawing and its true length in the distance unit.
struct ScaleReference {
  SinglePoint from;
  SinglePoint to;
  float drawingMm = 0;
  float trueLength = 0;
};

// Horizontal and vertical reference implied by scale 1:`denominator` on a
// picture of `dpiX` × `dpiY` pixels per inch of paper, with true lengths in
// distance unit `unit`. Empty when the scale or a resolution is not a
// positive finite number, the unit is outside the table, or a true length
// does not fit a Single.
std::optional<std::array<ScaleReference, 2>> ScaleReferences(double denominator, double dpiX, double dpiY,
                                                              int unit, const UnitTables& t);

// Pixels per inch from a picture's dots per metre: the whole number of dots
// per inch the file stated when the metre value is that number converted
// (less than one dot per metre off: 300 dpi is kept as 11811), else the exact
// quotient. Empty for no positive resolution.
std::optional<double> DpiFromDotsPerMetre(int dotsPerMetre);

}  // namespace planimo
