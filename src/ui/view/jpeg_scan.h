#pragma once

// Decoding a JPEG scan with libjpeg-turbo straight into the map view's
// picture, 16 rows at a time, publishing the rows as they are finished.
// One pass over the file: no separate preview read. A damaged or lying file
// is refused by the same rules as every reader's: a warning of damaged data
// refuses the picture, and a frame the file cannot hold is refused before
// any pixel memory is taken.

#include <QString>
#include <functional>
#include <memory>

#include "view/image_loader.h"
#include "view/scan_picture.h"

namespace planimo {

class JpegScan;
struct JpegScanDeleter {
  void operator()(JpegScan* s) const;
};
using JpegScanPtr = std::unique_ptr<JpegScan, JpegScanDeleter>;

struct JpegScanStart {
  ImageLoadResult result;                 // not ok: refused, nothing allocated
  bool useQtReader = false;               // CMYK, YCCK and the like: libjpeg-turbo gives no RGB for them
  std::shared_ptr<ScanPicture> picture;   // allocated, no row yet
  JpegScanPtr scan;        // the open decoder, header read
};

// Reads the header of the JPEG file at `path` and allocates its picture
// (with room for levels when `withLevels`).
JpegScanStart StartJpegScan(const QString& path, bool withLevels);

// Decodes every row of `scan` into `picture`, publishing each batch and
// calling `onRows` with the rows published so far (from the calling
// thread). Ends the picture's decode (ok or failed) before returning; stops
// early when the picture is cancelled.
ImageLoadResult DecodeJpegScan(JpegScan& scan, ScanPicture& picture, const std::function<void(int)>& onRows);

}  // namespace planimo
