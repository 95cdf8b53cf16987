#pragma once

// Label sizes from the real font metrics, for the core's auto-sizing.

#include <QFontMetricsF>
#include <string>
#include <vector>

#include "model/platform.h"
#include "view/plain_glyphs.h"

namespace planimo {

class QtTextMeasurer : public TextMeasurer {
 public:
  // Caption extent in the label's font at 96 DPI, in view millimetres
  // (logical pixels x 0.2645).
  TextSize Measure(const TextRecord& label) const override;

  // The plain glyphs of the label's font, for drawing a value caption with
  // the same glyphs it was measured with. Valid until the next call.
  const PlainGlyphs& PlainGlyphsFor(const TextRecord& label) const { return EntryFor(label).plain; }

 private:
  struct Entry {
    TextRecord font;  // only the font fields count
    QFontMetricsF metrics;
    PlainGlyphs plain;  // value captions without running the shaper
  };
  // A zoom re-measures every label in a handful of fonts; building the font
  // metrics once per font keeps a zoom of thousands of labels quick. Used
  // from the interface thread only.
  const Entry& EntryFor(const TextRecord& label) const;
  mutable std::vector<Entry> fonts_;
};

}  // namespace planimo
