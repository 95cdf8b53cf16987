#pragma once

// The end point of a fixed-length measurement: the point a given real length
// from the start, in the direction of the pointer, together with the
// direction text the read-out shows for it.

#include <optional>
#include <string>

#include "geometry/points.h"
#include "model/project_state.h"

namespace planimo {

struct SpecifiedEnd {
  PointF point;               // picture millimetres
  std::string directionText;  // angle "##0.0###゜" or bearing "##0.0###"
};

// Known-distance calibration; L in the real units of PictureToDistance.
// Empty when the calibration makes the end point or its angle non-finite.
std::optional<SpecifiedEnd> SpecifiedDistanceEnd(const ProjectState& state, PointF start,
                                                 PointF mouse, double L);

// Longitude/latitude calibration; L in metres. Empty when the calibration
// makes the end point or the bearing non-finite.
std::optional<SpecifiedEnd> SpecifiedDistanceEndGeo(const ProjectState& state, PointF start,
                                                    PointF mouse, float L);

}  // namespace planimo
