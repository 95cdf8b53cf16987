#include "export/geopackage.h"

#include <unistd.h>

#include <map>

#include "export/gdal_library.h"
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

OGRGeometryH Geometry(const GdalApi& g, const GeoFeature& f) {
  if (f.kind == ExportKind::Position) {
    OGRGeometryH point = g.CreateGeometry(wkbPoint);
    g.AddPoint(point, f.points.front().lon, f.points.front().lat);
    return point;
  }
  OGRGeometryH line = g.CreateGeometry(f.kind == ExportKind::Area ? wkbLinearRing : wkbLineString);
  for (const LonLat& p : f.points) g.AddPoint(line, p.lon, p.lat);
  if (f.kind != ExportKind::Area) return line;
  OGRGeometryH polygon = g.CreateGeometry(wkbPolygon);
  if (g.AddGeometryDirectly(polygon, line) != OGRERR_NONE) g.DestroyGeometry(line);
  return polygon;
}

// One GeoPackage being written through GDAL; closed whatever happens.
class GeoPackageWriter {
 public:
  GeoPackageWriter(const GdalApi& g, const Replacement& r) : g_(g), r_(r) {}
  ~GeoPackageWriter() {
    if (ds_ != nullptr) g_.Close(ds_);
    if (srs_ != nullptr) g_.ReleaseSpatialReference(srs_);
  }
  GeoPackageWriter(const GeoPackageWriter&) = delete;
  GeoPackageWriter& operator=(const GeoPackageWriter&) = delete;

  std::optional<ErrorReport> Write(const std::vector<GeoFeature>& features) {
    g_.AllRegister();
    GDALDriverH driver = g_.GetDriverByName("GPKG");
    if (driver == nullptr) {
      return ErrorWithCause(kErrPathFileAccess, "GDAL has no GeoPackage driver", r_.shown);
    }
    // GDAL makes the file itself; the empty placeholder would stand in its way.
    ::unlink(r_.temp.c_str());
    g_.ErrorReset();
    ds_ = g_.Create(driver, r_.temp.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (ds_ == nullptr) return Failure();
    srs_ = g_.NewSpatialReference(nullptr);
    if (g_.SetWellKnownGeogCS(srs_, "WGS84") != OGRERR_NONE) return Failure();
    g_.SetAxisMappingStrategy(srs_, OAMS_TRADITIONAL_GIS_ORDER);
    // The layers first, then every feature in one transaction: SQLite
    // writes them at once, and one transaction cannot be open on two
    // layers of the file.
    std::map<ExportKind, OGRLayerH> layers;
    for (const GeoFeature& f : features) {
      OGRLayerH& layer = layers[f.kind];
      if (layer != nullptr) continue;
      layer = g_.CreateLayer(ds_, LayerName(f.kind).c_str(), srs_, GeometryOf(f.kind), nullptr);
      if (layer == nullptr || !AddFields(layer)) return Failure();
    }
    if (g_.StartTransaction(ds_, FALSE) != OGRERR_NONE) return Failure();
    for (const GeoFeature& f : features) {
      if (!AddFeature(layers[f.kind], f)) return Failure();
    }
    if (g_.CommitTransaction(ds_) != OGRERR_NONE) return Failure();
    // Closing writes what is still pending; a full disk shows up here.
    g_.ErrorReset();
    g_.Close(ds_);
    ds_ = nullptr;
    if (g_.LastErrorType() >= CE_Failure) return Failure();
    return std::nullopt;
  }

 private:
  bool AddFields(OGRLayerH layer) {
    const std::pair<const char*, OGRFieldType> fields[] = {
        {"value", OFTReal},     {"unit", OFTString}, {"caption", OFTString},
        {"comment", OFTString}, {"item", OFTString}, {"deduction", OFTInteger}};
    for (const auto& [name, type] : fields) {
      OGRFieldDefnH d = g_.FieldCreate(name, type);
      const bool made = g_.LayerCreateField(layer, d, TRUE) == OGRERR_NONE;
      g_.FieldDestroy(d);
      if (!made) return false;
    }
    return true;
  }

  bool AddFeature(OGRLayerH layer, const GeoFeature& f) {
    OGRFeatureH feature = g_.FeatureCreate(g_.LayerDefinition(layer));
    if (f.value) g_.SetFieldDouble(feature, 0, *f.value);
    g_.SetFieldString(feature, 1, f.unit.c_str());
    g_.SetFieldString(feature, 2, f.caption.c_str());
    g_.SetFieldString(feature, 3, f.comment.c_str());
    g_.SetFieldString(feature, 4, f.item.c_str());
    g_.SetFieldInteger(feature, 5, f.deduction ? 1 : 0);
    g_.SetGeometryDirectly(feature, Geometry(g_, f));
    const bool made = g_.LayerCreateFeature(layer, feature) == OGRERR_NONE;
    g_.FeatureDestroy(feature);
    return made;
  }

  ErrorReport Failure() const {
    const char* message = g_.LastErrorMessage();
    return ErrorWithCause(kErrPathFileAccess,
                          message != nullptr && *message != '\0' ? message : "GDAL", r_.shown);
  }

  const GdalApi& g_;
  const Replacement& r_;
  GDALDatasetH ds_ = nullptr;
  OGRSpatialReferenceH srs_ = nullptr;
};

}  // namespace

std::optional<ErrorReport> WriteGeoPackage(const Document& doc, const std::string& path) {
  const std::optional<std::vector<GeoFeature>> features = GeoFeatures(doc);
  if (!features) return NeedsLonLatReport();
  std::string why;
  const std::unique_ptr<GdalLibrary> gdal = GdalLibrary::Load(why);
  if (!gdal)
    return ErrorWithCause(kErrFileNotFound, "GeoPackageの書き出しにはGDALが必要です: " + why, path);
  Replacement r;
  if (std::optional<ErrorReport> e = BeginReplacement(path, r)) return e;
  const GdalApi& g = gdal->api();
  // GDAL's warnings (the temporary file's name is not "*.gpkg") are not
  // the user's concern; its failures come back as the report.
  g.PushErrorHandler(g.QuietErrorHandler);
  std::optional<ErrorReport> failed = GeoPackageWriter(g, r).Write(*features);
  g.PopErrorHandler();
  if (failed) {
    AbandonReplacement(r);
    return failed;
  }
  return CommitReplacement(r);
}

}  // namespace planimo
