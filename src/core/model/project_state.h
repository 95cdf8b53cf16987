#pragma once

// Everything a project knows apart from its measurement objects. Field names
// are the keys of the project file; Single is float, Double is double,
// Integer is int16_t.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/takeoff_item.h"

namespace planimo {

struct SinglePoint {
  float sngX = 0;
  float sngY = 0;
  bool operator==(const SinglePoint&) const = default;
};

// An angle as typed: degrees, minutes and seconds.
struct DmsRecord {
  std::int16_t intDeg = 0;
  std::int16_t intMin = 0;
  float sngSec = 0;
  bool operator==(const DmsRecord&) const = default;
};

struct ProjectState {
  // Measurement mode and drawing options.
  bool GE_booModeDis = true;
  bool GE_booModeKei = false;
  float GE_sngHojoLen = 15.0f;
  bool GE_booSnap = true;
  bool GE_booPrtCmt = false;

  // Units.
  std::int16_t GE_intUnitDIndex = 2;
  std::int16_t GE_intUnitSIndex = 2;
  float GE_sngKeisuD = 1.0f;
  float GE_sngKeisuS = 1.0f;
  std::string strUnitD = "m ";
  std::string strUnitS = "m2 ";
  std::int16_t intDPointD = 2;
  std::int16_t intDPointS = 2;
  std::array<std::string, 9> strFormat{};

  // Tilt correction: (0),(1) is the rotation centre.
  std::array<float, 4> GE_sngHosei{10, 10, 100, 10};
  std::array<double, 4> GE_dblHosei{0, 0, 0, 0};

  // Known distance.
  std::array<SinglePoint, 4> GE_tpPiccelD{
      SinglePoint{50, 5}, SinglePoint{150, 5}, SinglePoint{150, 5}, SinglePoint{150, 105}};
  float GE_sngPiccelD_X = 100;
  float GE_sngPiccelD_Y = 100;
  float GE_sngDistanceD_X = 100;
  float GE_sngDistanceD_Y = 100;
  double GE_tpPtoD_r_X = 1.0;
  double GE_tpPtoD_r_Y = 1.0;
  double GE_dblAspectM = 1.0;

  // Longitude/latitude calibration; geographic values in arc-seconds.
  float GE_tpPiccel_1X = 10, GE_tpPiccel_1Y = 10;
  float GE_tpPiccel_2X = 100, GE_tpPiccel_2Y = 10;
  std::array<DmsRecord, 2> GE_dblKeIdo{};
  std::array<DmsRecord, 2> GE_dblIdo{};
  double GE_dblKeido0 = 0, GE_dblKeido1 = 0;
  double GE_dblIdo0 = 0, GE_dblIdo1 = 0;
  double GE_tpPtoK_r_X = 0, GE_tpPtoK_r_Y = 0;
  double GE_tpKtoP_r_X = 0, GE_tpKtoP_r_Y = 0;
  double GE_tpPx00ToKei_Ll = 0, GE_tpPx00ToKei_La = 0;
  double GE_tpKI00ToPx_X = 0, GE_tpKI00ToPx_Y = 0;

  std::string fMei_MapImage;
  // The folder the image was last opened from, so that
  // a project kept away from MAP_FD finds its drawing again.
  std::string fMei_MapFolder;
  // The page of a drawing file of several pages (a TIFF or a PDF), from 1.
  int fMei_MapPage = 1;

  // The takeoff items the measurements are grouped in; item n is
  // takeoffItems[n - 1]. Kept in a section of their own, not under a key.
  std::vector<TakeoffItem> takeoffItems;

  // Run-time state, not stored.
  bool booPickHosei = false;
  bool booPickDis = false;
  bool booPickTaiou = false;
  std::int16_t intOptionTab = 0;
  bool isNtPlatform = true;

  bool operator==(const ProjectState&) const = default;
};

}  // namespace planimo
