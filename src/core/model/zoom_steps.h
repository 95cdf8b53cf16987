#pragma once

// The zoom factor steps of the toolbar and the text the status bar shows for
// a factor. The factor is a Single, stepped by 0.1 and kept between the
// smallest and the largest factor the view can show.

#include <string>

namespace planimo {

inline constexpr float kZoomMin = 0.1f;
inline constexpr float kZoomMax = 2.0f;
inline constexpr float kZoomAsLoaded = 1.0f;

// One "magnify" press: the factor plus 0.1, capped at kZoomMax.
float MagnifyStep(float zoom);

// One "reduce" press: the factor minus 0.1, floored at kZoomMin.
float ReduceStep(float zoom);

// The factor as a percentage in the pattern "##0%": 1.25 gives "125%",
// 0.9 gives "90%".
std::string ZoomPercentText(float zoom);

}  // namespace planimo
