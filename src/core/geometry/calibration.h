#pragma once

// The two calibrations that tie picture millimetres to the real world:
// known distance (real length per millimetre along x and y) and two
// correspondence points of known longitude and latitude. Picture points are
// straightened by the tilt correction before either applies.

#include "geometry/points.h"
#include "model/project_state.h"

namespace planimo {

// Scales a straightened picture point to real length (GE_tpPtoD_r_X/_Y).
PointF PictureToDistance(const ProjectState& state, PointF p);

// Scales a real-length point back to straightened picture millimetres. A
// ratio of 0 gives a non-finite point.
PointF DistanceToPicture(const ProjectState& state, PointF q);

// Picture point -> real length: straighten (GE_dblHosei(3)), then scale.
PointF PictureToReal(const ProjectState& state, PointF p);

// Real length -> picture point: scale back, then undo the straightening.
PointF RealToPicture(const ProjectState& state, PointF q);

// Picture point -> longitude/latitude (arc-seconds): straighten, then apply
// the linear picture-to-geographic coefficients.
GeoPos PictureToGeo(const ProjectState& state, PointF p);

// Longitude/latitude -> picture point: the geographic-to-picture
// coefficients, then undo the straightening.
PointF GeoToPicture(const ProjectState& state, GeoPos g);

// Derives the eight lat/long coefficients and, as metres per picture
// millimetre, GE_tpPtoD_r_X/_Y from the two correspondence points. Returns
// false and changes nothing when a longitude or latitude is 0, when the two
// straightened points share an x or a y, when the positions share a
// longitude or a latitude, or when a result would not be finite.
bool ComputeLatLongCalibration(ProjectState& state);

}  // namespace planimo
