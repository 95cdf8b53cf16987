#include "export/gdal_library.h"

#include <dlfcn.h>

namespace planimo {

namespace {

template <class F>
bool Resolve(void* handle, const char* name, F& entry, std::string& why) {
  entry = reinterpret_cast<F>(dlsym(handle, name));
  if (entry == nullptr) why = std::string(PLANIMO_GDAL_LIBRARY) + ": " + name + " is missing";
  return entry != nullptr;
}

}  // namespace

std::unique_ptr<GdalLibrary> GdalLibrary::Load(std::string& why) {
  // Never unloaded: GDAL registers its drivers once per process.
  void* handle = dlopen(PLANIMO_GDAL_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle == nullptr) {
    const char* e = dlerror();
    why = e != nullptr ? e : PLANIMO_GDAL_LIBRARY;
    return nullptr;
  }
  std::unique_ptr<GdalLibrary> lib(new GdalLibrary);
  lib->handle_ = handle;
  GdalApi& a = lib->api_;
  const bool all = Resolve(handle, "GDALAllRegister", a.AllRegister, why) &&
                   Resolve(handle, "GDALGetDriverByName", a.GetDriverByName, why) &&
                   Resolve(handle, "GDALCreate", a.Create, why) &&
                   Resolve(handle, "GDALClose", a.Close, why) &&
                   Resolve(handle, "GDALDatasetCreateLayer", a.CreateLayer, why) &&
                   Resolve(handle, "GDALDatasetStartTransaction", a.StartTransaction, why) &&
                   Resolve(handle, "GDALDatasetCommitTransaction", a.CommitTransaction, why) &&
                   Resolve(handle, "OSRNewSpatialReference", a.NewSpatialReference, why) &&
                   Resolve(handle, "OSRSetWellKnownGeogCS", a.SetWellKnownGeogCS, why) &&
                   Resolve(handle, "OSRSetAxisMappingStrategy", a.SetAxisMappingStrategy, why) &&
                   Resolve(handle, "OSRRelease", a.ReleaseSpatialReference, why) &&
                   Resolve(handle, "OGR_Fld_Create", a.FieldCreate, why) &&
                   Resolve(handle, "OGR_Fld_Destroy", a.FieldDestroy, why) &&
                   Resolve(handle, "OGR_L_CreateField", a.LayerCreateField, why) &&
                   Resolve(handle, "OGR_L_GetLayerDefn", a.LayerDefinition, why) &&
                   Resolve(handle, "OGR_L_CreateFeature", a.LayerCreateFeature, why) &&
                   Resolve(handle, "OGR_F_Create", a.FeatureCreate, why) &&
                   Resolve(handle, "OGR_F_Destroy", a.FeatureDestroy, why) &&
                   Resolve(handle, "OGR_F_SetFieldDouble", a.SetFieldDouble, why) &&
                   Resolve(handle, "OGR_F_SetFieldString", a.SetFieldString, why) &&
                   Resolve(handle, "OGR_F_SetFieldInteger", a.SetFieldInteger, why) &&
                   Resolve(handle, "OGR_F_SetGeometryDirectly", a.SetGeometryDirectly, why) &&
                   Resolve(handle, "OGR_G_CreateGeometry", a.CreateGeometry, why) &&
                   Resolve(handle, "OGR_G_DestroyGeometry", a.DestroyGeometry, why) &&
                   Resolve(handle, "OGR_G_AddPoint_2D", a.AddPoint, why) &&
                   Resolve(handle, "OGR_G_AddGeometryDirectly", a.AddGeometryDirectly, why) &&
                   Resolve(handle, "CPLErrorReset", a.ErrorReset, why) &&
                   Resolve(handle, "CPLGetLastErrorMsg", a.LastErrorMessage, why) &&
                   Resolve(handle, "CPLGetLastErrorType", a.LastErrorType, why) &&
                   Resolve(handle, "CPLPushErrorHandler", a.PushErrorHandler, why) &&
                   Resolve(handle, "CPLPopErrorHandler", a.PopErrorHandler, why) &&
                   Resolve(handle, "CPLQuietErrorHandler", a.QuietErrorHandler, why);
  if (!all) return nullptr;
  return lib;
}

GdalLibrary::~GdalLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace planimo
