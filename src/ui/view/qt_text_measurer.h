#pragma once

// Label sizes from the real font metrics, for the core's auto-sizing.

#include "model/platform.h"

namespace planimo {

class QtTextMeasurer : public TextMeasurer {
 public:
  // Caption extent in the label's font at 96 DPI, in view millimetres
  // (logical pixels x 0.2645).
  TextSize Measure(const TextRecord& label) const override;
};

}  // namespace planimo
