#pragma once

// GDAL/OGR, loaded only when a GeoPackage is written: linked into the
// program, its hundred-odd libraries would be loaded at every start (some
// 150 ms before the window or even --help could appear). The entry points
// keep the types of GDAL's own C headers.

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <memory>
#include <string>

namespace planimo {

struct GdalApi {
  decltype(&GDALAllRegister) AllRegister = nullptr;
  decltype(&GDALGetDriverByName) GetDriverByName = nullptr;
  decltype(&GDALCreate) Create = nullptr;
  decltype(&GDALClose) Close = nullptr;
  decltype(&GDALDatasetCreateLayer) CreateLayer = nullptr;
  decltype(&GDALDatasetStartTransaction) StartTransaction = nullptr;
  decltype(&GDALDatasetCommitTransaction) CommitTransaction = nullptr;
  decltype(&OSRNewSpatialReference) NewSpatialReference = nullptr;
  decltype(&OSRSetWellKnownGeogCS) SetWellKnownGeogCS = nullptr;
  decltype(&OSRSetAxisMappingStrategy) SetAxisMappingStrategy = nullptr;
  decltype(&OSRRelease) ReleaseSpatialReference = nullptr;
  decltype(&OGR_Fld_Create) FieldCreate = nullptr;
  decltype(&OGR_Fld_Destroy) FieldDestroy = nullptr;
  decltype(&OGR_L_CreateField) LayerCreateField = nullptr;
  decltype(&OGR_L_GetLayerDefn) LayerDefinition = nullptr;
  decltype(&OGR_L_CreateFeature) LayerCreateFeature = nullptr;
  decltype(&OGR_F_Create) FeatureCreate = nullptr;
  decltype(&OGR_F_Destroy) FeatureDestroy = nullptr;
  decltype(&OGR_F_SetFieldDouble) SetFieldDouble = nullptr;
  decltype(&OGR_F_SetFieldString) SetFieldString = nullptr;
  decltype(&OGR_F_SetFieldInteger) SetFieldInteger = nullptr;
  decltype(&OGR_F_SetGeometryDirectly) SetGeometryDirectly = nullptr;
  decltype(&OGR_G_CreateGeometry) CreateGeometry = nullptr;
  decltype(&OGR_G_DestroyGeometry) DestroyGeometry = nullptr;
  decltype(&OGR_G_AddPoint_2D) AddPoint = nullptr;
  decltype(&OGR_G_AddGeometryDirectly) AddGeometryDirectly = nullptr;
  decltype(&CPLErrorReset) ErrorReset = nullptr;
  decltype(&CPLGetLastErrorMsg) LastErrorMessage = nullptr;
  decltype(&CPLGetLastErrorType) LastErrorType = nullptr;
  decltype(&CPLPushErrorHandler) PushErrorHandler = nullptr;
  decltype(&CPLPopErrorHandler) PopErrorHandler = nullptr;
  decltype(&CPLQuietErrorHandler) QuietErrorHandler = nullptr;
};

// The library while it is held; the loader keeps it once loaded, so a
// second export finds it at once.
class GdalLibrary {
 public:
  // Empty, with the loader's reason in `why`, when GDAL is not installed
  // or lacks an entry point.
  static std::unique_ptr<GdalLibrary> Load(std::string& why);
  ~GdalLibrary();
  GdalLibrary(const GdalLibrary&) = delete;
  GdalLibrary& operator=(const GdalLibrary&) = delete;

  const GdalApi& api() const { return api_; }

 private:
  GdalLibrary() = default;
  void* handle_ = nullptr;
  GdalApi api_;
};

}  // namespace planimo
