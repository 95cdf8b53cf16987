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

std::optional<ErrorReport> WriteWorld(const Document& doc, const QString& out,
                                      const QString& imagePath) {
  if (!HasLonLatCalibration(doc.state)) return NeedsLonLatReport();
  if (imagePath.isEmpty() || !QFileInfo(imagePath).isFile()) {
    return ErrorReport{kErrFileNotFound, std::string(kNoImageText)};
  }
  // A page of a PDF has no pixels of its own for the world file to count.
  if (QFileInfo(imagePath).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0) {
    return ErrorReport{kErrInvalidPicture, std::string(kPdfImageText)};
  }
  return WriteWorldFiles(doc, imagePath.toStdString(), out.toStdString(), kMmPerPicturePixel);
}

}  // namespace

ExportOutcome ExportDrawing(const Document& doc, ExportFormat format, const QString& out,
                            const QString& imagePath) {
  const std::string path = out.toStdString();
  switch (format) {
    case ExportFormat::Dxf:
      return {kDxfHandler, WriteDxf(doc, path)};
    case ExportFormat::GeoJson:
      return {kGeoJsonHandler, WriteGeoJson(doc, path)};
    case ExportFormat::GeoPackage:
      return {kGeoPackageHandler, WriteGeoPackage(doc, path)};
    case ExportFormat::WorldFile:
      return {kWorldFileHandler, WriteWorld(doc, out, imagePath)};
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
