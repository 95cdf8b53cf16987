#pragma once

#include <QRect>

class QMainWindow;

namespace planimo {

// The main window's outer frame: at the screen's top-left corner, as wide as
// the screen and 500 twips less high, kept inside the area the desktop's
// panels leave free, and never smaller than 320 × 240.
QRect MainFrameRect(const QRect& screen, const QRect& available, qreal dpiY);

// Sizes `window` by its frame, not its inner area, as soon as the window
// system says how thick the frame is; the minimum size applies to the frame.
void PlaceByFrame(QMainWindow* window);

}  // namespace planimo
