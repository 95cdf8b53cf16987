#pragma once

// Reading a page of a PDF drawing through QtPdf: the page becomes a picture
// of the paper at 96 dpi, so that at 100 % one screen pixel is 0.2645 mm of
// paper, as for a raster drawing, and drawing millimetres are paper
// millimetres. A file cut short, a damaged file, one that needs a password
// and a page that does not exist are refused.

#include <QImage>
#include <QString>
#include <vector>

#include "io/drawing_pages.h"
#include "view/image_loader.h"

class QPdfDocument;

namespace planimo {

// The resolution a PDF page opens at, in dots per metre (96 dpi exactly).
// The picture's own dots per metre are whole numbers (3780); this is exact.
inline constexpr double kPdfPageDotsPerMetre = 96.0 / 0.0254;

// Page `page` (from 1): its picture size and memory, and the refusals.
ImageProbe ProbePdf(const QString& path, int page);

// The page rendered at 96 dpi over white paper, in RGB32.
ImageLoadResult ReadPdfPage(const QString& path, int page, QImage& out);

// The part `clip` of page `page` (from 1) drawn at `pageSize` pixels for the
// whole page, over white paper, in RGB32; null when it cannot be drawn or
// the memory is not there. Parts of one page meet without a jog.
QImage RenderPdfPart(QPdfDocument& pdf, int page, QSize pageSize, QRect clip);

// Every page with its paper and picture size; empty when the file cannot be read.
std::vector<DrawingPage> PdfPages(const QString& path);

}  // namespace planimo
