#include "geometry/dms.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "geometry/number_format.h"
#include "geometry/points.h"

namespace planimo {

std::optional<DmsText> SecondsToDms(double seconds) {
  if (!std::isfinite(seconds)) return std::nullopt;
  const double d = std::floor(seconds / 3600);
  if (d < std::numeric_limits<std::int16_t>::min() || d > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  double s = seconds - d * 3600;
  const double m = std::floor(s / 60);
  s -= m * 60;
  DmsText out;
  out.dms.intDeg = static_cast<std::int16_t>(d);
  out.dms.intMin = static_cast<std::int16_t>(m);
  out.dms.sngSec = ToSingle(s);
  out.text = FormatNumber(d, "0##") + "-" + FormatNumber(m, "0#") + "-" + FormatNumber(s, "0#.###0");
  return out;
}

double DmsToSeconds(std::int16_t deg, std::int16_t min, float sec) {
  return deg * 3600.0 + min * 60.0 + sec;
}

}  // namespace planimo
