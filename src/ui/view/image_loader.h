#pragma once

// Reading a drawing's image file for the map view: the checks that turn a
// bad file into one clear message, the full read, and the quick reduced read
// that puts a first picture on screen while a large image is still decoding.
// Every function here is safe to call from a worker thread.

#include <QImage>
#include <QString>
#include <vector>

#include "io/drawing_pages.h"

namespace planimo {

// Failures carry kErrFileNotFound (53), kErrPathFileAccess (75),
// kErrInvalidPicture (481) or kErrOutOfMemory (7) of model/error_numbers.h.
struct ImageLoadResult {
  bool ok = false;
  bool pending = false;  // a full-resolution read goes on; MapView::imageReady follows
  int errorNumber = 0;
  QString description;   // the cause, what was wrong, then the file's path in brackets
  bool pdfPage = false;  // the picture is a PDF page at exactly 96 dpi: its paper size is exact
};

// What the file promises before any pixel is decoded.
struct ImageProbe {
  ImageLoadResult result;  // ok when the file is worth decoding
  QByteArray format;       // "jpeg", "gif", "bmp", "png", "tiff" or "pdf", judged by content
  QSize size;              // declared pixel size (a PDF page's at 96 dpi)
  qint64 decodedBytes = 0; // memory the decoded picture takes
  int pageCount = 1;       // pages of a TIFF or a PDF
};

// Existence, a regular file (a pipe or a device is refused, never opened),
// access, format, a JPEG frame the file is too small to hold,
// declared size against the memory the machine can give now (error 7), and
// completeness of a JPEG or BMP stream. Nothing is decoded or allocated.
// `checkJpegStream` false leaves a JPEG cut short to its decoder, whose
// warnings refuse it: the structure scan reads the whole file first.
// The format is judged by the file's content, never by its name. `page`
// (from 1) is the page of a TIFF or a PDF; a page that does not exist is
// refused (kErrInvalidPicture).
ImageProbe ProbeImage(const QString& path, bool checkJpegStream = true, int page = 1);

// The whole picture at full resolution, EXIF orientation ignored; grey
// pictures stay 8-bit. A decoder warning of damaged or missing data refuses
// it (kErrInvalidPicture). A PDF page is rendered at 96 dpi (pdfPage set).
ImageLoadResult ReadImage(const QString& path, QImage& out, int page = 1);

// The pages of a TIFF or a PDF, with their sizes; one page for the other
// formats; empty when the file cannot be read (the probe says why).
std::vector<DrawingPage> DrawingPages(const QString& path);

// "tiff" or "pdf" when the file's first bytes say so, else empty (the image
// reader judges the other formats).
QByteArray PagedFormat(const QString& path);

// A failure: the number's usual text, what exactly was wrong, and the file.
ImageLoadResult ImageFailure(int number, const QString& detail, const QString& path);

// An empty picture for a decoder to fill: a large one in memory of its own
// (plain pages, returned to the system when the picture goes). Null when the
// memory is not there.
QImage AllocatePicture(QSize size, QImage::Format format);

// The picture reduced by `denominator`, each side rounded down (JPEG decodes
// it in the DCT: no inverse transform of the detail and a picture 64 times
// smaller to fill, though every coefficient is still unpacked). A picture
// whose decoder warns of damaged data is refused like a full read.
ImageLoadResult ReadReduced(const QString& path, QSize fullSize, int denominator, QImage& out);

// Largest decoded picture, in megabytes, the reader may allocate: half the
// physical memory.
int ImageAllocationLimitMb();

}  // namespace planimo
