#include "io/geojson_export.h"

#include <array>
#include <charconv>
#include <cmath>
#include <span>

#include "io/atomic_write.h"

namespace planimo {

namespace {

std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      constexpr std::string_view kHex = "0123456789abcdef";
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The shortest text that reads back as the same double.
std::string JsonNumber(double v) {
  std::array<char, 32> c{};
  const auto r = std::to_chars(c.data(), c.data() + c.size(), std::isfinite(v) ? v : 0.0);
  return std::string(c.data(), r.ptr);
}

std::string Position(const LonLat& p) {
  return "[" + JsonNumber(p.lon) + "," + JsonNumber(p.lat) + "]";
}

std::string Positions(const std::vector<LonLat>& points) {
  std::string out = "[";
  for (std::size_t i = 0; i < points.size(); ++i) out += (i ? "," : "") + Position(points[i]);
  return out + "]";
}

std::string Geometry(const GeoFeature& f) {
  switch (f.kind) {
    case ExportKind::Position:
      return R"({"type":"Point","coordinates":)" + Position(f.points.front()) + "}";
    case ExportKind::Area:
      return R"({"type":"Polygon","coordinates":[)" + Positions(f.points) + "]}";
    default:
      return R"({"type":"LineString","coordinates":)" + Positions(f.points) + "}";
  }
}

}  // namespace

std::string GeoJsonText(const std::vector<GeoFeature>& features) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (std::size_t i = 0; i < features.size(); ++i) {
    const GeoFeature& f = features[i];
    out += i ? ",\n" : "\n";
    out += R"({"type":"Feature","geometry":)" + Geometry(f) + R"(,"properties":{"layer":)" +
           JsonString(LayerName(f.kind, f.item)) +
           ",\"value\":" + (f.value ? JsonNumber(*f.value) : "null") +
           ",\"unit\":" + JsonString(f.unit) + ",\"caption\":" + JsonString(f.caption) +
           ",\"comment\":" + JsonString(f.comment) + ",\"item\":" + JsonString(f.item) +
           ",\"deduction\":" + (f.deduction ? "true" : "false") + "}}";
  }
  return out + "\n]}\n";
}

std::optional<ErrorReport> WriteGeoJson(const Document& doc, const std::string& path) {
  const std::optional<std::vector<GeoFeature>> features = GeoFeatures(doc);
  if (!features) return NeedsLonLatReport();
  const FileWrite file{path, GeoJsonText(*features)};
  return WriteFilesAtomically(std::span<const FileWrite>(&file, 1), false);
}

}  // namespace planimo
