#pragma once

// Label sizes from the real font metrics, for the core's auto-sizing.

#include <QFontMetricsF>
#include <string>
#include <vector>

#include "model/platform.h"

namespace planimo {

class QtTextMeasurer : public TextMeasurer {
 public:
  // Caption extent in the label's font at 96 DPI, in view millimetres
  // (logical pixels x 0.2645).
  TextSize Measure(const TextRecord& label) const override;

 private:
  struct Entry {
    TextRecord font;  // only the font fields count
    QFontMetricsF metrics;
  };
  // A zoom re-measures every label in a handful of fonts; building the font
  // metrics once per font keeps a zoom of thousands of labels quick. Used
  // from the interface thread only.
  const QFontMetricsF& MetricsFor(const TextRecord& label) const;
  mutable std::vector<Entry> fonts_;
};

}  // namespace planimo
