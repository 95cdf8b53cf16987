#include "view/tiff_reader.h"

#include <tiffio.h>

#include <QFile>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "io/image_refusal.h"
#include "model/error_numbers.h"

namespace planimo {

namespace {

// libtiff's messages go to this handle's own record, never to the terminal:
// the reader's return values say whether the page could be read.
struct TiffMessages {
  std::string firstError;
};

int KeepError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* messages = static_cast<TiffMessages*>(user);
  if (messages != nullptr && messages->firstError.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    messages->firstError = text;
  }
  return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
  void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(const QString& path, TiffMessages& messages) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, &messages);
  TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
  TiffPtr tif(TIFFOpenExt(QFile::encodeName(path).constData(), "r", options));
  TIFFOpenOptionsFree(options);
  return tif;
}

struct PageTags {
  std::uint32_t width = 0, height = 0;
  std::uint16_t bitsPerSample = 1, samplesPerPixel = 1, photometric = PHOTOMETRIC_MINISWHITE;
  std::uint16_t compression = COMPRESSION_NONE;
  bool tiled = false;
  double dotsPerMetreX = 0, dotsPerMetreY = 0;  // 0: the file does not say
};

PageTags ReadTags(TIFF* tif) {
  PageTags t;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &t.width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &t.height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &t.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samplesPerPixel);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &t.compression);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric)) {
    t.photometric = t.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE;
  }
  t.tiled = TIFFIsTiled(tif) != 0;
  float xres = 0, yres = 0;
  std::uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) &&
      TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres) && xres > 0 && yres > 0 &&
      unit != RESUNIT_NONE) {
    const double perMetre = unit == RESUNIT_CENTIMETER ? 100.0 : 1 / 0.0254;
    t.dotsPerMetreX = xres * perMetre;
    t.dotsPerMetreY = yres * perMetre;
  }
  return t;
}

// A 1- or 8-bit grey page, in strips or in tiles, read straight into its
// picture without passing through colour.
bool IsPlainGrey(const PageTags& t) {
  return t.samplesPerPixel == 1 && (t.bitsPerSample == 1 || t.bitsPerSample == 8) &&
         (t.photometric == PHOTOMETRIC_MINISWHITE || t.photometric == PHOTOMETRIC_MINISBLACK);
}

bool IsGrey(const PageTags& t) {
  return t.samplesPerPixel == 1 &&
         (t.photometric == PHOTOMETRIC_MINISWHITE || t.photometric == PHOTOMETRIC_MINISBLACK);
}

// Memory the decode takes: grey pages that are not plain go through
// libtiff's RGBA reader first and are made grey after.
qint64 DecodedBytes(const PageTags& t) {
  const qint64 pixels = qint64(t.width) * t.height;
  if (IsPlainGrey(t) && t.bitsPerSample == 1) return (qint64(t.width) + 31) / 32 * 4 * t.height;
  if (IsPlainGrey(t)) return pixels;
  return IsGrey(t) ? pixels * 5 : pixels * 4;
}

ImageLoadResult PageMissing(int page, int count, const QString& path) {
  return ImageFailure(
      kErrInvalidPicture,
      QStringLiteral("ページ %1 はありません。このファイルは %2 ページです。").arg(page).arg(count),
      path);
}

// Sets `tif` to page `page` or says why it cannot.
std::optional<ImageLoadResult> GoToPage(TIFF* tif, int page, const QString& path) {
  const int count = TIFFNumberOfDirectories(tif);
  if (page < 1 || page > count || !TIFFSetDirectory(tif, tdir_t(page - 1)))
    return PageMissing(page, count, path);
  return std::nullopt;
}

// The picture a plain grey page decodes into: a 1-bit scan stays 1-bit,
// with black and white in the page's sense (an A0 scan at 600 dpi is 67 MB,
// not the 532 MB of 8-bit grey), an 8-bit page 8-bit grey.
QImage GreyPicture(const PageTags& t) {
  const QSize size(int(t.width), int(t.height));
  if (t.bitsPerSample == 8) return AllocatePicture(size, QImage::Format_Grayscale8);
  QImage image = AllocatePicture(size, QImage::Format_Mono);
  const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
  if (!image.isNull())
    image.setColorTable(t.photometric == PHOTOMETRIC_MINISWHITE ? QList<QRgb>{white, black}
                                                                 : QList<QRgb>{black, white});
  return image;
}

// `width` pixels of a decoded row into picture row `out` from pixel `left`:
// 1-bit rows as they are (libtiff hands them over most significant bit
// first, as the picture holds them), 8-bit rows made black-is-zero.
void PutGreyRow(const std::uint8_t* in, const PageTags& t, std::uint32_t left, std::uint32_t width,
                std::uint8_t* out) {
  if (t.bitsPerSample == 8) {
    out += left;
    if (t.photometric != PHOTOMETRIC_MINISWHITE) {
      std::copy_n(in, width, out);
    } else {
      for (std::uint32_t x = 0; x < width; ++x) out[x] = std::uint8_t(255 - in[x]);
    }
    return;
  }
  // Tiles are a multiple of 16 pixels wide, so each starts on a byte; only
  // a page's last tile ends inside one, beyond which the row holds nothing.
  if (left % 8 == 0 && (width % 8 == 0 || left + width == t.width)) {
    std::memcpy(out + left / 8, in, (width + 7) / 8);
    return;
  }
  for (std::uint32_t x = 0; x < width; ++x) {  // a nonstandard tile width
    const std::uint32_t to = left + x;
    const std::uint8_t mask = std::uint8_t(0x80 >> (to % 8));
    if ((in[x / 8] >> (7 - x % 8)) & 1)
      out[to / 8] |= mask;
    else
      out[to / 8] &= std::uint8_t(~mask);
  }
}

ImageLoadResult Damaged(const QString& path) {
  return ImageFailure(kErrInvalidPicture, QStringLiteral("画像のデータが壊れています。"), path);
}

ImageLoadResult ReadStrippedGrey(TIFF* tif, const PageTags& t, const QString& path, QImage& image) {
  std::vector<std::uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize64(tif)));
  for (std::uint32_t y = 0; y < t.height; ++y) {
    if (TIFFReadScanline(tif, line.data(), y, 0) < 0) return Damaged(path);
    PutGreyRow(line.data(), t, 0, t.width, image.scanLine(int(y)));
  }
  return ImageLoadResult{true, false, 0, QString()};
}

// A large page of several strips, decoded on two threads: strips are coded
// on their own, so each thread reads every other one through a handle of
// its own (a libtiff handle serves one reader) and expands it into its rows.
constexpr std::uint64_t kTwoThreadPixels = 4'000'000;

bool ReadEveryOtherStrip(TIFF* tif, const PageTags& t, std::uint32_t first, uchar* pixels,
                         qsizetype bytesPerLine) {
  std::uint32_t rowsPerStrip = t.height;
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  rowsPerStrip = std::clamp<std::uint32_t>(rowsPerStrip, 1, t.height);
  const tmsize_t stripBytes = TIFFStripSize(tif);
  const tmsize_t rowBytes = TIFFScanlineSize(tif);
  if (stripBytes <= 0 || rowBytes <= 0) return false;
  std::vector<std::uint8_t> strip(static_cast<std::size_t>(stripBytes));
  const std::uint32_t strips = TIFFNumberOfStrips(tif);
  for (std::uint32_t i = first; i < strips; i += 2) {
    const std::uint64_t top = std::uint64_t(i) * rowsPerStrip;
    if (top >= t.height) break;
    const std::uint32_t rows = std::uint32_t(std::min<std::uint64_t>(rowsPerStrip, t.height - top));
    if (TIFFReadEncodedStrip(tif, i, strip.data(), tmsize_t(rows) * rowBytes) <
        tmsize_t(rows) * rowBytes)
      return false;
    for (std::uint32_t r = 0; r < rows; ++r)
      PutGreyRow(strip.data() + tmsize_t(r) * rowBytes, t, 0, t.width,
                 pixels + qsizetype(top + r) * bytesPerLine);
  }
  return true;
}

ImageLoadResult ReadStripsOnTwoThreads(TIFF* tif, const PageTags& t, const QString& path,
                                       QImage& image) {
  const tdir_t page = TIFFCurrentDirectory(tif);
  // Both threads write through the one pointer taken here, never through
  // the picture itself.
  uchar* pixels = image.bits();
  const qsizetype bytesPerLine = image.bytesPerLine();
  bool otherOk = false;
  std::thread other([&] {
    TiffMessages messages;
    const TiffPtr own = OpenTiff(path, messages);
    otherOk = own && TIFFSetDirectory(own.get(), page) &&
              ReadEveryOtherStrip(own.get(), t, 1, pixels, bytesPerLine);
  });
  const bool ok = ReadEveryOtherStrip(tif, t, 0, pixels, bytesPerLine);
  other.join();
  return ok && otherOk ? ImageLoadResult{true, false, 0, QString()} : Damaged(path);
}

// A tiled page, one tile at a time: only a tile's bytes are held besides
// the picture. Tiles at the right and bottom edge reach past the page and
// are cut to it.
ImageLoadResult ReadTiledGrey(TIFF* tif, const PageTags& t, const QString& path, QImage& image) {
  std::uint32_t tileWidth = 0, tileHeight = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
  const tmsize_t tileBytes = TIFFTileSize(tif);
  const tmsize_t rowBytes = TIFFTileRowSize(tif);
  // A tile is a small part of a page; one claiming more than this is a
  // damaged directory, not a reason to allocate.
  constexpr tmsize_t kMaxTileBytes = 64 * 1024 * 1024;
  if (tileWidth == 0 || tileHeight == 0 || tileBytes <= 0 || rowBytes <= 0 ||
      tileBytes > kMaxTileBytes)
    return Damaged(path);
  std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileBytes));
  for (std::uint32_t top = 0; top < t.height; top += tileHeight) {
    const std::uint32_t rows = std::min(tileHeight, t.height - top);
    for (std::uint32_t left = 0; left < t.width; left += tileWidth) {
      if (TIFFReadTile(tif, tile.data(), left, top, 0, 0) < 0) return Damaged(path);
      const std::uint32_t width = std::min(tileWidth, t.width - left);
      for (std::uint32_t r = 0; r < rows; ++r)
        PutGreyRow(tile.data() + tmsize_t(r) * rowBytes, t, left, width,
                   image.scanLine(int(top + r)));
    }
  }
  return ImageLoadResult{true, false, 0, QString()};
}

ImageLoadResult ReadPlainGrey(TIFF* tif, const PageTags& t, const QString& path, QImage& out) {
  QImage image = GreyPicture(t);
  if (image.isNull()) return ImageFailure(kErrOutOfMemory, QString(), path);
  const ImageLoadResult r =
      t.tiled ? ReadTiledGrey(tif, t, path, image)
      : std::uint64_t(t.width) * t.height >= kTwoThreadPixels && TIFFNumberOfStrips(tif) > 1
          ? ReadStripsOnTwoThreads(tif, t, path, image)
          : ReadStrippedGrey(tif, t, path, image);
  if (r.ok) out = std::move(image);
  return r;
}

// Everything else libtiff can turn into RGBA: colour, palettes, colour tiles,
// 16-bit samples, JPEG-in-TIFF. The pixels are decoded in place into the
// RGB32 picture (both hold four bytes a pixel) and put into Qt's order.
ImageLoadResult ReadThroughRgba(TIFF* tif, const PageTags& t, const QString& path, QImage& out) {
  QImage image = AllocatePicture(QSize(int(t.width), int(t.height)), QImage::Format_RGB32);
  if (image.isNull()) return ImageFailure(kErrOutOfMemory, QString(), path);
  auto* raster = reinterpret_cast<std::uint32_t*>(image.bits());
  if (!TIFFReadRGBAImageOriented(tif, t.width, t.height, raster, ORIENTATION_TOPLEFT, 0))
    return Damaged(path);
  const qsizetype n = qsizetype(t.width) * t.height;
  for (qsizetype i = 0; i < n; ++i) {
    const std::uint32_t p = raster[i];
    // Transparent parts of a page are paper: composed over white.
    const unsigned a = TIFFGetA(p);
    const auto over = [a](unsigned c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    raster[i] = qRgb(int(over(TIFFGetR(p))), int(over(TIFFGetG(p))), int(over(TIFFGetB(p))));
  }
  if (IsGrey(t)) image.convertTo(QImage::Format_Grayscale8);
  out = std::move(image);
  return ImageLoadResult{true, false, 0, QString()};
}

}  // namespace

ImageProbe ProbeTiff(const QString& path, qint64 fileSize, int page) {
  ImageProbe probe;
  probe.format = "tiff";
  TiffMessages messages;
  const TiffPtr tif = OpenTiff(path, messages);
  if (!tif) {
    probe.result =
        ImageFailure(kErrInvalidPicture, QStringLiteral("TIFF ファイルが壊れています。"), path);
    return probe;
  }
  probe.pageCount = TIFFNumberOfDirectories(tif.get());
  if (const auto missing = GoToPage(tif.get(), page, path)) {
    probe.result = *missing;
    return probe;
  }
  const PageTags t = ReadTags(tif.get());
  probe.size = QSize(int(std::min<std::uint32_t>(t.width, INT_MAX)),
                     int(std::min<std::uint32_t>(t.height, INT_MAX)));
  if (t.width == 0 || t.height == 0 || t.width > INT_MAX / 4 || t.height > INT_MAX) {
    probe.result =
        ImageFailure(kErrInvalidPicture, QStringLiteral("画像の大きさが読み取れません。"), path);
    return probe;
  }
  TiffPage declared{t.width, t.height, t.bitsPerSample * t.samplesPerPixel, t.compression, 0};
  std::uint64_t end = 0;
  // A tiled page has no rows per strip, for which libtiff counts one strip.
  const std::uint32_t striles =
      t.tiled ? TIFFNumberOfTiles(tif.get()) : TIFFNumberOfStrips(tif.get());
  for (std::uint32_t i = 0; i < striles; ++i) {
    const std::uint64_t count = TIFFGetStrileByteCount(tif.get(), i);
    declared.dataBytes += count;
    end = std::max(end, TIFFGetStrileOffset(tif.get(), i) + count);
  }
  if (end > std::uint64_t(fileSize)) {
    probe.result =
        ImageFailure(kErrInvalidPicture, QStringLiteral("ファイルが途中で切れています。"), path);
    return probe;
  }
  if (TiffTooShortForItsSize(declared, std::uint64_t(fileSize))) {
    probe.result = ImageFailure(
        kErrInvalidPicture,
        QStringLiteral(
            "%1 × %2 ピクセルの画像を収めるにはファイルが小さすぎます。壊れたファイルです。")
            .arg(t.width)
            .arg(t.height),
        path);
    return probe;
  }
  probe.decodedBytes = DecodedBytes(t);
  probe.result.ok = true;
  return probe;
}

ImageLoadResult ReadTiff(const QString& path, int page, QImage& out) {
  TiffMessages messages;
  const TiffPtr tif = OpenTiff(path, messages);
  if (!tif)
    return ImageFailure(kErrInvalidPicture, QStringLiteral("TIFF ファイルが壊れています。"), path);
  if (const auto missing = GoToPage(tif.get(), page, path)) return *missing;
  const PageTags t = ReadTags(tif.get());
  QImage image;
  const ImageLoadResult r = IsPlainGrey(t) ? ReadPlainGrey(tif.get(), t, path, image)
                                           : ReadThroughRgba(tif.get(), t, path, image);
  if (!r.ok) return r;
  if (t.dotsPerMetreX > 0) {
    image.setDotsPerMeterX(int(t.dotsPerMetreX + 0.5));
    image.setDotsPerMeterY(int(t.dotsPerMetreY + 0.5));
  }
  out = std::move(image);
  return r;
}

std::vector<DrawingPage> TiffPages(const QString& path) {
  std::vector<DrawingPage> pages;
  TiffMessages messages;
  const TiffPtr tif = OpenTiff(path, messages);
  if (!tif) return pages;
  const int count = TIFFNumberOfDirectories(tif.get());
  for (int i = 0; i < count && TIFFSetDirectory(tif.get(), tdir_t(i)); ++i) {
    const PageTags t = ReadTags(tif.get());
    DrawingPage p;
    p.number = i + 1;
    p.widthPx = int(std::min<std::uint32_t>(t.width, INT_MAX));
    p.heightPx = int(std::min<std::uint32_t>(t.height, INT_MAX));
    if (t.dotsPerMetreX > 0) {
      p.widthMm = t.width / t.dotsPerMetreX * 1000;
      p.heightMm = t.height / t.dotsPerMetreY * 1000;
    }
    pages.push_back(p);
  }
  return pages;
}

}  // namespace planimo
