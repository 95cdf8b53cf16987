#include "model/zoom_steps.h"

#include "geometry/number_format.h"

namespace planimo {

// The step is added in double precision and the sum stored back as a Single,
// so the factor drifts like the stored value does and the caps decide the ends.
float MagnifyStep(float zoom) {
  const float next = static_cast<float>(static_cast<double>(zoom) + 0.1);
  return next > kZoomMax ? kZoomMax : next;
}

float ReduceStep(float zoom) {
  const float next = static_cast<float>(static_cast<double>(zoom) - 0.1);
  return next < kZoomMin ? kZoomMin : next;
}

// "%" scales by a hundred; the digits come from the "##0" part of the pattern.
std::string ZoomPercentText(float zoom) {
  return FormatNumber(static_cast<double>(zoom) * 100.0, "##0") + "%";
}

}  // namespace planimo
