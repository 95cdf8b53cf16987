#include "export/geopackage.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <unistd.h>

#include <map>
#include <memory>

#include "io/atomic_write.h"
#include "io/geo_features.h"

namespace planimo {

namespace {

OGRwkbGeometryType GeometryOf(ExportKind kind) {
  switch (kind) {
    case ExportKind::Position:
      return wkbPoint;
    case ExportKind::Area:
      return wkbPolygon;
    default:
      return wkbLineString;
  }
}

std::unique_ptr<OGRGeometry> Geometry(const GeoFeature& f) {
  if (f.kind == ExportKind::Position) {
    return std::make_unique<OGRPoint>(f.points.front().lon, f.points.front().lat);
  }
  auto line = std::make_unique<OGRLineString>();
  for (const LonLat& p : f.points) line->addPoint(p.lon, p.lat);
  if (f.kind != ExportKind::Area) return line;
  auto ring = std::make_unique<OGRLinearRing>();
  ring->addSubLineString(line.get());
  auto polygon = std::make_unique<OGRPolygon>();
  polygon->addRingDirectly(ring.release());
  return polygon;
}

ErrorReport GdalFailure(std::string_view path) {
  const char* message = CPLGetLastErrorMsg();
  return ErrorWithCause(kErrPathFileAccess,
                        message != nullptr && *message != '\0' ? message : "GDAL", path);
}

struct DatasetCloser {
  void operator()(GDALDataset* d) const { GDALClose(d); }
};

std::optional<ErrorReport> WriteLayers(const std::vector<GeoFeature>& features,
                                       const Replacement& r) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (driver == nullptr) {
    return ErrorWithCause(kErrPathFileAccess, "GDAL has no GeoPackage driver", r.shown);
  }
  // GDAL makes the file itself; the empty placeholder would stand in its way.
  ::unlink(r.temp.c_str());
  CPLErrorReset();
  std::unique_ptr<GDALDataset, DatasetCloser> ds(
      driver->Create(r.temp.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!ds) return GdalFailure(r.shown);
  OGRSpatialReference wgs84;
  wgs84.SetWellKnownGeogCS("WGS84");
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  // The layers first, then every feature in one transaction: SQLite
  // writes them at once instead of one commit per feature.
  std::map<ExportKind, OGRLayer*> layers;
  for (const GeoFeature& f : features) {
    OGRLayer*& layer = layers[f.kind];
    if (layer != nullptr) continue;
    layer = ds->CreateLayer(LayerName(f.kind).c_str(), &wgs84, GeometryOf(f.kind), nullptr);
    if (layer == nullptr) return GdalFailure(r.shown);
    OGRFieldDefn value("value", OFTReal);
    OGRFieldDefn unit("unit", OFTString), caption("caption", OFTString),
        comment("comment", OFTString);
    for (OGRFieldDefn* d : {&value, &unit, &caption, &comment}) {
      if (layer->CreateField(d) != OGRERR_NONE) return GdalFailure(r.shown);
    }
  }
  if (ds->StartTransaction() != OGRERR_NONE) return GdalFailure(r.shown);
  for (const GeoFeature& f : features) {
    OGRLayer* layer = layers[f.kind];
    OGRFeature feature(layer->GetLayerDefn());
    if (f.value) feature.SetField("value", *f.value);
    feature.SetField("unit", f.unit.c_str());
    feature.SetField("caption", f.caption.c_str());
    feature.SetField("comment", f.comment.c_str());
    feature.SetGeometryDirectly(Geometry(f).release());
    if (layer->CreateFeature(&feature) != OGRERR_NONE) return GdalFailure(r.shown);
  }
  if (ds->CommitTransaction() != OGRERR_NONE) return GdalFailure(r.shown);
  GDALDataset* done = ds.release();
  CPLErrorReset();
  // Closing writes what is still pending; a full disk shows up here.
  GDALClose(done);
  if (CPLGetLastErrorType() >= CE_Failure) return GdalFailure(r.shown);
  return std::nullopt;
}

}  // namespace

std::optional<ErrorReport> WriteGeoPackage(const Document& doc, const std::string& path) {
  const std::optional<std::vector<GeoFeature>> features = GeoFeatures(doc);
  if (!features) return NeedsLonLatReport();
  Replacement r;
  if (std::optional<ErrorReport> e = BeginReplacement(path, r)) return e;
  // GDAL's warnings (the temporary file's name is not "*.gpkg") are not
  // the user's concern; its failures come back as the report.
  CPLPushErrorHandler(CPLQuietErrorHandler);
  std::optional<ErrorReport> failed = WriteLayers(*features, r);
  CPLPopErrorHandler();
  if (std::optional<ErrorReport> e = std::move(failed)) {
    AbandonReplacement(r);
    return e;
  }
  return CommitReplacement(r);
}

}  // namespace planimo
