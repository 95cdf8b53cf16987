#include "view/qt_text_measurer.h"

#include <QFontMetricsF>

#include "view/label_font.h"
#include "view/view_units.h"

namespace planimo {

TextSize QtTextMeasurer::Measure(const TextRecord& label) const {
  const QFontMetricsF metrics(LabelFont(label));
  const QSizeF px = metrics.size(0, LabelCaption(label));
  return TextSize{static_cast<float>(PxToMm(px.width())), static_cast<float>(PxToMm(px.height()))};
}

}  // namespace planimo
