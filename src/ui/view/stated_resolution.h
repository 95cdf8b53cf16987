#pragma once

// The scan resolution a drawing's file states (JFIF density, TIFF and PNG
// resolution, BMP pixels per metre), as the readers leave it on the picture.

#include <QImage>
#include <optional>

namespace planimo {

// Dots per inch across the picture; empty for no picture, and for a picture
// whose file stated nothing: the readers then leave the resolution every new
// picture of this process starts with, which describes the screen, not the
// scan.
std::optional<double> StatedDpi(const QImage& picture);

// The resolution "縮尺から設定" starts from: a PDF page is drawn at exactly
// 96 dpi, which is also what an unstated picture carries, so it is said
// here; any other picture gives what its file stated.
std::optional<double> DrawingDpi(const QImage& picture, bool pdfPage);

}  // namespace planimo
