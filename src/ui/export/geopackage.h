#pragma once

// The geographic features as a GeoPackage (SQLite), written through GDAL:
// one layer per kind (positions as points, distances and routes as line
// strings, areas as polygons) in WGS 84, with value, unit, caption and
// comment as fields.

#include <optional>
#include <string>
#include <string_view>

#include "model/document.h"
#include "model/error_numbers.h"

namespace planimo {

inline constexpr std::string_view kGeoPackageHandler = "mnuFileExportGpkg_Click";

// Refused with NeedsLonLatReport without a longitude/latitude calibration;
// the file is replaced only once it is complete.
std::optional<ErrorReport> WriteGeoPackage(const Document& doc, const std::string& path);

}  // namespace planimo
