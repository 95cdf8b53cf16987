#include "geometry/scale_calibration.h"

#include <cmath>

#include "geometry/points.h"
#include "geometry/units.h"

namespace planimo {

namespace {

constexpr double kMmPerInch = 25.4;

// The references lie where a new project puts its own: 100 mm of drawing,
// to the right from (50, 5) and down from (150, 5).
constexpr float kReferenceMm = 100;
constexpr SinglePoint kHorizontalFrom{50, 5};
constexpr SinglePoint kVerticalFrom{150, 5};

bool PositiveFinite(double v) { return std::isfinite(v) && v > 0; }

// True length of `drawingMm` of picture along an axis scanned at `dpi`:
// the paper it covers, enlarged by the scale, in the distance unit.
std::optional<float> TrueLength(double drawingMm, double denominator, double dpi, double mmPerUnit) {
  const double paperMm = drawingMm / kMmPerPicturePixel * kMmPerInch / dpi;
  const float length = ToSingle(paperMm * denominator / mmPerUnit);
  if (!std::isfinite(length) || !(length > 0)) return std::nullopt;
  return length;
}

}  // namespace

std::optional<std::array<ScaleReference, 2>> ScaleReferences(double denominator, double dpiX, double dpiY,
                                                              int unit, const UnitTables& t) {
  if (!PositiveFinite(denominator) || !PositiveFinite(dpiX) || !PositiveFinite(dpiY) || !IsUnitIndex(unit)) {
    return std::nullopt;
  }
  const double mmPerUnit = t.GE_dblChgMMToO[unit];
  if (!PositiveFinite(mmPerUnit)) return std::nullopt;
  const std::optional<float> x = TrueLength(kReferenceMm, denominator, dpiX, mmPerUnit);
  const std::optional<float> y = TrueLength(kReferenceMm, denominator, dpiY, mmPerUnit);
  if (!x || !y) return std::nullopt;
  const SinglePoint hTo{kHorizontalFrom.sngX + kReferenceMm, kHorizontalFrom.sngY};
  const SinglePoint vTo{kVerticalFrom.sngX, kVerticalFrom.sngY + kReferenceMm};
  return std::array<ScaleReference, 2>{ScaleReference{kHorizontalFrom, hTo, kReferenceMm, *x},
                                       ScaleReference{kVerticalFrom, vTo, kReferenceMm, *y}};
}

std::optional<double> DpiFromDotsPerMetre(int dotsPerMetre) {
  if (dotsPerMetre <= 0) return std::nullopt;
  const double inchesPerMetre = 1000 / kMmPerInch;
  const double dpi = dotsPerMetre / inchesPerMetre;
  // A whole dpi written as dots per metre lost less than one dot per metre,
  // truncated or rounded; that is less than 0.0254 dpi.
  const double whole = std::round(dpi);
  return std::fabs(whole - dpi) * inchesPerMetre < 1 ? whole : dpi;
}

}  // namespace planimo
