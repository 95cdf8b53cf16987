#pragma once

// Reading a drawing's image file for the map view: the checks that turn a
// bad file into one clear message, the full read, and the quick reduced read
// that puts a first picture on screen while a large image is still decoding.
// Every function here is safe to call from a worker thread.

#include <QImage>
#include <QString>

namespace planimo {

// Failures carry kErrFileNotFound (53), kErrPathFileAccess (75),
// kErrInvalidPicture (481) or kErrOutOfMemory (7) of model/error_numbers.h.
struct ImageLoadResult {
  bool ok = false;
  bool pending = false;  // a full-resolution read goes on; MapView::imageReady follows
  int errorNumber = 0;
  QString description;   // the cause, what was wrong, then the file's path in brackets
};

// What the file promises before any pixel is decoded.
struct ImageProbe {
  ImageLoadResult result;  // ok when the file is worth decoding
  QByteArray format;       // "jpeg", "gif" or "bmp"
  QSize size;              // declared pixel size
  qint64 decodedBytes = 0; // memory the decoded picture takes
};

// Existence, a regular file (a pipe or a device is refused, never opened),
// access, format, a JPEG frame the file is too small to hold,
// declared size against the memory the machine can give now (error 7), and
// completeness of a JPEG or BMP stream. Nothing is decoded or allocated.
// `checkJpegStream` false leaves a JPEG cut short to its decoder, whose
// warnings refuse it: the structure scan reads the whole file first.
ImageProbe ProbeImage(const QString& path, bool checkJpegStream = true);

// The whole picture at full resolution, EXIF orientation ignored; grey
// pictures stay 8-bit. A decoder warning of damaged or missing data refuses
// it (kErrInvalidPicture).
ImageLoadResult ReadImage(const QString& path, QImage& out);

// The picture reduced by `denominator`, each side rounded down (JPEG decodes
// it in the DCT: no inverse transform of the detail and a picture 64 times
// smaller to fill, though every coefficient is still unpacked). A picture
// whose decoder warns of damaged data is refused like a full read.
ImageLoadResult ReadReduced(const QString& path, QSize fullSize, int denominator, QImage& out);

// Largest decoded picture, in megabytes, the reader may allocate: half the
// physical memory.
int ImageAllocationLimitMb();

}  // namespace planimo
