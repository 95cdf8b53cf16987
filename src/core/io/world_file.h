#pragma once

// A world file, so that a GIS shows the scanned drawing at its place: the
// affine relation from the image's pixels to WGS 84 longitude and latitude
// (degrees) that the longitude/latitude calibration defines, the tilt
// correction included, written beside the image with a ".prj" naming the
// coordinate system.

#include <optional>
#include <string>
#include <string_view>

#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

inline constexpr std::string_view kWorldFileHandler = "mnuFileExportWorld_Click";

// lon = a × column + b × row + c, lat = d × column + e × row + f, for the
// centre of the pixel in `column` and `row` (from 0).
struct WorldTransform {
  double a = 0, d = 0, b = 0, e = 0, c = 0, f = 0;
};

// Empty without a longitude/latitude calibration. One image pixel covers
// `mmPerPixel` drawing millimetres at 100 %.
std::optional<WorldTransform> LonLatWorldTransform(const ProjectState& state, double mmPerPixel);

// The six lines a, d, b, e, c, f.
std::string WorldFileText(const WorldTransform& t);

// The world file beside `imagePath`: the extension's first and last letter
// and "w" (".jpg" → ".jgw", ".gif" → ".gfw", ".bmp" → ".bgw", ".tif" →
// ".tfw", ".png" → ".pgw"); an image without an extension gets ".wld".
std::string WorldFilePath(const std::string& imagePath);
std::string PrjPath(const std::string& imagePath);
// GDAL's side file of the image (`imagePath` + ".aux.xml"), which names the
// coordinate system for readers that ignore the ".prj".
std::string AuxXmlPath(const std::string& imagePath);
std::string AuxXmlText();

// WGS 84 longitude/latitude as a ".prj" states it.
inline constexpr std::string_view kWgs84Prj =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
    "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

// Writes the world file and the ".prj" beside `target`, and the ".aux.xml"
// unless the image has one already (it may hold more than the system). When `target` is
// not the drawing's image `imagePath`, a copy of the image is written there
// first; the copy and the side files are written together or
// not at all. Refused with NeedsLonLatReport without a longitude/latitude
// calibration.
std::optional<ErrorReport> WriteWorldFiles(const Document& doc, const std::string& imagePath,
                                           const std::string& target, double mmPerPixel);

}  // namespace planimo
