#pragma once

// The 14 distance and 14 area units: their captions and conversion
// coefficients, as read from Init.ini with the built-in values filling gaps.

#include <array>
#include <string>

namespace planimo {

constexpr int kUnitCount = 14;

struct UnitTables {
  std::array<std::string, kUnitCount> UnitDistance;  // caption + one blank
  std::array<std::string, kUnitCount> UnitArea;
  std::array<double, kUnitCount> GE_dblChgMMToO{};  // millimetres per distance unit
  std::array<double, kUnitCount> GE_dblChgOToMD{};  // metres per distance unit
  std::array<double, kUnitCount> GE_dblChgMToOD{};  // distance units per metre
  std::array<double, kUnitCount> GE_dblChgOToMS{};  // square metres per area unit
  std::array<double, kUnitCount> GE_dblChgMToOS{};  // area units per square metre
};

// Installation-wide settings of Init.ini.
struct AppSettings {
  std::string PRJ_FD;  // drawing (project) folder
  std::string MAP_FD;  // image folder
  UnitTables units;
};

}  // namespace planimo
