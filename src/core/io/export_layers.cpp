#include "io/export_layers.h"

#include <array>

namespace planimo {

namespace {

// The standard palette of the colour indices: nine named colours, 24 hues
// in steps of 15 degrees at five brightnesses each, full and half saturated,
// then six greys.
struct Rgb8 {
  int r = 0, g = 0, b = 0;
};

Rgb8 PaletteColour(int index) {
  constexpr std::array<Rgb8, 10> kNamed{{{0, 0, 0},
                                         {255, 0, 0},
                                         {255, 255, 0},
                                         {0, 255, 0},
                                         {0, 255, 255},
                                         {0, 0, 255},
                                         {255, 0, 255},
                                         {255, 255, 255},
                                         {128, 128, 128},
                                         {192, 192, 192}}};
  constexpr std::array<int, 6> kGreys{51, 80, 105, 130, 190, 255};
  if (index < 10) return kNamed[static_cast<std::size_t>(index)];
  if (index >= 250) {
    const int v = kGreys[static_cast<std::size_t>(index - 250)];
    return {v, v, v};
  }
  constexpr std::array<double, 5> kBrightness{1.0, 0.8, 0.6, 0.5, 0.3};
  const int hue = (index - 10) / 10 * 15;
  const int variant = (index - 10) % 10;
  const bool half = variant % 2 == 1;
  const double sector = hue / 60.0;
  const int k = static_cast<int>(sector);
  const double f = sector - k;
  const std::array<std::array<double, 3>, 6> kSectors{
      {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}}};
  const std::array<double, 3>& c = kSectors[static_cast<std::size_t>(k)];
  const double v = kBrightness[static_cast<std::size_t>(variant / 2)] * 255;
  const auto channel = [&](double x) { return static_cast<int>(v * (half ? 0.5 + 0.5 * x : x)); };
  return {channel(c[0]), channel(c[1]), channel(c[2])};
}

constexpr int kForeground = 7;

std::string_view KindName(ExportKind kind) {
  switch (kind) {
    case ExportKind::Distance:
      return "Distances";
    case ExportKind::Route:
      return "Routes";
    case ExportKind::Area:
      return "Areas";
    case ExportKind::Leader:
      return "Leaders";
    case ExportKind::Comment:
      return "Texts";
    case ExportKind::Position:
      return "Positions";
  }
  return "0";
}

bool ForbiddenInLayer(unsigned char c) {
  constexpr std::string_view kForbidden = "<>/\\\":;?*|=`";
  return c < 0x20 || c == 0x7F || kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string LayerName(ExportKind kind, std::string_view item) {
  std::string name(KindName(kind));
  if (item.empty()) return name;
  name += '-';
  for (const char c : item) name += ForbiddenInLayer(static_cast<unsigned char>(c)) ? '_' : c;
  return name;
}

int NearestAci(Colour colour) {
  const int r = static_cast<int>(colour & 0xFFu);
  const int g = static_cast<int>(colour >> 8 & 0xFFu);
  const int b = static_cast<int>(colour >> 16 & 0xFFu);
  constexpr int kNear = 24;
  const bool dark = r < kNear && g < kNear && b < kNear;
  const bool light = r > 255 - kNear && g > 255 - kNear && b > 255 - kNear;
  if (dark || light) return kForeground;
  int best = 1;
  long bestDistance = -1;
  for (int i = 1; i < 256; ++i) {
    if (i == kForeground) continue;
    const Rgb8 p = PaletteColour(i);
    const long dr = r - p.r;
    const long dg = g - p.g;
    const long db = b - p.b;
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace planimo
