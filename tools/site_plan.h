// Geometry of the bundled sample site plan, in image pixels (y grows downwards).
// One metre is exactly 40 px, and every vertex sits on a whole pixel, so every
// length and area written on the drawing is exact and can be checked by measuring.
#pragma once

#include <array>
#include <cmath>
#include <numbers>

namespace sample {

constexpr int kWidth = 2500;
constexpr int kHeight = 1800;
constexpr double kPxPerMetre = 40.0;

struct Px {
    int x;
    int y;
};

// Plot boundary, boundary marks No.1 to No.5 anticlockwise on paper
// (south-west, south-east, east, north chamfer, north-west).
constexpr std::array<Px, 5> kBoundary{{{240, 1480}, {1800, 1480}, {1800, 640}, {1320, 280}, {240, 280}}};

// Building footprint: top-left and bottom-right corners.
constexpr Px kBuildingTopLeft{520, 680};
constexpr Px kBuildingBottomRight{1120, 1080};

// Driveway centre line from the gate on the road side to the building entrance.
constexpr std::array<Px, 4> kRoute{{{1520, 1480}, {1520, 1200}, {1280, 1020}, {1120, 1020}}};

// Round planting bed with a tree.
constexpr Px kBedCentre{1560, 860};
constexpr int kBedRadiusPx = 120;

// Front road along the south boundary.
constexpr int kRoadWidthPx = 160;

// Scale bar: 0 - 20 m, one block every 5 m.
constexpr Px kScaleBarOrigin{240, 1730};
constexpr int kScaleBarMetres = 20;

// Two boundary marks carry known geographic positions for the latitude/longitude
// calibration: No.1 and No.3.
constexpr double kNo1LongitudeSec = 139.0 * 3600 + 45 * 60 + 10.0;
constexpr double kNo1LatitudeSec = 35.0 * 3600 + 40 * 60 + 20.0;

inline double metres(double px) { return px / kPxPerMetre; }

inline double lengthPx(Px a, Px b) { return std::hypot(double(b.x - a.x), double(b.y - a.y)); }

// Shoelace formula over the closed polygon, in square pixels.
template <std::size_t N>
double polygonAreaPx(const std::array<Px, N>& p) {
    long long twice = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const Px a = p[i];
        const Px b = p[(i + 1) % N];
        twice += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
    }
    return std::abs(static_cast<double>(twice)) / 2.0;
}

template <std::size_t N>
double polylineLengthPx(const std::array<Px, N>& p) {
    double total = 0;
    for (std::size_t i = 0; i + 1 < N; ++i) total += lengthPx(p[i], p[i + 1]);
    return total;
}

// Flat-earth model used by the program: one arc-minute of latitude is 1852 m,
// an arc-second of longitude shrinks with the cosine of the mean latitude.
struct LatLong {
    double longitudeSec;
    double latitudeSec;
};

inline LatLong positionOf(Px p) {
    constexpr double kPi = std::numbers::pi;
    const double metresPerSec = 1852.0 / 60.0;
    const double north = metres(kBoundary[0].y - p.y);
    const double east = metres(p.x - kBoundary[0].x);
    const double lat = kNo1LatitudeSec + north / metresPerSec;
    const double meanLat = (kNo1LatitudeSec + lat) / 2.0 / 3600.0;
    const double lon = kNo1LongitudeSec + east / (metresPerSec * std::cos(kPi / 180.0 * meanLat));
    return {lon, lat};
}

}  // namespace sample
