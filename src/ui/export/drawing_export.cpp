#include "export/drawing_export.h"

#include <QFileInfo>

#include "export/geopackage.h"
#include "geometry/scale_calibration.h"
#include "io/dxf_export.h"
#include "io/export_plane.h"
#include "io/geojson_export.h"
#include "io/world_file.h"

namespace planimo {

namespace {

constexpr std::string_view kNoImageText =
    "図面の画像がありません。画像を開いてから書き出してください。";
constexpr std::string_view kPdfImageText =
    "PDFの図面にはワールドファイルを付けられません。JPEG、PNG、TIFFなどの画像の図面で書き出してくだ"
    "さい。";

}  // namespace

std::optional<ErrorReport> ExportRefusal(const Document& doc, ExportFormat format,
                                         const QString& imagePath) {
  if (format == ExportFormat::Dxf) return std::nullopt;
  if (!HasLonLatCalibration(doc.state)) return NeedsLonLatReport();
  if (format != ExportFormat::WorldFile) return std::nullopt;
  if (imagePath.isEmpty() || !QFileInfo(imagePath).isFile()) {
    return ErrorReport{kErrFileNotFound, std::string(kNoImageText)};
  }
  // A page of a PDF has no pixels of its own for the world file to count.
  if (QFileInfo(imagePath).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0) {
    return ErrorReport{kErrInvalidPicture, std::string(kPdfImageText)};
  }
  return std::nullopt;
}

std::string_view ExportHandler(ExportFormat format) {
  switch (format) {
    case ExportFormat::Dxf:
      return kDxfHandler;
    case ExportFormat::GeoJson:
      return kGeoJsonHandler;
    case ExportFormat::GeoPackage:
      return kGeoPackageHandler;
    case ExportFormat::WorldFile:
      return kWorldFileHandler;
  }
  return {};
}

ExportOutcome ExportDrawing(const Document& doc, ExportFormat format, const QString& out,
                            const QString& imagePath) {
  if (std::optional<ErrorReport> refused = ExportRefusal(doc, format, imagePath)) {
    return {ExportHandler(format), refused};
  }
  const std::string path = out.toStdString();
  switch (format) {
    case ExportFormat::Dxf:
      return {kDxfHandler, WriteDxf(doc, path)};
    case ExportFormat::GeoJson:
      return {kGeoJsonHandler, WriteGeoJson(doc, path)};
    case ExportFormat::GeoPackage:
      return {kGeoPackageHandler, WriteGeoPackage(doc, path)};
    case ExportFormat::WorldFile:
      return {kWorldFileHandler,
              WriteWorldFiles(doc, imagePath.toStdString(), path, kMmPerPicturePixel)};
  }
  return {};
}

bool ExportOffered(const Document& doc, ExportFormat format) {
  return format == ExportFormat::Dxf || HasLonLatCalibration(doc.state);
}

FileChooserRequest ExportChooser(const Document& doc, ExportFormat format,
                                 const QString& imagePath) {
  switch (format) {
    case ExportFormat::Dxf:
      return {true, "DXFファイル保存", doc.settings.PRJ_FD, "dxf", {{"DXF(*.dxf)", "*.dxf"}}, ""};
    case ExportFormat::GeoJson:
    case ExportFormat::GeoPackage:
      return {true,
              "GeoJSON / GeoPackage保存",
              doc.settings.PRJ_FD,
              "gpkg",
              {{"GeoPackage(*.gpkg)", "*.gpkg"}, {"GeoJSON(*.geojson)", "*.geojson"}},
              ""};
    case ExportFormat::WorldFile: {
      const QFileInfo image(imagePath);
      const std::string suffix = image.suffix().toStdString();
      return {true,   "ワールドファイルを付ける画像",          image.absolutePath().toStdString(),
              suffix, {{"(*." + suffix + ")", "*." + suffix}}, image.fileName().toStdString()};
    }
  }
  return {};
}

QString ErrorLines(std::string_view handler, const ErrorReport& r) {
  return QString::fromStdString(ErrorBoxText(handler, r.number, r.description))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace planimo
