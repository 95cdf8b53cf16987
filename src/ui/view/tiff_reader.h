#pragma once

// Reading a TIFF drawing with libtiff: a 1-bit scan (CCITT G4 and the like)
// stays 1-bit and an 8-bit grey one 8-bit, in strips or in tiles, so an A0
// scan at 600 dpi takes 67 MB; colour pages decode into RGB32. A page whose
// strips claim more pixels than their bytes can hold, or point past the end
// of the file, is refused before its picture is allocated.

#include <QImage>
#include <QString>
#include <vector>

#include "io/drawing_pages.h"
#include "view/image_loader.h"

namespace planimo {

// Page `page` (from 1) of the TIFF at `path`: its size, the memory its
// picture takes, and the refusals that need no decoding.
ImageProbe ProbeTiff(const QString& path, qint64 fileSize, int page);

// The page decoded; 1-bit pages as Format_Mono (black and white in its
// colour table), grey pages as Format_Grayscale8, the file's resolution
// kept as the picture's dots per metre.
ImageLoadResult ReadTiff(const QString& path, int page, QImage& out);

// Every page of the file with its pixel and paper size; empty when the file
// cannot be read.
std::vector<DrawingPage> TiffPages(const QString& path);

}  // namespace planimo
