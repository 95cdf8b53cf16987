#include "view/stated_resolution.h"

#include "geometry/scale_calibration.h"

namespace planimo {

std::optional<double> StatedDpi(const QImage& picture) {
  if (picture.isNull()) return std::nullopt;
  const int unstated = QImage(1, 1, QImage::Format_Mono).dotsPerMeterX();
  if (picture.dotsPerMeterX() == unstated) return std::nullopt;
  return DpiFromDotsPerMetre(picture.dotsPerMeterX());
}

std::optional<double> DrawingDpi(const QImage& picture, bool pdfPage) {
  if (pdfPage && !picture.isNull()) return 96.0;
  return StatedDpi(picture);
}

}  // namespace planimo
