#pragma once

// What the bitmap export and the printed page draw over the image, in the
// order they draw it: the kept lines, the dimension end markers, the value
// labels with their comment lines, the comment texts and the positions.
// The items are records in the print's own look, so the shell draws them
// with the same painter as the map: labels show only their text, on an
// opaque background, without their own background colour or border.

#include <variant>
#include <vector>

#include "model/document.h"
#include "print/page_layout.h"

namespace planimo {

// The background behind printed and exported label texts: the paper.
constexpr Colour kPrintTextBack = Rgb(255, 255, 255);

// Millimetres per point of font size, for the comment line under a label.
constexpr double kMmPerPoint = 0.352777755;

using PrintItem = std::variant<LineRecord, ShapeRecord, TextRecord>;

struct PrintPlan {
  std::vector<PrintItem> items;
  // True on the printed page: end markers are circles of their own box size
  // (radius scaled with the page). False in the composition: end markers
  // look as on the screen.
  bool markersToScale = false;
};

// subWrightImage's drawing, at the surface's own millimetres: the objects'
// own pixel widths and point sizes; every end marker in the colours of the
// first marker; comment lines when GE_booPrtCmt is set.
PrintPlan CompositionPlan(const Document& doc);

// The page of methods 0 and 1: positions scaled by kx and ky, font sizes and
// the marker radius by k; widths in device pixels (1 stays 1, wider lines
// four times their width); end markers outlined in their line's colour and
// filled black.
PrintPlan PagePlan(const Document& doc, const PageScale& scale);

}  // namespace planimo
