#pragma once

// The map surface measures in screen millimetres: one device-independent
// pixel is 0.2645 mm. Every record position is in these millimetres at the
// current zoom, so converting is one multiplication either way.

namespace planimo {

constexpr double kMmPerPixel = 0.2645;

constexpr double MmToPx(double mm) { return mm / kMmPerPixel; }
constexpr double PxToMm(double px) { return px * kMmPerPixel; }

}  // namespace planimo
