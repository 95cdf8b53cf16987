#pragma once

// The geographic features as GeoJSON (RFC 7946): one FeatureCollection in
// WGS 84 longitude/latitude, each feature's kind, value, unit, caption and
// comment as its properties.

#include <optional>
#include <string>
#include <vector>

#include "io/geo_features.h"

namespace planimo {

inline constexpr std::string_view kGeoJsonHandler = "mnuFileExportGeoJson_Click";

// The layer names of LayerName, as the "layer" property.
std::string GeoJsonText(const std::vector<GeoFeature>& features);

// Refused with NeedsLonLatReport without a longitude/latitude calibration.
std::optional<ErrorReport> WriteGeoJson(const Document& doc, const std::string& path);

}  // namespace planimo
